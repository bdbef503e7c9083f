// The launcher window's layouts: size, position and shape of the window in
// each, which side the panel opens to, and that re-applying a layout is free.
#include "tests/win32/launcher/LauncherTestSupport.h"

#include <memory>

#include "imaging/MaskRegion.h"

namespace {

// The expected outline: the character mask at characterX united with the
// panel mask at panelX (none when negative).
HRGN ExpectedShape(int characterX, int panelX) {
  static MaskRegion* character = [] {
    auto* m = new MaskRegion;
    m->Load("mask1.bmp");
    return m;
  }();
  static MaskRegion* panel = [] {
    auto* m = new MaskRegion;
    m->Load("mask2.bmp");
    return m;
  }();
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  HRGN part = ::CreateRectRgn(0, 0, 0, 0);
  ::CombineRgn(part, character->GetRegion(), nullptr, RGN_COPY);
  ::OffsetRgn(part, characterX, 0);
  ::CombineRgn(shape, part, nullptr, RGN_COPY);
  if (panelX >= 0) {
    ::CombineRgn(part, panel->GetRegion(), nullptr, RGN_COPY);
    ::OffsetRgn(part, panelX, 0);
    ::CombineRgn(shape, shape, part, RGN_OR);
  }
  ::DeleteObject(part);
  return shape;
}

void ExpectShape(HWND hwnd, int characterX, int panelX) {
  HRGN actual = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(hwnd, actual), ERROR) << "the window has no region";
  HRGN expected = ExpectedShape(characterX, panelX);
  EXPECT_TRUE(::EqualRgn(actual, expected));
  // The shipped outlines round the top corners off.
  EXPECT_FALSE(::PtInRegion(actual, characterX, 0));
  EXPECT_TRUE(::PtInRegion(actual, characterX + 51, 60));
  ::DeleteObject(expected);
  ::DeleteObject(actual);
}

void ExpectRect(const RECT& r, int left, int top, int width, int height) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right - r.left, width);
  EXPECT_EQ(r.bottom - r.top, height);
}

using LayoutTest = LauncherWindowTest;

