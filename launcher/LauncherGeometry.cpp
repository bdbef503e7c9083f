#include "launcher/LauncherGeometry.h"

#include <initializer_list>

namespace {

// Where each character's eyes are inside its 102 x 113 frame at 100 %: the
// blink bands are copied over exactly this rectangle.
struct BlinkArea {
  int x, y, width, height;
};
constexpr BlinkArea kBlinkAreas[kPageCount] = {
    {37, 21, 28, 22}, {37, 32, 32, 20}, {35, 25, 31, 14},
    {36, 28, 31, 16}, {39, 27, 26, 14}, {35, 38, 33, 13},
};

// The slot wells (34 x 34) of the panel, and the reacting rectangles of the
// page buttons, which leave out the outer 3 columns and the bottom 2 rows.
constexpr int kHoleLeft = 13;
constexpr int kHoleTop = 50;
constexpr int kHoleSize = 34;
constexpr int kButtonInset = 3;
constexpr int kButtonHitHeight = 17;
constexpr int kOutlineRadius = 8;
constexpr int kFontHeight = 12;

bool ValidPage(int page) { return page >= 0 && page < kPageCount; }

BoxRect ScaledBox(int left, int top, int right, int bottom, int percent) {
  return {ScaledLength(left, percent), ScaledLength(top, percent), ScaledLength(right, percent),
          ScaledLength(bottom, percent)};
}

// The cells of one grid axis. At 100 % a point's cell is the truncating
// division (v - first) / pitch, so cell 0 also takes the pitch before the
// first hole; at a scale the same edges are scaled.
template <int Count>
void CellEdges(int first, int percent, int (&edges)[Count]) {
  edges[0] = ScaledLength(first - kIconPitch, percent) + 1;
  for (int k = 1; k < Count; ++k) edges[k] = ScaledLength(first + kIconPitch * k, percent);
}

// The cell of v along one axis, or -1 outside every cell.
template <int Count>
int CellOf(const int (&edges)[Count], int v) {
  if (v < edges[0]) return -1;
  for (int k = 1; k < Count; ++k) {
    if (v < edges[k]) return k - 1;
  }
  return -1;
}

}  // namespace

LauncherMetrics MetricsAt(int percent) {
  if (percent < kBasePercent) percent = kBasePercent;
  auto s = [percent](int v) { return ScaledLength(v, percent); };
  LauncherMetrics m = {};
  m.percent = percent;
  m.characterWidth = s(kCharacterWidth);
  m.panelWidth = s(kPanelWidth);
  m.expandedWidth = m.characterWidth + m.panelWidth;
  m.windowHeight = s(kWindowHeight);
  m.frameHeight = s(kFrameHeight);
  m.buttonSplit = s(kButtonWidth);
  m.buttonHeight = m.windowHeight - m.frameHeight;
  int hitBottom = kFrameHeight + kButtonHitHeight;
  m.buttonHit[0] = ScaledBox(kButtonInset, kFrameHeight, kButtonWidth, hitBottom, percent);
  m.buttonHit[1] =
      ScaledBox(kButtonWidth, kFrameHeight, 2 * kButtonWidth - kButtonInset, hitBottom, percent);
  for (int page = 0; page < kPageCount; ++page) {
    const BlinkArea& a = kBlinkAreas[page];
    BoxRect& box = m.blinkArea[page];
    box = ScaledBox(a.x, a.y, a.x + a.width, a.y + a.height, percent);
    if (box.bottom - box.top > m.bandHeight) m.bandHeight = box.bottom - box.top;
  }
  m.captionBox = ScaledBox(kCaptionX, kCaptionY, kCaptionX + kCaptionWidth,
                           kCaptionY + kCaptionHeight, percent);
  m.captionSourceX = s(kCaptionSourceX);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    int x = kHoleLeft + kIconPitch * (slot % kGridColumns);
    int y = kHoleTop + kIconPitch * (slot / kGridColumns);
    m.wells[slot] = ScaledBox(x, y, x + kHoleSize, y + kHoleSize, percent);
  }
  m.iconSize = s(kIconSize);
  for (int c = 0; c < kGridColumns; ++c) m.iconLeft[c] = s(kIconX + kIconPitch * c);
  for (int r = 0; r < kGridRows; ++r) m.iconTop[r] = s(kIconY + kIconPitch * r);
  CellEdges(kHoleLeft, percent, m.cellLeft);
  CellEdges(kHoleTop, percent, m.cellTop);
  m.outlineRadius = s(kOutlineRadius);
  m.fontHeight = s(kFontHeight);
  m.sheetWidth = m.characterWidth * kPageCount;
  m.sheetHeight = m.frameHeight + 2 * m.bandHeight;
  return m;
}

namespace {

void Multiply(BoxRect* box, int factor) {
  box->left *= factor;
  box->top *= factor;
  box->right *= factor;
  box->bottom *= factor;
}

template <int Count>
void Multiply(int (&values)[Count], int factor) {
  for (int& v : values) v *= factor;
}

}  // namespace

