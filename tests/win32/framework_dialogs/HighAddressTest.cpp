// 64-bit only: framework objects that live above the 4 GiB line of the
// address space are found again from their windows. A pointer squeezed
// through 32 bits anywhere on the way (the window binding, the dialog's user
// data, the creation parameter) comes back cut and misses the object.
#include <gtest/gtest.h>

#include <cstdint>
#include <new>

#include "framework/Dialog.h"
#include "framework/Wnd.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

constexpr UINT kFormTemplate = 200;
constexpr UINT kWhoAreYou = WM_APP + 1;

// Committed memory for one object, as high in the address space as the
// system gives it; released by the destructor.
class HighBlock {
 public:
  explicit HighBlock(size_t size)
      : address_(::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN,
                                PAGE_READWRITE)) {}
  ~HighBlock() {
    if (address_) ::VirtualFree(address_, 0, MEM_RELEASE);
  }
  void* get() const { return address_; }
  bool AboveFourGiB() const { return reinterpret_cast<std::uintptr_t>(address_) >> 32 != 0; }

 private:
  void* address_;
};

// Answers with its own address, so a caller sees which object the
// framework's dispatch reached.
class Probe : public CWnd {
 public:
  LRESULT OnWhoAreYou(WPARAM, LPARAM) { return reinterpret_cast<LRESULT>(this); }
  DECLARE_MESSAGE_MAP()
};
const MessageEntry Probe::kMessageEntries[] = {{kWhoAreYou, 0, &afx::OnRawMsg<&Probe::OnWhoAreYou>},
                                               {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(Probe, CWnd)

class Form : public CDialog {
 public:
  Form() : CDialog(kFormTemplate) {}
};

TEST(HighAddress, AWindowObjectAboveFourGiBIsFoundFromItsHandle) {
  HighBlock block(sizeof(Probe));
  ASSERT_TRUE(block.AboveFourGiB()) << block.get();
  Probe* probe = new (block.get()) Probe;
  RECT rect = {0, 0, 40, 40};
  ASSERT_TRUE(
      probe->CreateEx(0, AfxRegisterWndClass(0), "probe", WS_POPUP, rect, nullptr, nullptr));
  HWND hwnd = probe->m_hWnd;
  EXPECT_EQ(CWnd::FromHandle(hwnd), probe);
  EXPECT_EQ(::SendMessageA(hwnd, kWhoAreYou, 0, 0), reinterpret_cast<LRESULT>(probe));
  probe->~Probe();  // destroys the window
  EXPECT_FALSE(::IsWindow(hwnd));
}

TEST(HighAddress, ADialogObjectAboveFourGiBRunsAndEnds) {
  HighBlock block(sizeof(Form));
  ASSERT_TRUE(block.AboveFourGiB()) << block.get();
  Form* form = new (block.get()) Form;
  CDialog* seen = nullptr;
  // The click travels through the dialog's user data back to the object,
  // whose OnCancel ends the loop.
  DialogScript script([&](CDialog* dialog, HWND dlg) {
    seen = dialog;
    Click(dlg, IDCANCEL);
  });
  EXPECT_EQ(form->DoModal(), IDCANCEL);
  EXPECT_EQ(seen, form);
  form->~Form();
}

}  // namespace
