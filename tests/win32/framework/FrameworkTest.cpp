// The framework under Wine: message maps, command routing, closing, and the
// message box seam.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

struct ShownBox {
  HWND owner;
  std::string text;
  std::string caption;
  UINT type;
};
std::vector<ShownBox> g_boxes;

int RecordBox(HWND owner, const char* text, const char* caption, UINT type) {
  g_boxes.push_back({owner, text, caption, type});
  return IDOK;
}

constexpr UINT kTestCommand = 40001;

class TestApp : public CWinApp {
 public:
  TestApp() : CWinApp("dida") {}
  int aboutCount = 0;
  void OnAbout() { ++aboutCount; }
  DECLARE_MESSAGE_MAP()
};
const MessageEntry TestApp::kMessageEntries[] = {
    {WM_COMMAND, ID_APP_ABOUT, &afx::OnMsg<&TestApp::OnAbout>}, {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(TestApp, CWinApp)

struct Log {
  std::vector<std::string> events;
};

class TestFrame : public CFrameWnd {
 public:
  explicit TestFrame(Log* log) : log_(log) {}
  ~TestFrame() override { log_->events.push_back("deleted"); }

  void OnLButtonDown(UINT flags, CPoint pt) {
    log_->events.push_back("down " + std::to_string(pt.x) + "," + std::to_string(pt.y));
  }
  void OnTest() { log_->events.push_back("command"); }
  void OnCloseFrame() {
    log_->events.push_back("close");
    CFrameWnd::OnClose();
  }

 private:
  Log* log_;
  DECLARE_MESSAGE_MAP()
};
const MessageEntry TestFrame::kMessageEntries[] = {
    {WM_LBUTTONDOWN, 0, &afx::OnMouse<&TestFrame::OnLButtonDown>},
    {WM_COMMAND, kTestCommand, &afx::OnMsg<&TestFrame::OnTest>},
    {WM_CLOSE, 0, &afx::OnMsg<&TestFrame::OnCloseFrame>},
    {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(TestFrame, CFrameWnd)

bool QuitPosted() {
  MSG msg;
  while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) return true;
    ::DispatchMessageA(&msg);
  }
  return false;
}

class FrameworkTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_boxes.clear();
    SetMessageBoxHook(&RecordBox);
  }
  void TearDown() override { SetMessageBoxHook(nullptr); }

  // The test owns the frame; declared after its Log, it goes first.
  std::unique_ptr<TestFrame> MakeMainFrame(Log* log) {
    auto frame = std::make_unique<TestFrame>(log);
    EXPECT_TRUE(frame->Create(nullptr, "dida", WS_POPUP, CRect(10, 20, 112, 152)));
    app_.m_pMainWnd = frame.get();
    return frame;
  }

  TestApp app_;
};

TEST_F(FrameworkTest, MessageMapDispatchesTypedHandlersWithSignedPoints) {
  Log log;
  auto frame = MakeMainFrame(&log);
  HWND hWnd = frame->m_hWnd;
  // A point left of and above the client origin arrives negative.
  ::SendMessageA(hWnd, WM_LBUTTONDOWN, 0, MAKELPARAM(-3, -7));
  ::SendMessageA(hWnd, WM_COMMAND, kTestCommand, 0);
  EXPECT_EQ(log.events, (std::vector<std::string>{"down -3,-7", "command"}));
  ::DestroyWindow(hWnd);
}

TEST_F(FrameworkTest, FrameGetsClientEdgeUnlessPreCreateWindowRemovesIt) {
  Log log;
  auto frame = MakeMainFrame(&log);
  LONG_PTR ex = ::GetWindowLongPtrA(frame->m_hWnd, GWL_EXSTYLE);
  EXPECT_TRUE(ex & WS_EX_CLIENTEDGE);
  ::DestroyWindow(frame->m_hWnd);
}

TEST_F(FrameworkTest, AppExitClosesMainWindowAndEndsLoopButLeavesTheFrameToItsOwner) {
  Log log;
  auto frame = MakeMainFrame(&log);
  HWND hWnd = frame->m_hWnd;
  // ID_APP_EXIT is not in the frame's map: routing hands it to the app.
  ::SendMessageA(hWnd, WM_COMMAND, ID_APP_EXIT, 0);
  EXPECT_FALSE(::IsWindow(hWnd));
  EXPECT_EQ(frame->m_hWnd, nullptr);
  EXPECT_EQ(log.events, (std::vector<std::string>{"close"}));
  EXPECT_EQ(app_.m_pMainWnd, nullptr);
  EXPECT_TRUE(QuitPosted());
}

TEST_F(FrameworkTest, CommandsTheFrameLacksReachTheApplication) {
  Log log;
  auto frame = MakeMainFrame(&log);
  ::SendMessageA(frame->m_hWnd, WM_COMMAND, ID_APP_ABOUT, 0);
  EXPECT_EQ(app_.aboutCount, 1);
  ::DestroyWindow(frame->m_hWnd);
  QuitPosted();
}

TEST_F(FrameworkTest, QueryEndSessionAgreesByDefault) {
  Log log;
  auto frame = MakeMainFrame(&log);
  EXPECT_EQ(::SendMessageA(frame->m_hWnd, WM_QUERYENDSESSION, 0, 0), TRUE);
  ::DestroyWindow(frame->m_hWnd);
  QuitPosted();
}

struct BoxCase {
  UINT type;
  UINT expected;
};

class AfxMessageBoxIcon : public FrameworkTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(AfxMessageBoxIcon, AddsExclamationOnlyToOkBoxesWithoutIcon) {
  AfxMessageBox("正文", GetParam().type);
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].type, GetParam().expected);
  EXPECT_EQ(g_boxes[0].caption, "dida");
  EXPECT_EQ(g_boxes[0].text, "\xD5\xFD\xCE\xC4");  // "正文" in GBK
}

INSTANTIATE_TEST_SUITE_P(Types, AfxMessageBoxIcon,
                         ::testing::Values(BoxCase{MB_OK, MB_OK | MB_ICONEXCLAMATION},
                                           BoxCase{MB_OKCANCEL, MB_OKCANCEL | MB_ICONEXCLAMATION},
                                           BoxCase{MB_YESNO, MB_YESNO},
                                           BoxCase{MB_OK | MB_ICONERROR, MB_OK | MB_ICONERROR},
                                           BoxCase{MB_OKCANCEL | MB_ICONQUESTION,
                                                   MB_OKCANCEL | MB_ICONQUESTION}));

TEST_F(FrameworkTest, MessageBoxOwnerIsTheMainWindow) {
  Log log;
  auto frame = MakeMainFrame(&log);
  AfxMessageBox("x");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].owner, frame->m_hWnd);
  ::DestroyWindow(frame->m_hWnd);
  QuitPosted();
}

TEST(AfxRegisterWndClass, SameAttributesGiveOneRegisteredClass) {
  const char* a = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  const char* b = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
  const char* c = AfxRegisterWndClass(CS_DBLCLKS);
  ASSERT_NE(a, nullptr);
  EXPECT_STREQ(a, b);
  EXPECT_STRNE(a, c);
  // A wide class: asked through the ANSI function, the system would hand out
  // a converting stand-in for the procedure.
  WNDCLASSW wc;
  std::wstring name(a, a + std::strlen(a));
  ASSERT_TRUE(::GetClassInfoW(::GetModuleHandleA(nullptr), name.c_str(), &wc));
  EXPECT_EQ(wc.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_EQ(wc.lpfnWndProc, &AfxWndProc);
}

}  // namespace