TEST_F(LayoutTest, CreationAppliesTheCompactLayoutAtTheOrigin) {
  // A second window, fresh from CreateLauncher, before start-up moves it.
  auto other = std::make_unique<CMainFrame>();
  ASSERT_TRUE(other->CreateLauncher());
  RECT r;
  ::GetWindowRect(other->m_hWnd, &r);
  ExpectRect(r, 0, 0, 102, 132);
  EXPECT_EQ(LauncherWindowProbe::Layout(*other), 0);
  EXPECT_FALSE(::IsWindowVisible(other->m_hWnd));
  EXPECT_EQ(::GetWindowLongA(other->m_hWnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
  ExpectShape(other->m_hWnd, 0, -1);
  ::DestroyWindow(other->m_hWnd);
}

TEST_F(LayoutTest, EachLayoutKeepsTheCharacterWhereItIs) {
  PlaceCompact(400, 30);
  ExpectRect(WindowRect(), 400, 30, 102, 132);
  ExpectShape(hwnd_, 0, -1);

  LauncherWindowProbe::SetPanelSide(*frame_, 1);
  frame_->DrawExpanded();
  EXPECT_EQ(LauncherWindowProbe::Layout(*frame_), 1);
  ExpectRect(WindowRect(), 400 - 174, 30, 276, 132);
  ExpectShape(hwnd_, 174, 0);

  LauncherWindowProbe::SetPanelSide(*frame_, 2);
  frame_->DrawExpanded();
  EXPECT_EQ(LauncherWindowProbe::Layout(*frame_), 2);
  ExpectRect(WindowRect(), 400, 30, 276, 132);
  ExpectShape(hwnd_, 0, 102);

  frame_->DrawCompact();
  EXPECT_EQ(LauncherWindowProbe::Layout(*frame_), 0);
  ExpectRect(WindowRect(), 400, 30, 102, 132);
  EXPECT_EQ(Back().width, 102);
  EXPECT_EQ(Back().height, 132);
}

// A point on the body of the character the window now draws (its own mask
// plane, at whatever scale), in character area coordinates.
POINT BodyPointOfDrawnCharacter(const CMainFrame& frame, int page) {
  const LauncherMetrics& m = frame.Metrics();
  const DrawSurface* sheet = LauncherWindowProbe::CharacterPicture(frame);
  // From the middle outwards, so the point is well inside the body.
  for (int dy = 0; dy < m.frameHeight / 2; ++dy) {
    for (int y : {m.frameHeight / 2 + dy, m.frameHeight / 2 - dy}) {
      int x = m.characterWidth / 2;
      if (sheet && sheet->MaskAt(x + m.characterWidth * page, y)) return {x, y};
    }
  }
  return {-1, -1};
}

TEST_F(LayoutTest, ADpiChangeRedrawsAtItsScaleAroundTheSameCharacterCorner) {
  const UINT kDpiChanged = 0x02E0;
  PlaceCompact(400, 150);
  ClickCharacter();
  ASSERT_EQ(LauncherWindowProbe::PanelSide(*frame_), 1);
  RECT suggested = {0, 0, 10, 10};  // ignored: the corner stays
  ::SendMessageA(hwnd_, kDpiChanged, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
  ExpectRect(WindowRect(), 400 - 348, 150, 552, 264);
  EXPECT_EQ(Back().width, 552);
  EXPECT_EQ(Back().height, 264);
  HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(::GetWindowRgn(hwnd_, shape), ERROR);
  RECT box;
  ::GetRgnBox(shape, &box);
  ExpectRect(box, 0, 0, 552, 264);
  EXPECT_FALSE(::PtInRegion(shape, 348, 0));  // the corners are rounded at twice the radius
  EXPECT_FALSE(::PtInRegion(shape, 348 + 3, 3));
  EXPECT_TRUE(::PtInRegion(shape, 348 + 102, 130));
  ::DeleteObject(shape);

  // The scaled body takes the click that closes the panel.
  POINT body = BodyPointOfDrawnCharacter(*frame_, app_->m_nChar);
  ASSERT_GE(body.x, 0);
  Press(348 + body.x, body.y);
  Release(348 + body.x, body.y);
  ExpectRect(WindowRect(), 400, 150, 204, 264);

  // Back at 96 DPI, every pixel is the 100 % window's again.
  ::SendMessageA(hwnd_, kDpiChanged, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  ExpectRect(WindowRect(), 400, 150, 102, 132);
  ExpectShape(hwnd_, 0, -1);
  EXPECT_EQ(
      CountDifferences(Back(), 0, 0, TheArtwork().character, 102 * app_->m_nChar, 0, 102, 113), 0);
}

struct SideCase {
  int left;
  int side;
  int expandedLeft;
};

class PanelSideTest : public LauncherWindowTest, public ::testing::WithParamInterface<SideCase> {};

TEST_P(PanelSideTest, ClickOnTheCharacterOpensTowardsTheRoomAndClosesBack) {
  const SideCase& c = GetParam();
  PlaceCompact(c.left, 40);
  ClickCharacter();
  EXPECT_EQ(LauncherWindowProbe::Compact(*frame_), 0);
  EXPECT_EQ(LauncherWindowProbe::PanelSide(*frame_), c.side);
  ExpectRect(WindowRect(), c.expandedLeft, 40, 276, 132);
  EXPECT_EQ(frame_->charLeft, c.left);
  EXPECT_EQ(Back().width, 276);

  ClickCharacter();
  EXPECT_EQ(LauncherWindowProbe::Compact(*frame_), 1);
  ExpectRect(WindowRect(), c.left, 40, 102, 132);
  EXPECT_EQ(frame_->charLeft, c.left);
  EXPECT_EQ(frame_->charTop, 40);
}

INSTANTIATE_TEST_SUITE_P(Edges, PanelSideTest,
                         ::testing::Values(SideCase{173, 2, 173}, SideCase{174, 1, 0},
                                           SideCase{0, 2, 0}, SideCase{600, 1, 426}));

TEST_F(LayoutTest, ReapplyingTheCurrentLayoutChangesNothing) {
  for (int side : {1, 2, 0}) {
    if (side) {
      LauncherWindowProbe::SetPanelSide(*frame_, side);
      frame_->DrawExpanded();
    } else {
      frame_->DrawCompact();
    }
    RECT before = WindowRect();
    HRGN shape = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(hwnd_, shape);
    HBITMAP bitmap = Back().bitmap;
    std::vector<std::uint32_t> pixels(Back().pixels, Back().pixels + Back().width * Back().height);
    Back().pixels[7] = 0x00123456;  // a mark the re-applied layout must keep
    pixels[7] = 0x00123456;

    // A changed character position shows whether the window is moved again.
    frame_->charLeft += 50;
    frame_->SetLayout(static_cast<Layout>(side));
    frame_->charLeft -= 50;

    RECT after = WindowRect();
    EXPECT_TRUE(::EqualRect(&before, &after)) << "layout " << side;
    HRGN now = ::CreateRectRgn(0, 0, 0, 0);
    ::GetWindowRgn(hwnd_, now);
    EXPECT_TRUE(::EqualRgn(shape, now)) << "layout " << side;
    EXPECT_EQ(Back().bitmap, bitmap);
    EXPECT_TRUE(std::equal(pixels.begin(), pixels.end(), Back().pixels)) << "layout " << side;
    ::DeleteObject(shape);
    ::DeleteObject(now);
  }
}

TEST_F(LayoutTest, CloseHandsTheCharacterPositionToTheApplication) {
  PlaceCompact(500, 60);
  ClickCharacter();  // opens to the left: the window starts 174 further left
  ASSERT_EQ(WindowRect().left, 326);
  ::SendMessageA(hwnd_, WM_CLOSE, 0, 0);
  EXPECT_FALSE(::IsWindow(hwnd_));
  EXPECT_EQ(app_->m_nPosX, 500);
  EXPECT_EQ(app_->m_nPosY, 60);
  EXPECT_EQ(app_->m_pMainWnd, nullptr);
}

}  // namespace
