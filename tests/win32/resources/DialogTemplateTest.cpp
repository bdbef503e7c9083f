// Dialog templates 130, 131 and 100: read back field by field from the
// resource, then created for real under code page 936 to see the texts arrive
// as GBK, the font and the tab order.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"

namespace {

constexpr WORD kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;

struct ItemSpec {
  int id;
  WORD windowClass;
  const wchar_t* text;  // null: an ordinal (the icon) or nothing
  short x, y, cx, cy;
  DWORD style;
};

struct DialogSpec {
  int id;
  const wchar_t* caption;
  const char* captionGbk;
  short cx, cy;
  std::vector<ItemSpec> items;
};

const DWORD kDialogStyle = DS_SETFONT | DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU;

const std::vector<DialogSpec>& Dialogs() {
  static const std::vector<DialogSpec> dialogs = {
      {IDD_PAGE_SETTINGS,
       L"设置",
       "设置",
       146,
       125,
       {{IDOK, kButton, L"确定", 7, 103, 52, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {IDCANCEL, kButton, L"取消", 87, 103, 52, 14, kChild | WS_TABSTOP | BS_PUSHBUTTON},
        {IDC_STATIC, kStatic, L"此页的名称：", 7, 7, 54, 8, kChild | WS_GROUP | SS_LEFT},
        {IDC_PAGE_NAME, kEdit, L"", 7, 19, 132, 14,
         kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
        {IDC_TOPMOST, kButton, L"总在前面显示", 7, 43, 75, 10,
         kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_FIXEDPOS, kButton, L"锁定窗口位置", 7, 59, 78, 10,
         kChild | WS_TABSTOP | BS_AUTOCHECKBOX},
        {IDC_RESET_PAGE, kButton, L"重新设置此页", 7, 79, 132, 14,
         kChild | WS_TABSTOP | BS_PUSHBUTTON}}},
      {IDD_COMMENT,
       L"评价",
       "评价",
       170,
       69,
       {{IDC_COMMENT, kEdit, L"", 7, 24, 156, 14,
         kChild | WS_BORDER | WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL},
        {IDOK, kButton, L"确定", 60, 48, 50, 14, kChild | WS_TABSTOP | BS_DEFPUSHBUTTON},
        {IDC_STATIC, kStatic, L"请输入评论：", 7, 7, 79, 8, kChild | WS_GROUP | SS_LEFT}}},
      {IDD_ABOUTBOX,
       L"关于",
       "关于",
       186,
       80,
       {{IDC_STATIC, kStatic, nullptr, 8, 12, 20, 20, kChild | SS_ICON},
        {IDC_STATIC, kStatic, L"*", 44, 12, 135, 43, kChild | WS_GROUP | SS_LEFT},
        {IDOK, kButton, L"确定", 68, 60, 50, 14,
         kChild | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON}}},
  };
  return dialogs;
}

// Reads a DLGTEMPLATEEX in place.
class TemplateReader {
 public:
  explicit TemplateReader(const BYTE* p) : p_(p) {}
  WORD Word() {
    WORD v = WORD(p_[0] | (p_[1] << 8));
    p_ += 2;
    return v;
  }
  DWORD Dword() {
    DWORD lo = Word();
    return lo | (DWORD(Word()) << 16);
  }
  short Short() { return short(Word()); }
  // A string, or an ordinal (returned as "#n"), or empty.
  std::wstring SzOrOrd() {
    WORD first = Word();
    if (first == 0xFFFF) return L"#" + std::to_wstring(Word());
    std::wstring s;
    for (WORD c = first; c != 0; c = Word()) s.push_back(wchar_t(c));
    return s;
  }
  void AlignDword(const BYTE* base) {
    while ((p_ - base) % 4) ++p_;
  }
  const BYTE* p_;
};

const BYTE* DialogResource(int id) {
  HRSRC found = FindResourceA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), RT_DIALOG);
  if (!found) return nullptr;
  return static_cast<const BYTE*>(LockResource(LoadResource(GetModuleHandleA(nullptr), found)));
}

class ResourcesDialog : public ::testing::TestWithParam<size_t> {
 protected:
  const DialogSpec& spec() const { return Dialogs()[GetParam()]; }
};

TEST_P(ResourcesDialog, FieldsAreAsDesigned) {
  const DialogSpec& d = spec();
  const BYTE* base = DialogResource(d.id);
  ASSERT_NE(base, nullptr) << d.id;
  TemplateReader r(base);
  ASSERT_EQ(r.Word(), 1);       // dlgVer
  ASSERT_EQ(r.Word(), 0xFFFF);  // extended template
  r.Dword();                    // help id
  EXPECT_EQ(r.Dword(), 0u) << "no extended style";
  EXPECT_EQ(r.Dword(), kDialogStyle);
  const WORD count = r.Word();
  ASSERT_EQ(count, d.items.size());
  EXPECT_EQ(r.Short(), 0);
  EXPECT_EQ(r.Short(), 0);
  EXPECT_EQ(r.Short(), d.cx);
  EXPECT_EQ(r.Short(), d.cy);
  EXPECT_EQ(r.SzOrOrd(), L"") << "no menu";
  EXPECT_EQ(r.SzOrOrd(), L"") << "the standard dialog class";
  EXPECT_EQ(r.SzOrOrd(), d.caption);
  EXPECT_EQ(r.Word(), 9) << "points";
  r.Word();  // weight
  r.Word();  // italic, charset
  EXPECT_EQ(r.SzOrOrd(), L"宋体");
  for (const ItemSpec& item : d.items) {
    r.AlignDword(base);
    SCOPED_TRACE(testing::Message() << "dialog " << d.id << " item " << item.id);
    r.Dword();  // help id
    EXPECT_EQ(r.Dword(), 0u);
    EXPECT_EQ(r.Dword(), item.style);
    EXPECT_EQ(r.Short(), item.x);
    EXPECT_EQ(r.Short(), item.y);
    EXPECT_EQ(r.Short(), item.cx);
    EXPECT_EQ(r.Short(), item.cy);
    EXPECT_EQ(int(LONG(r.Dword())), item.id);
    EXPECT_EQ(r.SzOrOrd(), L"#" + std::to_wstring(item.windowClass));
    const std::wstring text = r.SzOrOrd();
    if (!item.text) {
      EXPECT_EQ(text, L"#" + std::to_wstring(IDR_MAINFRAME)) << "the icon names resource 128";
    } else if (std::wstring(item.text) == L"*") {
      EXPECT_NE(text.find(L"dida"), std::wstring::npos) << "the About notice names the product";
    } else {
      EXPECT_EQ(text, item.text);
    }
    const WORD extra = r.Word();
    r.p_ += extra;
  }
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

std::string WindowTextA(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

// Created through the narrow API in code page 936: the caption and every
// control text come back as GBK, the font is 9-point 宋体, and Tab visits the
// controls in template order.
TEST_P(ResourcesDialog, CreatesWithGbkTextsFontAndTabOrder) {
  const DialogSpec& d = spec();
  ASSERT_EQ(GetACP(), 936u);
  HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(d.id), nullptr,
                                   QuietDialogProc, 0);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowTextA(dialog), d.captionGbk);

  HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
  ASSERT_NE(font, nullptr);
  LOGFONTA logFont;
  ASSERT_TRUE(GetObjectA(font, sizeof logFont, &logFont));
  EXPECT_STREQ(logFont.lfFaceName, "宋体");
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(logFont.lfHeight, -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72));
  ReleaseDC(nullptr, screen);

