// CMainFrame: creation, the three layouts, composition, painting and
// destruction. Pointer and timer handling live in MainFramePointer.cpp.
#include "launcher/MainFrame.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <mmsystem.h>

#include <cstdlib>

#include "app/LaunchPage.h"
#include "app/LauncherApp.h"
#include "archive/ResourceArchive.h"
#include "framework/LateBound.h"
#include "framework/PaintDC.h"
#include "imaging/DrawSurface.h"
#include "imaging/MaskRegion.h"
#include "launcher/LaunchRules.h"
#include "launcher/LauncherGeometry.h"
#include "launcher/WindowArtwork.h"
#include "resources/resource.h"

namespace {

// WM_DPICHANGED, which older headers lack.
constexpr UINT kDpiChangedMessage = 0x02E0;

// The sound library is loaded at the first click, not at start-up.
LateBound<decltype(::sndPlaySoundA)> g_sndPlaySound("winmm.dll", "sndPlaySoundA");

// An area's outline: its mask's region, or the area's whole rectangle when
// the mask could not be loaded (the window stays usable, just square).
void CopyOutline(HRGN shape, const MaskRegion* mask, int width, int height) {
  LentGdi<HRGN> lent = mask ? mask->GetRegion() : LentGdi<HRGN>();
  if (lent) {
    ::CombineRgn(shape, lent, nullptr, RGN_COPY);
  } else {
    ::SetRectRgn(shape, 0, 0, width, height);
  }
}

void UniteOutline(HRGN shape, const MaskRegion* mask, int width, int height) {
  LentGdi<HRGN> lent = mask ? mask->GetRegion() : LentGdi<HRGN>();
  if (lent) {
    ::CombineRgn(shape, shape, lent, RGN_OR);
    return;
  }
  GdiObject<HRGN> box(::CreateRectRgn(0, 0, width, height));
  if (box) ::CombineRgn(shape, shape, box.Lend(), RGN_OR);
}

}  // namespace

const MessageEntry CMainFrame::kMessageEntries[] = {
    {WM_CREATE, 0, &afx::OnCreateMsg<&CMainFrame::OnCreate>},
    {WM_PAINT, 0, &afx::OnMsg<&CMainFrame::OnPaint>},
    {WM_ERASEBKGND, 0, &afx::OnHdcMsg<&CMainFrame::OnEraseBkgnd>},
    {WM_LBUTTONDOWN, 0, &afx::OnMouse<&CMainFrame::OnLButtonDown>},
    {WM_LBUTTONUP, 0, &afx::OnMouse<&CMainFrame::OnLButtonUp>},
    {WM_MOUSEMOVE, 0, &afx::OnMouse<&CMainFrame::OnMouseMove>},
    {WM_TIMER, 0, &afx::OnTimerMsg<&CMainFrame::OnTimer>},
    {WM_RBUTTONDOWN, 0, &afx::OnMouse<&CMainFrame::OnRButtonDown>},
    {WM_COMMAND, ID_PAGE_SETTINGS, &afx::OnMsg<&CMainFrame::OnPageSettings>},
    {WM_DROPFILES, 0, &afx::OnDropMsg<&CMainFrame::OnDropFiles>},
    {WM_COMMAND, ID_SLOT_ADD, &afx::OnMsg<&CMainFrame::OnSlotAdd>},
    {WM_COMMAND, ID_SLOT_EDIT, &afx::OnMsg<&CMainFrame::OnSlotEdit>},
    {WM_COMMAND, ID_SLOT_DELETE, &afx::OnMsg<&CMainFrame::OnSlotDelete>},
    {WM_CLOSE, 0, &afx::OnMsg<&CMainFrame::OnClose>},
    {WM_QUERYENDSESSION, 0, &afx::OnBoolMsg<&CMainFrame::OnQueryEndSession>},
    {WM_ENDSESSION, 0, &afx::OnFlagMsg<&CMainFrame::OnEndSession>},
    {WM_DISPLAYCHANGE, 0, &afx::OnMsg<&CMainFrame::OnDisplayChange>},
    {WM_SETTINGCHANGE, 0, &afx::OnWParamMsg<&CMainFrame::OnSettingChange>},
    {kDpiChangedMessage, 0, &afx::OnWParamMsg<&CMainFrame::OnDpiChanged>},
    {0, 0, nullptr}};
DEFINE_MESSAGE_MAP(CMainFrame, CFrameWnd)

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
  if (clickSound) {
    // An asynchronous click may still be reading these bytes.
    if (auto* play = g_sndPlaySound.IfBound()) play(nullptr, 0);
    std::free(clickSound);
  }
}

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
  BOOL result = CFrameWnd::PreCreateWindow(cs);
  cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
  return result;
}

