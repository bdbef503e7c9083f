#include "launcher/LauncherGeometry.h"

namespace {

// Where each character's eyes are inside its 102 x 113 frame: the blink
// bands are copied over exactly this rectangle.
struct BlinkArea {
  int x, y, width, height;
};
constexpr BlinkArea kBlinkAreas[kPageCount] = {
    {37, 21, 28, 22}, {37, 32, 32, 20}, {35, 25, 31, 14},
    {36, 28, 31, 16}, {39, 27, 26, 14}, {35, 38, 33, 13},
};
constexpr int kBlinkBandHeight = 22;

// The grid of slot holes in the panel.
constexpr int kHoleLeft = 13;
constexpr int kHoleTop = 50;
constexpr int kGridColumns = 4;
constexpr int kGridRows = 2;

bool ValidPage(int page) { return page >= 0 && page < kPageCount; }

}  // namespace

LayoutGeometry GeometryOf(int layout) {
  switch (layout) {
    case kLayoutPanelLeft:
      return {kExpandedWidth, kWindowHeight, -kPanelWidth, kPanelWidth, 0};
    case kLayoutPanelRight:
      return {kExpandedWidth, kWindowHeight, 0, 0, kCharacterWidth};
    default:
      return {kCharacterWidth, kWindowHeight, 0, 0, -1};
  }
}

Layout PanelSideFor(int windowLeft, int monitorLeft) {
  long long room = static_cast<long long>(windowLeft) - monitorLeft;
  return room < kPanelWidth ? kLayoutPanelRight : kLayoutPanelLeft;
}

int CharacterLeftFor(int windowLeft, bool compact, int panelSide) {
  return (!compact && panelSide == kLayoutPanelLeft) ? windowLeft + kPanelWidth : windowLeft;
}

int CharacterXFor(int panelSide) { return panelSide == kLayoutPanelLeft ? kPanelWidth : 0; }

int PanelXFor(int panelSide) { return panelSide == kLayoutPanelLeft ? 0 : kCharacterWidth; }

int PreviousPage(int page) { return page - 1 < 0 ? kPageCount - 1 : page - 1; }

int NextPage(int page) { return page + 1 > kPageCount - 1 ? 0 : page + 1; }

BlitRect CharacterFrameBlit(int page, int characterX) {
  return {characterX, 0, kCharacterWidth, kFrameHeight, kCharacterWidth * page, 0};
}

bool BlinkBlit(int page, int frame, int characterX, BlitRect* out) {
  if (!ValidPage(page) || frame < 1 || frame > 2) return false;
  const BlinkArea& a = kBlinkAreas[page];
  // Band 1 starts right below the frame (row 113), band 2 one band lower.
  int sourceY = kFrameHeight - kBlinkBandHeight + kBlinkBandHeight * frame;
  *out = {characterX + a.x, a.y, a.width, a.height, kCharacterWidth * page + a.x, sourceY};
  return true;
}

int ButtonSourceRow(int button, int hotItem, int hotState) {
  return hotItem == button ? kButtonHeight * hotState : 0;
}

BlitRect ButtonBlit(int button, int sourceRow, int characterX) {
  int x = kButtonWidth * button;
  return {characterX + x, kFrameHeight, kButtonWidth, kButtonHeight, x, sourceRow};
}

BlitRect PanelBlit(int panelX) { return {panelX, 0, kPanelWidth, kWindowHeight, 0, 0}; }

BlitRect CaptionBackgroundBlit(int panelX) {
  return {panelX + kCaptionX, kCaptionY, kCaptionWidth, kCaptionHeight, kCaptionSourceX, kCaptionY};
}

BoxRect CaptionBox(int panelX) {
  return {panelX + kCaptionX, kCaptionY, panelX + kCaptionX + kCaptionWidth,
          kCaptionY + kCaptionHeight};
}

void SlotIconOrigin(int x, int y, int slot, int* iconX, int* iconY) {
  *iconX = x + (slot % kGridColumns) * kIconPitch;
  *iconY = y + (slot / kGridColumns) * kIconPitch;
}

int PageButtonAt(int x, int y) {
  // The reacting rectangles leave out the outer 3 columns and the bottom 2 rows.
  if (y < kFrameHeight || y >= kFrameHeight + 17) return kHotNothing;
  if (x >= 3 && x < kButtonWidth) return kHotPreviousPage;
  if (x >= kButtonWidth && x < 2 * kButtonWidth - 3) return kHotNextPage;
  return kHotNothing;
}

int SlotCellAt(int x, int y) {
  if (x < 0 || y < 0 || x >= kPanelWidth || y >= kWindowHeight) return -1;
  // Truncating division: the strips left of and above the first holes map to
  // the first column and row.
  int column = (x - kHoleLeft) / kIconPitch;
  int row = (y - kHoleTop) / kIconPitch;
  if (column < 0 || column >= kGridColumns || row < 0 || row >= kGridRows) return -1;
  return column + kGridColumns * row;
}

int SlotAt(int x, int y, int panelMaskValue) {
  if (x < 0 || y < 0 || x >= kPanelWidth || y >= kWindowHeight) return -1;
  if (panelMaskValue != 0) return -1;
  return SlotCellAt(x, y);
}

bool InCharacterFrame(int x, int y) {
  return x >= 0 && x < kCharacterWidth && y >= 0 && y < kFrameHeight;
}

const char* ChooseCaption(int hotItem, const char* hoveredComment, const char* pageName) {
  if (hotItem >= kHotFirstSlot && hoveredComment) return hoveredComment;
  return pageName;
}
