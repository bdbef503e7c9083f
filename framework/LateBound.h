#pragma once
// A function of a system library that start-up does not need (the file
// dialog, the click sound), bound when it is first wanted: only then is its
// library loaded, from the system folder, and it stays loaded for the rest of
// the process. Loading such libraries up front costs the start-up a quarter
// of its time. A library or function that cannot be had leaves Get() null:
// the one action that needs it fails, not the program.
#include <windows.h>

// The named function of the named system DLL, or null.
FARPROC LoadSystemFunction(const char* library, const char* name);

// From now on, every DLL the process loads by name, and every dependency of
// one, comes from the system folder only, where the system can be told so.
void SearchSystemFolderForDlls();

template <class Function>
class LateBound {
 public:
  constexpr LateBound(const char* library, const char* name) : library_(library), name_(name) {}

  // Binds on the first call (loading the library) and remembers the answer.
  Function* Get() {
    if (!tried_) {
      tried_ = true;
      // Through the generic function pointer type, which every compiler
      // accepts as a cast between function types.
      function_ = reinterpret_cast<Function*>(
          reinterpret_cast<void (*)()>(LoadSystemFunction(library_, name_)));
    }
    return function_;
  }
  // The function if an earlier Get() bound it; never loads anything.
  Function* IfBound() const { return function_; }

 private:
  const char* library_;
  const char* name_;
  bool tried_ = false;
  Function* function_ = nullptr;
};