int CMainFrame::OnCreate(LPCREATESTRUCTW cs) { return CFrameWnd::OnCreate(cs) == -1 ? -1 : 0; }

BOOL CMainFrame::CreateLauncher() {
  HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
  const char* windowClass =
      AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW),
                          reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), icon);
  if (!Create(windowClass, "dida", WS_POPUP | WS_SYSMENU, rectDefault, nullptr, nullptr, 0)) {
    return FALSE;
  }
  contextMenu.CreatePopupMenu();

  backBuffer = std::make_unique<DrawSurface>();
  backBuffer->Create(metrics.characterWidth, metrics.windowHeight);
  UseScale({kBasePercent, kBasePercent, 1});
  SetLayout(kLayoutCompact);

  int length = 0;
  clickSound = g_archive.LoadEntry("click.wav", &length);
  if (clickSound && (length < 0 || !IsPlayableWave(clickSound, static_cast<size_t>(length)))) {
    std::free(clickSound);
    clickSound = nullptr;
  }
  return TRUE;
}

bool CMainFrame::ScaleTo(int dpi) {
  ArtScale scale = ArtScaleForDpi(dpi);
  if (scale.percent == metrics.percent) return false;
  UseScale(scale);
  return true;
}

void CMainFrame::UseScale(const ArtScale& wanted) {
  ArtScale scale = wanted;
  if (scale.shipped != kBasePercent && !extraArchive) {
    extraArchive = std::make_unique<ResourceArchive>();
    extraArchive->OpenResources(IDR_EXTRA_ARCHIVE_INDEX, IDR_EXTRA_ARCHIVE_DATA);
  }
  LauncherMetrics m = MetricsFor(scale);
  WindowArtwork art = LoadWindowArtwork(scale, m, extraArchive.get());
  if (!art.Complete() && scale.shipped != kBasePercent) {
    // The program's own pictures, enlarged to the nearest whole factor:
    // coarser, but never stretched.
    int factor = (scale.percent + kBasePercent / 2) / kBasePercent;
    scale = {kBasePercent * factor, kBasePercent, factor};
    m = MetricsFor(scale);
    art = LoadWindowArtwork(scale, m, nullptr);
  }
  metrics = m;
  characterPicture = std::move(art.character);
  buttonsPicture = std::move(art.buttons);
  panelPicture = std::move(art.panel);
  characterMask = std::move(art.characterOutline);
  panelMask = std::move(art.panelOutline);

  // The captions are GBK text: the font must come from the GB2312 character
  // set, or GDI picks a face without their glyphs. The face's name is given
  // wide, so no system code page reads it.
  font.Reset(::CreateFontW(-m.fontHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                           0, 0, 0, 0, L"宋体"));
  TheApp()->SetIconSize(m.iconSize);
  // Laid out again at the new lengths, where a layout was applied already.
  Layout applied = layout;
  layout = kLayoutNone;
  if (applied != kLayoutNone) SetLayout(applied);
}

void CMainFrame::SetLayout(Layout newLayout) {
  if (newLayout == layout) return;
  const LauncherMetrics& m = metrics;
  LayoutGeometry g = GeometryOf(m, newLayout);
  backBuffer->Create(g.width, g.height);

  GdiObject<HRGN> shape(::CreateRectRgn(0, 0, 1, 1));
  if (shape) {
    switch (newLayout) {
      case kLayoutPanelLeft:
        CopyOutline(shape.Lend(), characterMask.get(), m.characterWidth, m.windowHeight);
        ::OffsetRgn(shape.Lend(), m.panelWidth, 0);
        UniteOutline(shape.Lend(), panelMask.get(), m.panelWidth, m.windowHeight);
        break;
      case kLayoutPanelRight:
        CopyOutline(shape.Lend(), panelMask.get(), m.panelWidth, m.windowHeight);
        ::OffsetRgn(shape.Lend(), m.characterWidth, 0);
        UniteOutline(shape.Lend(), characterMask.get(), m.characterWidth, m.windowHeight);
        break;
      default:
        CopyOutline(shape.Lend(), characterMask.get(), m.characterWidth, m.windowHeight);
        break;
    }
    // The system owns the region once it accepts it; until then it is ours.
    if (::SetWindowRgn(m_hWnd, shape.Lend(), TRUE)) shape.Release();
  }
  MoveForLayout(newLayout);
  layout = newLayout;
}

void CMainFrame::MoveForLayout(Layout newLayout) {
  LayoutGeometry g = GeometryOf(metrics, newLayout);
  MoveWindow(charLeft + g.leftOfCharacter, charTop, g.width, g.height, TRUE);
}

int CMainFrame::Page() const {
  int page = TheApp()->m_nChar;
  return (page >= 0 && page < kPageCount) ? page : 0;
}

