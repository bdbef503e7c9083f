#pragma once
// Where the artwork's pieces lie: what the launcher cuts out of the pictures
// and where it draws into them. The art tool composes and checks the
// pictures against these numbers.

namespace art {

struct Rect {
  int x, y, width, height;
  bool Contains(int px, int py) const {
    return px >= x && px < x + width && py >= y && py < y + height;
  }
};

constexpr int kPageCount = 6;

// Character sheet: one column per page, the frame on top, then two blink
// bands. Band 1 shows the eyes closed, band 2 half closed (the blink shows
// band 2, then band 1).
constexpr int kColumnWidth = 102;
constexpr int kFrameHeight = 113;
constexpr int kBandHeight = 22;
constexpr int kSheetWidth = kColumnWidth * kPageCount;
constexpr int kSheetHeight = kFrameHeight + 2 * kBandHeight;

// The blink area inside each page's frame: the eyes lie in it.
constexpr Rect kBlinkArea[kPageCount] = {
    {37, 21, 28, 22}, {37, 32, 32, 20}, {35, 25, 31, 14},
    {36, 28, 31, 16}, {39, 27, 26, 14}, {35, 38, 33, 13},
};

// Panel: the caption box the program restores from x 20 onto x 26, and the
// eight slot wells (34 x 34) in which it draws the slot icons.
constexpr int kPanelWidth = 174;
constexpr int kPanelHeight = 132;
constexpr Rect kCaptionRestore = {20, 15, 126, 32};
constexpr int kWellSize = 34;
constexpr int kWellLeft[4] = {13, 50, 87, 124};
constexpr int kWellTop[2] = {50, 87};

// Window outlines: the character area and the panel, with rounded top corners.
constexpr int kCharacterAreaWidth = 102;
constexpr int kWindowHeight = 132;
constexpr int kOutlineRadius = 8;

}  // namespace art
