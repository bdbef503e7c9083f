#pragma once
// The settings file's text read and changed on its bytes, as the platform's
// profile functions read and change it under code page 936, but without any
// code page: GBK text is kept byte for byte whatever the system's code page
// is. Pure: the caller reads and writes the file.
//
// The text is lines ended by any run of CR and LF. Each line is trimmed of
// white space (tab to CR, ^Z, space); empty lines are skipped. "[name]"
// (up to the line's last "]", the name trimmed) opens a section; keys before
// the first one belong to a section without a name. Any other line is a key:
// "name = value" (both trimmed at the "="), or a name without a value. A key
// without a name directly after another one is dropped. Section and key
// names match without regard to the case of ASCII letters, the first match
// winning. A change rewrites the whole text: "[name]" and "name=value" lines
// ended by CR LF, without empty lines; a write that changes nothing leaves
// the text as it is.
#include <cstddef>
#include <string>

namespace profile {

// Reads key of section into buffer (size bytes, terminator included), or
// defaultValue (without its trailing spaces) when the key is missing or has
// no value. Quotes around the text (" or ') are dropped. A text longer than
// size - 1 characters is cut, and then to whole characters within size - 1
// bytes. Returns the bytes placed.
std::size_t GetString(const std::string& text, const char* section, const char* key,
                      const char* defaultValue, char* buffer, std::size_t size);

// Reads key as an integer (the first 29 characters; leading blanks, a sign, a
// "0x", "0o" or "0b" base, digits up to the first that is not one, wrapping
// modulo 2^32), or defaultValue when the key is missing or empty.
int GetInt(const std::string& text, const char* section, const char* key, int defaultValue);

// Sets key of section to value (without its leading white space), adding
// the key to the end of the section, or the section to the end of the text;
// a null value removes the key. Returns whether the text changed.
bool SetString(std::string* text, const char* section, const char* key, const char* value);

}  // namespace profile
