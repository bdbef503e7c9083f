#pragma once
// Shared by the imaging tests under Wine: pixel access and the
// small pictures and bitmaps the tests load.
#include <gtest/gtest.h>
#include <windows.h>

#include <climits>
#include <string>
#include <vector>

#include "imaging/DrawSurface.h"
#include "imaging/MaskRegion.h"
#include "tests/host/imaging/TestPictures.h"
#include "tests/win32/support/Handles.h"

// The pixel at (x, y), y counted from the top.
inline std::uint32_t At(const DrawSurface& s, int x, int y) {
  return s.pixels[static_cast<std::size_t>(s.height - 1 - y) * s.width + x];
}

// Whether `s` is w x h and shows `topDown` and `maskTopDown` (top-down rows).
inline ::testing::AssertionResult Shows(const DrawSurface& s, int w, int h,
                                        const std::vector<std::uint32_t>& topDown,
                                        const Bytes& maskTopDown) {
  if (s.width != w || s.height != h) {
    return ::testing::AssertionFailure() << "the surface is " << s.width << "x" << s.height;
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (At(s, x, y) != topDown[y * w + x] || s.MaskAt(x, y) != maskTopDown[y * w + x]) {
        return ::testing::AssertionFailure() << "it differs at (" << x << ", " << y << ")";
      }
    }
  }
  return ::testing::AssertionSuccess();
}

inline void Fill(DrawSurface& s, std::uint32_t colour) {
  for (int i = 0; i < s.width * s.height; ++i) s.pixels[i] = colour;
}

// A picture file of `pixels` (top-down rows, w x h), optionally with a mask
// plane given top-down too.
inline Bytes PictureFile(const std::vector<std::uint32_t>& topDown, int w, int h,
                         const Bytes& maskTopDown = Bytes()) {
  std::vector<std::uint32_t> mem(topDown.size());
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) mem[(h - 1 - y) * w + x] = topDown[y * w + x];
  }
  PictureEncodeOptions o;
  o.verticalDelta = true;
  o.escape = 0xB6;
  std::vector<Bytes> records(1);
  std::string error;
  EncodePictureRecord(mem.data(), w, h, o, !maskTopDown.empty(), &records[0], &error);
  if (!maskTopDown.empty()) {
    Bytes plane(maskTopDown.size());
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) plane[(h - 1 - y) * w + x] = maskTopDown[y * w + x];
    }
    records.emplace_back();
    EncodeMaskRecord(plane.data(), w, h, MaskEncodeOptions(), &records[1], &error);
  }
  return AssemblePicture(records);
}

// w x h test pattern: every pixel different, top-down.
inline std::vector<std::uint32_t> Pattern(int w, int h) {
  std::vector<std::uint32_t> p(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x)
      p[y * w + x] = static_cast<std::uint32_t>(0x010000 * y + 0x0101 * x);
  }
  return p;
}
