#pragma once
// Window outlines as 1-bit BMP files: index 0 (black) inside, index 1 (white)
// outside, with the two top corners rounded off.

#include <cstdint>
#include <vector>

namespace art {

// True when pixel (x, y), y from the top, lies outside the rounded top
// corners of a width-wide outline: its centre is outside the corner circle.
bool IsOutsideTopCorner(int x, int y, int width, int radius);

// The whole file: 14-byte file header, 40-byte info header, a two-entry colour
// table, then bottom-up rows padded to 4 bytes.
std::vector<uint8_t> BuildOutlineBmp(int width, int height, int radius);

}  // namespace art
