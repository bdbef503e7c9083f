#pragma once
// Every 8-bit string of the program is GBK (code page 936), whatever the
// system's own ANSI code page is: text crosses to and from the system here,
// converted explicitly between GBK and UTF-16, and the framework calls the
// wide functions with it. The system's code page is never asked.
#include <windows.h>

#include <cstddef>
#include <string>

namespace gbk {

const UINT kCodePage = 936;

// GBK -> UTF-16; null gives an empty text. The counted form keeps zeros
// inside the text (a file dialog's filter).
std::wstring Widen(const char* text);
std::wstring Widen(const char* text, std::size_t length);

// UTF-16 -> GBK. False when a character has no GBK form: no '?' ever stands
// in for it.
bool Narrow(const wchar_t* text, std::string* out);

// UTF-16 -> GBK into buffer (size bytes, terminator included). False, and
// buffer "", when a character has no GBK form or the text does not fit.
bool NarrowInto(const wchar_t* text, char* buffer, std::size_t size);

// The running program's path in GBK, as GetModuleFileName gives it: the
// length, size when it was cut to fit, 0 when it cannot be had (also when the
// path has no GBK form).
DWORD ModulePath(char* buffer, DWORD size);

// Tells the user why a file was not taken: its name has a character that
// GBK cannot hold.
extern const char kNameWithoutGbkText[];

// CreateFile for a GBK path.
HANDLE OpenFile(const char* path, DWORD access, DWORD share, DWORD disposition, DWORD flags);

}  // namespace gbk
