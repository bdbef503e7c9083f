#pragma once
// The settings file read and written through app/core/ProfileText.h on its
// bytes: the same answers and the same text as the platform's profile
// functions under code page 936, on every system code page. The file is
// read whole for each call, and a change rewrites it whole, as those
// functions do; the path is GBK.
#include <windows.h>

// GetPrivateProfileString's counterpart (the bytes placed).
DWORD ProfileGetString(const char* section, const char* key, const char* defaultValue, char* buffer,
                       DWORD size, const char* path);

// GetPrivateProfileInt's counterpart.
UINT ProfileGetInt(const char* section, const char* key, int defaultValue, const char* path);

// WritePrivateProfileString's counterpart for one key (a null value removes
// it): FALSE when the file cannot be read or written.
BOOL ProfileWriteString(const char* section, const char* key, const char* value, const char* path);

// Puts the bytes of file `from` into file `to` in place: `to` stays the same
// file, so another program holding it open keeps it. FALSE when either fails.
BOOL ProfileCopyText(const char* from, const char* to);
