#pragma once
// Files, handles and module paths for the settings and launch page tests.
#include <windows.h>

#include <string>

#include "tests/win32/support/Handles.h"

// A path in the temporary folder named after name; any file there is deleted.
std::string FreshTempPath(const std::string& name);

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// This test program, which carries a known icon.
std::string ModulePath();

// Lines of profile text, without their line ends.
int CountLinesStartingWith(const std::string& text, const std::string& prefix);