LauncherMetrics MetricsFor(const ArtScale& scale) {
  LauncherMetrics m = MetricsAt(scale.shipped);
  const int k = scale.factor > 1 ? scale.factor : 1;
  if (k == 1) return m;
  m.percent = scale.shipped * k;
  for (int* length :
       {&m.characterWidth, &m.panelWidth, &m.expandedWidth, &m.windowHeight, &m.frameHeight,
        &m.buttonSplit, &m.buttonHeight, &m.bandHeight, &m.captionSourceX, &m.iconSize,
        &m.outlineRadius, &m.fontHeight, &m.sheetWidth, &m.sheetHeight}) {
    *length *= k;
  }
  for (BoxRect& box : m.buttonHit) Multiply(&box, k);
  for (BoxRect& box : m.blinkArea) Multiply(&box, k);
  for (BoxRect& box : m.wells) Multiply(&box, k);
  Multiply(&m.captionBox, k);
  Multiply(m.iconLeft, k);
  Multiply(m.iconTop, k);
  Multiply(m.cellLeft, k);
  Multiply(m.cellTop, k);
  return m;
}

LayoutGeometry GeometryOf(const LauncherMetrics& m, int layout) {
  switch (layout) {
    case kLayoutPanelLeft:
      return {m.expandedWidth, m.windowHeight, -m.panelWidth, m.panelWidth, 0};
    case kLayoutPanelRight:
      return {m.expandedWidth, m.windowHeight, 0, 0, m.characterWidth};
    default:
      return {m.characterWidth, m.windowHeight, 0, 0, -1};
  }
}

Layout PanelSideFor(const LauncherMetrics& m, int windowLeft, int monitorLeft) {
  long long room = static_cast<long long>(windowLeft) - monitorLeft;
  return room < m.panelWidth ? kLayoutPanelRight : kLayoutPanelLeft;
}

int CharacterLeftFor(const LauncherMetrics& m, int windowLeft, bool compact, int panelSide) {
  return (!compact && panelSide == kLayoutPanelLeft) ? windowLeft + m.panelWidth : windowLeft;
}

int CharacterXFor(const LauncherMetrics& m, int panelSide) {
  return panelSide == kLayoutPanelLeft ? m.panelWidth : 0;
}

int PanelXFor(const LauncherMetrics& m, int panelSide) {
  return panelSide == kLayoutPanelLeft ? 0 : m.characterWidth;
}

int PreviousPage(int page) { return page - 1 < 0 ? kPageCount - 1 : page - 1; }

int NextPage(int page) { return page + 1 > kPageCount - 1 ? 0 : page + 1; }

BlitRect CharacterFrameBlit(const LauncherMetrics& m, int page, int characterX) {
  return {characterX, 0, m.characterWidth, m.frameHeight, m.characterWidth * page, 0};
}

bool BlinkBlit(const LauncherMetrics& m, int page, int frame, int characterX, BlitRect* out) {
  if (!ValidPage(page) || frame < 1 || frame > 2) return false;
  const BoxRect& a = m.blinkArea[page];
  // Band 1 starts right below the frame, band 2 one band lower.
  int sourceY = m.frameHeight + m.bandHeight * (frame - 1);
  *out = {characterX + a.left,
          a.top,
          a.right - a.left,
          a.bottom - a.top,
          m.characterWidth * page + a.left,
          sourceY};
  return true;
}

int ButtonSourceRow(const LauncherMetrics& m, int button, int hotItem, int hotState) {
  return hotItem == button ? m.buttonHeight * hotState : 0;
}

BlitRect ButtonBlit(const LauncherMetrics& m, int button, int sourceRow, int characterX) {
  int left = button == kHotNextPage ? m.buttonSplit : 0;
  int right = button == kHotNextPage ? m.characterWidth : m.buttonSplit;
  return {characterX + left, m.frameHeight, right - left, m.buttonHeight, left, sourceRow};
}

BlitRect PanelBlit(const LauncherMetrics& m, int panelX) {
  return {panelX, 0, m.panelWidth, m.windowHeight, 0, 0};
}

BlitRect CaptionBackgroundBlit(const LauncherMetrics& m, int panelX) {
  const BoxRect& box = m.captionBox;
  return {panelX + box.left,    box.top,          box.right - box.left,
          box.bottom - box.top, m.captionSourceX, box.top};
}

BoxRect CaptionBox(const LauncherMetrics& m, int panelX) {
  const BoxRect& box = m.captionBox;
  return {panelX + box.left, box.top, panelX + box.right, box.bottom};
}

void SlotIconOrigin(const LauncherMetrics& m, int panelX, int slot, int* iconX, int* iconY) {
  *iconX = panelX + m.iconLeft[slot % kGridColumns];
  *iconY = m.iconTop[slot / kGridColumns];
}

int PageButtonAt(const LauncherMetrics& m, int x, int y) {
  for (int button = kHotPreviousPage; button <= kHotNextPage; ++button) {
    const BoxRect& r = m.buttonHit[button];
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return button;
  }
  return kHotNothing;
}

int SlotCellAt(const LauncherMetrics& m, int x, int y) {
  if (x < 0 || y < 0 || x >= m.panelWidth || y >= m.windowHeight) return -1;
  int column = CellOf(m.cellLeft, x);
  int row = CellOf(m.cellTop, y);
  if (column < 0 || row < 0) return -1;
  return column + kGridColumns * row;
}

int SlotAt(const LauncherMetrics& m, int x, int y, int panelMaskValue) {
  if (x < 0 || y < 0 || x >= m.panelWidth || y >= m.windowHeight) return -1;
  if (panelMaskValue != 0) return -1;
  return SlotCellAt(m, x, y);
}

bool InCharacterFrame(const LauncherMetrics& m, int x, int y) {
  return x >= 0 && x < m.characterWidth && y >= 0 && y < m.frameHeight;
}

const char* ChooseCaption(int hotItem, const char* hoveredComment, const char* pageName) {
  if (hotItem >= kHotFirstSlot && hoveredComment) return hoveredComment;
  return pageName;
}
