#pragma once
// Path text rules of the settings file and the launch slots. Pure: they work
// on 8-bit text in the user's code page and touch no file.

#include <cstddef>

// Derives the settings file's path from the executable's path: the last "."
// found scanning from the last character down to the second one, and all that
// follows it, becomes ".ini"; without such a "." the path is ".ini" alone.
// The scan does not stop at a directory separator. Writes at most size bytes
// (terminator included); returns false, leaving ".ini" in out, when the
// derived path would not fit, and false with out empty when size < 5.
bool DeriveSettingsPath(const char* modulePath, char* out, std::size_t size);

// Tells whether a byte opens a two-byte character of the code page in force.
using LeadBytePredicate = bool (*)(unsigned char byte);

// The lead bytes of GBK (code page 936): 0x81 to 0xFE.
bool IsGbkLeadByte(unsigned char byte);

// Where the file name without directory and extension sits in path: what the
// C runtime's path split calls the name, found without any fixed buffer. A
// drive ("C:") and every directory up to the last "\" or "/" are skipped, and
// the name stops at the last "." after them. The second byte of a two-byte
// character is never taken for a separator or a ".", so isLeadByte names the
// code page's lead bytes (null: single-byte text).
struct TextSpan {
  std::size_t begin;
  std::size_t length;
};
TextSpan FileTitleSpan(const char* path, LeadBytePredicate isLeadByte);
