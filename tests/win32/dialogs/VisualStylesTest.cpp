// The themed common controls: not resolved when the program starts (that
// would delay every start), but for each thread that shows a dialog.
#include <windows.h>

#include <gtest/gtest.h>

#include "framework/VisualStyles.h"

namespace {

bool ComctlRedirected() {
  ACTCTX_SECTION_KEYED_DATA data = {};
  data.cbSize = sizeof data;
  return ::FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    L"comctl32.dll", &data) != FALSE;
}

struct Seen {
  bool atStart = true;
  bool activated = false;
  bool again = false;
};

DWORD WINAPI Look(void* parameter) {
  auto* seen = static_cast<Seen*>(parameter);
  seen->atStart = ComctlRedirected();
  ActivateVisualStyles();
  seen->activated = ComctlRedirected();
  ActivateVisualStyles();
  seen->again = ComctlRedirected();
  return 0;
}

// A thread of its own: its activation stack starts from the process's
// context whatever the other tests of this program activated.
TEST(VisualStyles, ComeWithActivationNotWithTheProgram) {
  Seen seen;
  HANDLE thread = ::CreateThread(nullptr, 0, &Look, &seen, 0, nullptr);
  ASSERT_NE(thread, nullptr);
  ASSERT_EQ(::WaitForSingleObject(thread, 60000), WAIT_OBJECT_0);
  ::CloseHandle(thread);
  EXPECT_FALSE(seen.atStart);
  EXPECT_TRUE(seen.activated);
  EXPECT_TRUE(seen.again);
}

}  // namespace
