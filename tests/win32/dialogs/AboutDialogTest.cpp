// The About box with the program's own template (100): caption, icon and
// notice, closed by its button.
#include <gtest/gtest.h>

#include <string>

#include "dialogs/AboutDlg.h"
#include "tests/win32/framework_dialogs/DialogTestSupport.h"

namespace {

TEST(AboutDialog, ShowsCaptionIconAndNoticeAndClosesWithOk) {
  BoxRecorder boxes;
  CAboutDlg dialog;
  std::string caption, notice;
  HICON icon = nullptr;
  DialogScript script([&](CDialog*, HWND dlg) {
    caption = ControlText(dlg);
    // The statics carry no id: walk the children in template order.
    HWND iconStatic = ::GetWindow(dlg, GW_CHILD);
    icon = reinterpret_cast<HICON>(::SendMessageA(iconStatic, STM_GETICON, 0, 0));
    notice = ControlText(::GetWindow(iconStatic, GW_HWNDNEXT));
    WhenShown(dlg, [dlg] { PostClose(dlg, dlg, Close::kEnterKey); });
  });
  EXPECT_EQ(dialog.DoModal(), IDOK);
  CancelLater();
  EXPECT_EQ(caption, "\xB9\xD8\xD3\xDA");  // "关于"
  EXPECT_NE(icon, nullptr);
  EXPECT_GT(notice.size(), 20u);
  EXPECT_TRUE(boxes.boxes.empty());
}

}  // namespace
