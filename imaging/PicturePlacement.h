#pragma once
// Where a decoded picture lands in an existing surface's pixels (bottom-up
// rows of exactly `width` words): the platform-free half of DecodeInto.

#include <cstdint>

#include "imaging/PictureFormat.h"

// Decodes the record with its top-left corner at (x, y) of a width x height
// surface, clipped to it; the surface's other pixels are left alone. Returns
// what DecodePixels returns, or 0 when no room could be found for a picture
// that sticks out.
int DecodePictureAt(const PictureRecord& record, std::uint32_t* pixels, int width, int height,
                    int x, int y);
