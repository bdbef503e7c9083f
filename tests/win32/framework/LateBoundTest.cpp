// Functions bound late from system libraries: found where the system has
// them, and a plain null (no crash, no box) where it does not.
#include "framework/LateBound.h"

#include <gtest/gtest.h>
// After windows.h, which it builds on.
#include <commdlg.h>

TEST(LateBound, BindsFromTheSystemFolderOrYieldsNull) {
  LateBound<decltype(::GetOpenFileNameA)> open("comdlg32.dll", "GetOpenFileNameA");
  ASSERT_NE(open.Get(), nullptr);
  HMODULE loaded = ::GetModuleHandleA("comdlg32.dll");
  ASSERT_NE(loaded, nullptr);
  using Generic = void (*)();
  EXPECT_EQ(reinterpret_cast<Generic>(open.Get()),
            reinterpret_cast<Generic>(::GetProcAddress(loaded, "GetOpenFileNameA")));

  LateBound<void()> noLibrary("no-such-library.dll", "Anything");
  LateBound<void()> noFunction("comdlg32.dll", "NoSuchFunction");
  EXPECT_EQ(noLibrary.Get(), nullptr);
  EXPECT_EQ(noFunction.Get(), nullptr);
}