  std::vector<HWND> tabStops;
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const ItemSpec& item : d.items) {
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetDlgCtrlID(child), item.id);
    if (item.text && std::wstring(item.text) != L"*") {
      char expected[256];
      WideCharToMultiByte(936, 0, item.text, -1, expected, sizeof expected, nullptr, nullptr);
      EXPECT_EQ(WindowTextA(child), expected) << item.id;
    }
    if (!item.text) {
      EXPECT_NE(SendMessageA(child, STM_GETICON, 0, 0), 0) << "the About box shows icon 128";
    }
    if (item.style & WS_TABSTOP) tabStops.push_back(child);
    child = GetWindow(child, GW_HWNDNEXT);
  }
  EXPECT_EQ(child, nullptr) << "no controls beyond the template's";
  for (size_t i = 0; i < tabStops.size(); ++i) {
    EXPECT_EQ(GetNextDlgTabItem(dialog, tabStops[i], FALSE), tabStops[(i + 1) % tabStops.size()])
        << "after tab stop " << i;
  }
  DestroyWindow(dialog);
}

INSTANTIATE_TEST_SUITE_P(Templates, ResourcesDialog, ::testing::Values(0, 1, 2),
                         [](const auto& info) { return std::to_string(Dialogs()[info.param].id); });

}  // namespace
