// The window outlines (1-bit BMPs) and the click sound, read byte by byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "tests/host/resources/ArtFiles.h"

namespace {

using arttest::Bytes;
using arttest::Le16;
using arttest::Le32;

struct OutlineCase {
  const char* entry;
  int width;
  int stride;
};

class ArtOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(ArtOutline, IsAnExactBottomUpOneBitBmp) {
  const OutlineCase& c = GetParam();
  const Bytes bmp = arttest::ReadBytes(arttest::ArtPath(c.entry));
  const std::size_t size = 14 + 40 + 8 + std::size_t(c.stride) * 132;
  ASSERT_EQ(bmp.size(), size);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(Le32(bmp, 2), size);
  EXPECT_EQ(Le32(bmp, 6), 0u);
  EXPECT_EQ(Le32(bmp, 10), 62u);
  EXPECT_EQ(Le32(bmp, 14), 40u);
  EXPECT_EQ(Le32(bmp, 18), unsigned(c.width));
  EXPECT_EQ(Le32(bmp, 22), 132u);  // positive: bottom-up
  EXPECT_EQ(Le16(bmp, 26), 1u);
  EXPECT_EQ(Le16(bmp, 28), 1u);
  EXPECT_EQ(Le32(bmp, 30), 0u);  // uncompressed
  EXPECT_EQ(Le32(bmp, 54), 0x00000000u) << "index 0 black";
  EXPECT_EQ(Le32(bmp, 58), 0x00FFFFFFu) << "index 1 white";
}

// Index 0 is inside. Every row is one run; only the top corners are cut,
// symmetrically, less with every row, and the lower rows are whole.
TEST_P(ArtOutline, EveryRowIsOneRunWithOnlyTheTopCornersCut) {
  const OutlineCase& c = GetParam();
  const Bytes bmp = arttest::ReadBytes(arttest::ArtPath(c.entry));
  ASSERT_EQ(bmp.size(), 62u + std::size_t(c.stride) * 132);
  int previousCut = c.width;
  int cutRows = 0;
  int topCut = -1;
  for (int y = 0; y < 132; ++y) {
    const std::size_t row = 62 + std::size_t(131 - y) * c.stride;  // stored bottom-up
    int runs = 0, start = -1, end = -1;
    for (int x = 0; x < c.width; ++x) {
      const bool inside = ((bmp[row + x / 8] >> (7 - x % 8)) & 1) == 0;
      const bool before = x > 0 && ((bmp[row + (x - 1) / 8] >> (7 - (x - 1) % 8)) & 1) == 0;
      if (inside && !before) {
        ++runs;
        start = x;
      }
      if (inside) end = x + 1;
    }
    ASSERT_EQ(runs, 1) << "row " << y;
    const int cut = start;
    EXPECT_EQ(c.width - end, cut) << "row " << y << " is not symmetric";
    EXPECT_LE(cut, previousCut) << "row " << y;
    previousCut = cut;
    if (y == 0) topCut = cut;
    if (cut > 0) ++cutRows;
    if (y >= 16) EXPECT_EQ(cut, 0) << "row " << y;
  }
  EXPECT_GE(cutRows, 2) << "the top corners are rounded";
  EXPECT_GE(topCut, 2);
  EXPECT_LE(topCut, 16);
}

INSTANTIATE_TEST_SUITE_P(Art, ArtOutline,
                         ::testing::Values(OutlineCase{"mask1.bmp", 102, 16},
                                           OutlineCase{"mask2.bmp", 174, 24}),
                         [](const auto& info) { return std::string(info.param.entry, 5); });

TEST(ArtClickSound, IsAShortQuietPcmWave) {
  const Bytes wav = arttest::ReadBytes(arttest::ArtPath("click.wav"));
  ASSERT_GE(wav.size(), 44u);
  EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4), "RIFF");
  EXPECT_EQ(Le32(wav, 4), wav.size() - 8);
  EXPECT_EQ(std::string(wav.begin() + 8, wav.begin() + 16), "WAVEfmt ");
  // Walk the chunks to fmt and data.
  std::size_t at = 12;
  unsigned channels = 0, rate = 0, bits = 0, format = 0;
  std::size_t dataAt = 0, dataSize = 0;
  while (at + 8 <= wav.size()) {
    const std::string id(wav.begin() + at, wav.begin() + at + 4);
    const std::size_t size = Le32(wav, at + 4);
    ASSERT_LE(at + 8 + size, wav.size()) << id;
    if (id == "fmt ") {
      format = Le16(wav, at + 8);
      channels = Le16(wav, at + 10);
      rate = Le32(wav, at + 12);
      bits = Le16(wav, at + 22);
    } else if (id == "data") {
      dataAt = at + 8;
      dataSize = size;
    }
    at += 8 + size + (size & 1);
  }
  EXPECT_EQ(format, 1u) << "PCM";
  ASSERT_EQ(bits, 16u);
  ASSERT_GT(channels * rate, 0u);
  ASSERT_GT(dataSize, 0u);
  const double seconds = double(dataSize) / (channels * rate * 2);
  EXPECT_LT(seconds, 0.1);
  EXPECT_GT(seconds, 0.005);
  // Soft: well below full scale, yet audible; and it fades to silence.
  int peak = 0;
  for (std::size_t i = 0; i + 1 < dataSize; i += 2) {
    const int sample = std::int16_t(Le16(wav, dataAt + i));
    peak = std::max(peak, std::abs(sample));
  }
  EXPECT_GT(peak, 32768 / 20);
  EXPECT_LT(peak, 32768 / 2);
  const int last = std::abs(std::int16_t(Le16(wav, dataAt + dataSize - 2)));
  EXPECT_LT(last, peak / 10);
}

}  // namespace
