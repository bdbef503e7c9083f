#pragma once
// The launcher window's geometry as plain numbers: the three layouts, where
// each piece of artwork is copied from and to, and the hit tests of the page
// buttons, the slots and the character. Coordinates are x to the right and y
// downwards from the top-left corner of the area named in each function.

#include "app/core/PageKeys.h"  // kPageCount, kSlotCount

// Sizes of the window's two areas and of the artwork inside them.
constexpr int kCharacterWidth = 102;  // the character area, also one character column
constexpr int kPanelWidth = 174;
constexpr int kExpandedWidth = kCharacterWidth + kPanelWidth;
constexpr int kWindowHeight = 132;
constexpr int kFrameHeight = 113;  // the character frame above the buttons
constexpr int kButtonWidth = 51;
constexpr int kButtonHeight = 19;

// Sizes the artwork must have at least for every copy below to stay inside it.
constexpr int kCharacterPictureWidth = kCharacterWidth * kPageCount;  // 612
constexpr int kCharacterPictureHeight = 157;  // frame, then two blink bands of 22 rows
constexpr int kButtonsPictureWidth = 2 * kButtonWidth;
constexpr int kButtonsPictureHeight = 3 * kButtonHeight;  // normal, hover, pressed rows

// The caption box inside the panel and the icon grid.
constexpr int kCaptionX = 26;
constexpr int kCaptionY = 15;
constexpr int kCaptionWidth = 120;
constexpr int kCaptionHeight = 32;
constexpr int kCaptionSourceX = 20;  // the box is restored from a blank part of the panel
constexpr int kIconX = 14;
constexpr int kIconY = 51;
constexpr int kIconPitch = 37;

enum Layout {
  kLayoutNone = -1,  // before the first layout is applied
  kLayoutCompact = 0,
  kLayoutPanelLeft = 1,
  kLayoutPanelRight = 2,
};

// What is under the pointer. Slot k of the current page is kHotFirstSlot + k.
enum HotItem {
  kHotReleased = -2,  // only while a release forces a redraw
  kHotNothing = -1,
  kHotPreviousPage = 0,
  kHotNextPage = 1,
  kHotFirstSlot = 3,
};

enum HotState { kHotIdle = 0, kHotHover = 1, kHotPressed = 2 };

// One layout: the window's size, where it stands relative to the character
// area on the screen, and where the two areas lie inside it.
struct LayoutGeometry {
  int width;
  int height;
  int leftOfCharacter;  // window left minus the character area's screen left
  int characterX;       // the character area inside the window
  int panelX;           // the panel inside the window; -1 in the compact layout
};

// The geometry of layout 0, 1 or 2; any other value gives the compact one.
LayoutGeometry GeometryOf(int layout);

// Which side the panel opens to, from the compact window's left edge and the
// left edge of the monitor it is on: to the left when there is at least a
// panel's width of that monitor there.
Layout PanelSideFor(int windowLeft, int monitorLeft);

// The character area's screen left for a window whose left edge is windowLeft.
int CharacterLeftFor(int windowLeft, bool compact, int panelSide);

// The character area's and the panel's x inside the window while expanded.
int CharacterXFor(int panelSide);
int PanelXFor(int panelSide);

// Paging wraps around: before page 0 comes page 5, after page 5 page 0.
int PreviousPage(int page);
int NextPage(int page);

// A copy of the w x h rectangle at (sx, sy) of a picture to (dx, dy).
struct BlitRect {
  int dx, dy, w, h, sx, sy;
};

// The character frame of page `page` to the character area at characterX.
BlitRect CharacterFrameBlit(int page, int characterX);

// The blink band over the character; false (nothing to draw) for frame 0 or
// a page or frame out of range.
bool BlinkBlit(int page, int frame, int characterX, BlitRect* out);

// The source row of a button's picture: its hover or pressed row while it is
// the hot item, else its normal row.
int ButtonSourceRow(int button, int hotItem, int hotState);

// Button 0 (previous page) or 1 (next page) drawn in the character area at
// characterX from its source row.
BlitRect ButtonBlit(int button, int sourceRow, int characterX);

// The panel background, and the caption box's background restored over it.
BlitRect PanelBlit(int panelX);
BlitRect CaptionBackgroundBlit(int panelX);

// The caption box: text stays inside left..right, top..bottom (exclusive).
struct BoxRect {
  int left, top, right, bottom;
};
BoxRect CaptionBox(int panelX);

// Top-left corner of slot `slot`'s icon in a grid whose first icon is at (x, y).
void SlotIconOrigin(int x, int y, int slot, int* iconX, int* iconY);

// The page button under a point of the character area: kHotPreviousPage,
// kHotNextPage or kHotNothing. The reacting rectangles are narrower and
// shorter than the drawn buttons.
int PageButtonAt(int x, int y);

// The grid cell (slot index) of a point of the panel, or -1 outside the panel
// or the grid. Cells are taken by truncating division, so the strips left of
// and above the holes still fall into the first column and row; the panel's
// mask decides whether a point is a hole at all (SlotAt).
int SlotCellAt(int x, int y);

// The slot under a point of the panel given the panel mask's value there
// (non-zero on the panel's body): -1 on the body or outside the grid.
int SlotAt(int x, int y, int panelMaskValue);

// Whether a point of the character area lies in the character frame, where
// the character's mask decides; x of the mask is x + 102 * page.
bool InCharacterFrame(int x, int y);

// The hot item at a point of the window's client area. slotAt(px, py) answers
// for points relative to the panel (see SlotAt).
template <typename SlotLookup>
int HotItemAt(bool compact, int panelSide, int x, int y, SlotLookup slotAt) {
  int buttonX = (!compact && panelSide == kLayoutPanelLeft) ? x - kPanelWidth : x;
  int button = PageButtonAt(buttonX, y);
  if (button != kHotNothing || compact) return button;
  int slot = slotAt(x - PanelXFor(panelSide), y);
  return slot >= 0 ? kHotFirstSlot + slot : kHotNothing;
}

// The caption: the hovered slot's comment when it has one, else the page's
// name (which may be null too: then nothing is written).
const char* ChooseCaption(int hotItem, const char* hoveredComment, const char* pageName);