// Copies a rectangle of a picture into the back buffer, unless either is
// missing its bitmap.
static void CopyArt(DrawSurface& backBuffer, const DrawSurface* picture, const BlitRect& r) {
  if (!backBuffer.bitmap || !picture || !picture->bitmap) return;
  backBuffer.Blit(*picture, r.dx, r.dy, r.w, r.h, r.sx, r.sy);
}

void CMainFrame::DrawCharacter(int characterX) {
  CopyArt(*backBuffer, characterPicture.get(), CharacterFrameBlit(metrics, Page(), characterX));
  BlitRect band;
  if (BlinkBlit(metrics, Page(), blink.frame, characterX, &band))
    CopyArt(*backBuffer, characterPicture.get(), band);
}

void CMainFrame::DrawCompact() {
  compact = true;
  SetLayout(kLayoutCompact);
  DrawCharacter(0);
  DrawControls(true);
}

void CMainFrame::DrawExpanded() {
  compact = false;
  SetLayout(panelSide);
  int panelX = PanelXFor(metrics, panelSide);
  DrawCharacter(CharacterXFor(metrics, panelSide));
  CopyArt(*backBuffer, panelPicture.get(), PanelBlit(metrics, panelX));
  CLauncherApp* app = TheApp();
  if (backBuffer->bitmap && app->m_pPages) {
    app->DrawPageIcons(backBuffer.get(), metrics, panelX, Page());
    ::GdiFlush();  // the icons are in the pixels before the next copy
  }
  DrawControls(false);
}

void CMainFrame::RedrawAll() {
  if (compact) {
    DrawCompact();
  } else {
    DrawExpanded();
  }
}

void CMainFrame::DrawControls(bool compactFlag) {
  int characterX = compactFlag ? 0 : CharacterXFor(metrics, panelSide);
  for (int button = kHotPreviousPage; button <= kHotNextPage; ++button) {
    int row = ButtonSourceRow(metrics, button, hotItem, hotState);
    CopyArt(*backBuffer, buttonsPicture.get(), ButtonBlit(metrics, button, row, characterX));
  }
  if (compactFlag) return;

  CLauncherApp* app = TheApp();
  const char* caption = nullptr;
  if (app->m_pPages) {
    const LaunchPage& page = app->m_pPages[Page()];
    const char* comment =
        hotItem >= kHotFirstSlot ? page.GetComment(hotItem - kHotFirstSlot) : nullptr;
    caption = ChooseCaption(hotItem, comment, page.GetName());
  }
  int panelX = PanelXFor(metrics, panelSide);
  CopyArt(*backBuffer, panelPicture.get(), CaptionBackgroundBlit(metrics, panelX));
  if (!caption || !backBuffer->bitmap) return;

  BoxRect box = CaptionBox(metrics, panelX);
  RECT rect = {box.left, box.top, box.right, box.bottom};
  HDC hdc = backBuffer->LockDC();
  if (!hdc) return;
  HGDIOBJ oldFont = font ? ::SelectObject(hdc, font.Lend()) : nullptr;
  ::SetBkMode(hdc, TRANSPARENT);
  ::SetTextColor(hdc, RGB(0, 0, 0));
  // Wrapped and cut inside the box; "&" is text, not a mnemonic.
  ::DrawTextA(hdc, caption, -1, &rect,
              DT_WORDBREAK | DT_EXTERNALLEADING | DT_NOPREFIX | DT_EDITCONTROL | DT_END_ELLIPSIS);
  if (oldFont) ::SelectObject(hdc, oldFont);
  backBuffer->UnlockDC(hdc);
  ::GdiFlush();
}

void CMainFrame::OnPaint() {
  CPaintDC dc(m_hWnd);
  if (backBuffer && backBuffer->bitmap) backBuffer->Present(dc.GetSafeHdc(), 0, 0);
}

BOOL CMainFrame::OnEraseBkgnd(HDC) { return TRUE; }

void CMainFrame::OnClose() {
  CLauncherApp* app = TheApp();
  // Start-up is still making this window (a close from inside one of its
  // boxes): it closes once start-up is done, not under its feet.
  if (!app->IsStartedUp()) {
    app->DeferClose();
    return;
  }
  HandBackPosition();
  CFrameWnd::OnClose();
}

void CMainFrame::HandBackPosition() {
  TheApp()->m_nPosX = charLeft;
  TheApp()->m_nPosY = charTop;
}

void CMainFrame::Show() {
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  ::UpdateWindow(m_hWnd);
}

void CMainFrame::PlayClick() const {
  auto* play = clickSound ? g_sndPlaySound.Get() : nullptr;
  if (play) play(reinterpret_cast<const char*>(clickSound), SND_ASYNC | SND_NODEFAULT | SND_MEMORY);
}
