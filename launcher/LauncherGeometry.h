#pragma once
// The launcher window's geometry as plain numbers: the three layouts, where
// each piece of artwork is copied from and to, and the hit tests of the page
// buttons, the slots and the character. Coordinates are x to the right and y
// downwards from the top-left corner of the area named in each function.

#include "app/core/PageKeys.h"  // kPageCount, kSlotCount
#include "common/DisplayScale.h"

// Sizes at 100 % of the window's two areas and of the artwork inside them.
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
constexpr int kIconSize = 32;
constexpr int kGridColumns = 4;
constexpr int kGridRows = 2;

// A rectangle by its edges: left and top inside, right and bottom outside.
struct BoxRect {
  int left, top, right, bottom;
};

// Every length of the window at one display scale, made once from the
// lengths at 100 % by ScaledLength (edges scaled, sizes their differences).
// At 100 % each is the length above. The window holds one; the functions
// below take it.
struct LauncherMetrics {
  int percent;
  int characterWidth;  // also one column of the character sheet
  int panelWidth;
  int expandedWidth;
  int windowHeight;
  int frameHeight;
  int buttonSplit;                // the next-page button's left edge (the previous one's is 0)
  int buttonHeight;               // windowHeight - frameHeight, also a row of the buttons picture
  BoxRect buttonHit[2];           // the reacting rectangles, in the character area
  int bandHeight;                 // one blink band of the character sheet
  BoxRect blinkArea[kPageCount];  // inside the frame
  BoxRect captionBox;             // inside the panel
  int captionSourceX;             // the box's background is copied from there
  BoxRect wells[kSlotCount];      // the slot wells, inside the panel
  int iconSize;
  int iconLeft[kGridColumns];  // slot icons inside the panel
  int iconTop[kGridRows];
  // The grid's cells: column c takes x in [cellLeft[c], cellLeft[c + 1]),
  // row r y in [cellTop[r], cellTop[r + 1]).
  int cellLeft[kGridColumns + 1];
  int cellTop[kGridRows + 1];
  int outlineRadius;  // the window outline's rounded top corners
  int fontHeight;     // the caption font's character height
  int sheetWidth;     // the pictures' least sizes
  int sheetHeight;
};

// The metrics at a scale in percent (values below 100 give 100 %).
LauncherMetrics MetricsAt(int percent);
// The metrics of artwork made for scale.shipped with each pixel repeated
// scale.factor times: the shipped scale's lengths times the factor, so that
// they fit the enlarged pictures exactly.
LauncherMetrics MetricsFor(const ArtScale& scale);

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
LayoutGeometry GeometryOf(const LauncherMetrics& m, int layout);

// Which side the panel opens to, from the compact window's left edge and the
// left edge of the monitor it is on: to the left when there is at least a
// panel's width of that monitor there.
Layout PanelSideFor(const LauncherMetrics& m, int windowLeft, int monitorLeft);

// The character area's screen left for a window whose left edge is windowLeft.
int CharacterLeftFor(const LauncherMetrics& m, int windowLeft, bool compact, int panelSide);

// The character area's and the panel's x inside the window while expanded.
int CharacterXFor(const LauncherMetrics& m, int panelSide);
int PanelXFor(const LauncherMetrics& m, int panelSide);

// Paging wraps around: before page 0 comes page 5, after page 5 page 0.
int PreviousPage(int page);
int NextPage(int page);

// A copy of the w x h rectangle at (sx, sy) of a picture to (dx, dy).
struct BlitRect {
  int dx, dy, w, h, sx, sy;
};

// The character frame of page `page` to the character area at characterX.
BlitRect CharacterFrameBlit(const LauncherMetrics& m, int page, int characterX);

// The blink band over the character; false (nothing to draw) for frame 0 or
// a page or frame out of range.
bool BlinkBlit(const LauncherMetrics& m, int page, int frame, int characterX, BlitRect* out);

// The source row of a button's picture: its hover or pressed row while it is
// the hot item, else its normal row.
int ButtonSourceRow(const LauncherMetrics& m, int button, int hotItem, int hotState);

// Button 0 (previous page) or 1 (next page) drawn in the character area at
// characterX from its source row.
BlitRect ButtonBlit(const LauncherMetrics& m, int button, int sourceRow, int characterX);

// The panel background, and the caption box's background restored over it.
BlitRect PanelBlit(const LauncherMetrics& m, int panelX);
BlitRect CaptionBackgroundBlit(const LauncherMetrics& m, int panelX);

// The caption box: text stays inside left..right, top..bottom (exclusive).
BoxRect CaptionBox(const LauncherMetrics& m, int panelX);

// Top-left corner of slot `slot`'s icon for a panel at panelX.
void SlotIconOrigin(const LauncherMetrics& m, int panelX, int slot, int* iconX, int* iconY);

// The page button under a point of the character area: kHotPreviousPage,
// kHotNextPage or kHotNothing. The reacting rectangles are narrower and
// shorter than the drawn buttons.
int PageButtonAt(const LauncherMetrics& m, int x, int y);

// The grid cell (slot index) of a point of the panel, or -1 outside the panel
// or the grid. Cells are taken by truncating division, so the strips left of
// and above the holes still fall into the first column and row; the panel's
// mask decides whether a point is a hole at all (SlotAt).
int SlotCellAt(const LauncherMetrics& m, int x, int y);

// The slot under a point of the panel given the panel mask's value there
// (non-zero on the panel's body): -1 on the body or outside the grid.
int SlotAt(const LauncherMetrics& m, int x, int y, int panelMaskValue);

// Whether a point of the character area lies in the character frame, where
// the character's mask decides; x of the mask is x + characterWidth * page.
bool InCharacterFrame(const LauncherMetrics& m, int x, int y);

// The hot item at a point of the window's client area. slotAt(px, py) answers
// for points relative to the panel (see SlotAt).
template <typename SlotLookup>
int HotItemAt(const LauncherMetrics& m, bool compact, int panelSide, int x, int y,
              SlotLookup slotAt) {
  int buttonX = (!compact && panelSide == kLayoutPanelLeft) ? x - m.panelWidth : x;
  int button = PageButtonAt(m, buttonX, y);
  if (button != kHotNothing || compact) return button;
  int slot = slotAt(x - PanelXFor(m, panelSide), y);
  return slot >= 0 ? kHotFirstSlot + slot : kHotNothing;
}

// The caption: the hovered slot's comment when it has one, else the page's
// name (which may be null too: then nothing is written).
const char* ChooseCaption(int hotItem, const char* hoveredComment, const char* pageName);
