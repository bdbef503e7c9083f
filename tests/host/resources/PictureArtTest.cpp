// The three delivered pictures: their headers and records as the launcher
// expects them, streams that end exactly after their pixels, and decoded
// pixels and masks equal to the renders they were made from.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "imaging/PictureFormat.h"
#include "tests/host/resources/ArtFiles.h"

namespace {

using arttest::Bytes;
using arttest::Decoded;
using arttest::DecodeEntry;
using arttest::Le16;
using arttest::Le32;

struct PictureCase {
  const char* entry;
  const char* render;      // the PNG it was encoded from (build/art/render)
  const char* maskRender;  // the mask plane's PNG, or null
  int width, height;
  int flags;
  int escape;
  int paletteCount;
};

const PictureCase kPictures[] = {
    {"char.tw", "char.png", "char-mask.png", 612, 157, 0x86, 0xB6, 0},
    {"buttons.tw", "buttons.png", nullptr, 102, 57, 0x06, 0x25, 0},
    {"panel.tw", "panel.png", "panel-mask.png", 174, 132, 0x8B, 0x08, 1},
};

// Where each record starts, from the file header and record table.
std::vector<std::size_t> RecordStarts(const Bytes& file) {
  std::vector<std::size_t> starts;
  const std::size_t count = Le16(file, 8), table = Le16(file, 10), base = Le16(file, 12);
  for (std::size_t i = 0; i < count; ++i) starts.push_back(base + Le32(file, table + 4 * i));
  return starts;
}

// Walks a run-length stream independently of the decoder and returns the
// offset just past its end code, or 0 when it writes more than `pixels`
// values or reaches the end of the file first. Colour streams (palette
// false), palette streams with one entry, or 8-bit mask pairs.
enum class Stream { kColour, kPaletteOfOne, kMaskPairs };
std::size_t StreamEnd(const Bytes& file, std::size_t at, Stream kind, int escape, long pixels,
                      long* written) {
  *written = 0;
  while (at < file.size()) {
    long n = 0;
    if (kind == Stream::kMaskPairs) {
      if (at + 1 >= file.size()) return 0;
      n = file[at + 1];
      at += 2;
      if (n == 0) return at;
    } else if (file[at] != escape) {
      n = 1;
      at += 3;
    } else {
      if (at + 1 >= file.size()) return 0;
      const int code = file[at + 1];
      if (code == 0) return at + 2;
      if (code == 0xFF) {
        n = 1;
        at += 4;
      } else {
        n = code;
        at += kind == Stream::kColour ? 5 : 2;
      }
    }
    *written += n;
    if (*written > pixels) return 0;
  }
  return 0;
}

class ArtPicture : public ::testing::TestWithParam<PictureCase> {
 protected:
  void SetUp() override {
    file_ = arttest::ReadBytes(arttest::ArtPath(GetParam().entry));
    ASSERT_GE(file_.size(), 16u) << GetParam().entry;
  }
  Bytes file_;
};

TEST_P(ArtPicture, HeaderAndRecordsAreAsTheLauncherExpects) {
  const PictureCase& c = GetParam();
  const std::size_t records = c.maskRender ? 2 : 1;
  EXPECT_EQ(std::string(file_.begin(), file_.begin() + 4), "TW01");
  EXPECT_EQ(file_[4], 0x00);
  EXPECT_EQ(file_[5], 0x01);
  EXPECT_EQ(Le16(file_, 6), 0u);
  ASSERT_EQ(Le16(file_, 8), records);
  EXPECT_EQ(Le16(file_, 10), 16u);
  EXPECT_EQ(Le16(file_, 12), 16u + 4 * records);
  const std::vector<std::size_t> starts = RecordStarts(file_);

  const std::size_t pic = starts[0];
  EXPECT_EQ(file_[pic + 2], c.flags);
  EXPECT_EQ(Le16(file_, pic + 12), unsigned(c.width));
  EXPECT_EQ(Le16(file_, pic + 14), unsigned(c.height));
  EXPECT_EQ(file_[pic + 16], 24);
  EXPECT_EQ(file_[pic + 17], c.paletteCount);
  EXPECT_EQ(file_[pic + 18], c.escape);
  if (c.paletteCount == 1) {
    EXPECT_EQ(Le32(file_, pic + 20) & 0xFFFFFF, 0u) << "the one palette entry is black";
  }
  if (c.maskRender) {
    const std::size_t mask = starts[1];
    EXPECT_EQ(file_[mask + 2] & 0x1F, 0x11);
    EXPECT_NE(file_[mask + 2] & 0x10, 0);
    EXPECT_EQ(Le16(file_, mask + 12), unsigned(c.width));
    EXPECT_EQ(Le16(file_, mask + 14), unsigned(c.height));
    EXPECT_EQ(file_[mask + 16], 8);
  }
}

TEST_P(ArtPicture, StreamsEndExactlyAfterTheirPixelsAndRecordsArePadded) {
  const PictureCase& c = GetParam();
  const std::vector<std::size_t> starts = RecordStarts(file_);
  const long pixels = long(c.width) * c.height;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    const bool isMask = i == 1;
    const Stream kind = isMask                ? Stream::kMaskPairs
                        : c.paletteCount == 1 ? Stream::kPaletteOfOne
                                              : Stream::kColour;
    const std::size_t data = starts[i] + 20 + (isMask ? 0 : 4 * c.paletteCount);
    long written = 0;
    const std::size_t end = StreamEnd(file_, data, kind, c.escape, pixels, &written);
    ASSERT_NE(end, 0u) << c.entry << " record " << i << " overruns or has no end code";
    EXPECT_EQ(written, pixels) << c.entry << " record " << i;
    const std::size_t next = i + 1 < starts.size() ? starts[i + 1] : file_.size();
    // The length field (not read by the launcher) counts up to the end code.
    EXPECT_EQ(Le32(file_, starts[i] + 8), end - starts[i]) << "record length field";
    if (i + 1 < starts.size()) {
      EXPECT_EQ((next - starts[0]) % 4, 0u) << "records start on multiples of 4";
      EXPECT_LT(next - end, 4u);
    } else {
      EXPECT_EQ(next, end) << "the last record ends the file";
    }
    for (std::size_t p = end; p < next; ++p) EXPECT_EQ(file_[p], 0) << "padding at " << p;
  }
}

TEST_P(ArtPicture, DecodesToItsRenderBitExact) {
  const PictureCase& c = GetParam();
  Picture picture(file_.data(), file_.size());
  PictureRecord record;
  ASSERT_TRUE(picture.Record(0, &record));
  std::vector<std::uint32_t> pixels(std::size_t(c.width) * c.height, 0xFFFFFFFF);
  ASSERT_EQ(DecodePixels(record, pixels.data(), c.width, c.height), 1);
  arttest::Png render;
  ASSERT_TRUE(arttest::ReadPng(arttest::ArtPath(std::string("render/") + c.render), 3, &render));
  ASSERT_EQ(render.width, c.width);
  ASSERT_EQ(render.height, c.height);
  int differing = 0;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      // Memory row 0 is the bottom row of the picture.
      const std::uint32_t decoded = pixels[std::size_t(c.height - 1 - y) * c.width + x];
      if (decoded != render.rgb[std::size_t(y) * c.width + x]) ++differing;
    }
  }
  EXPECT_EQ(differing, 0) << c.entry;

  if (!c.maskRender) return;
  PictureRecord maskRecord;
  ASSERT_TRUE(picture.MaskRecord(&maskRecord));
  std::vector<std::uint8_t> plane(pixels.size(), 0x77);
  ASSERT_EQ(DecodeMask(maskRecord, plane.data(), plane.size()), 1);
  arttest::Png mask;
  ASSERT_TRUE(arttest::ReadPng(arttest::ArtPath(std::string("render/") + c.maskRender), 1, &mask));
  differing = 0;
  for (int y = 0; y < c.height; ++y) {
    for (int x = 0; x < c.width; ++x) {
      const std::uint8_t v = plane[std::size_t(c.height - 1 - y) * c.width + x];
      if (v != 0 && v != 255) ++differing;
      if (v != mask.grey[std::size_t(y) * c.width + x]) ++differing;
    }
  }
  EXPECT_EQ(differing, 0) << c.entry << " mask";
}

INSTANTIATE_TEST_SUITE_P(Art, ArtPicture, ::testing::ValuesIn(kPictures), [](const auto& info) {
  std::string name = info.param.entry;
  return name.substr(0, name.find('.'));
});

struct BlinkArea {
  int x, y, width, height;
};
const BlinkArea kBlink[6] = {{37, 21, 28, 22}, {37, 32, 32, 20}, {35, 25, 31, 14},
                             {36, 28, 31, 16}, {39, 27, 26, 14}, {35, 38, 33, 13}};

class ArtCharacterColumn : public ::testing::TestWithParam<int> {
 protected:
  static void SetUpTestSuite() { sheet_ = new Decoded(DecodeEntry("char.tw")); }
  static void TearDownTestSuite() { delete sheet_; }
  static Decoded* sheet_;
};
Decoded* ArtCharacterColumn::sheet_ = nullptr;

// The blink copies band rows 113 + 22 (frame - 1) at the blink area's own x
// onto the frame at the blink area: a band may differ from the frame rows it
// repeats only inside that area, and there it must show other eyes.
TEST_P(ArtCharacterColumn, BlinkBandsDifferFromTheFrameOnlyInsideTheBlinkArea) {
  ASSERT_EQ(sheet_->width, 612);
  const int page = GetParam();
  const BlinkArea& a = kBlink[page];
  const int left = 102 * page;
  for (int band = 0; band < 2; ++band) {
    int outside = 0, inside = 0;
    for (int j = 0; j < 22; ++j) {
      for (int x = 0; x < 102; ++x) {
        const bool inArea = x >= a.x && x < a.x + a.width && j < a.height;
        const bool differs =
            sheet_->At(left + x, 113 + 22 * band + j) != sheet_->At(left + x, a.y + j);
        if (differs) ++(inArea ? inside : outside);
      }
    }
    EXPECT_EQ(outside, 0) << "page " << page << " band " << band + 1;
    EXPECT_GT(inside, 20) << "page " << page << " band " << band + 1 << " shows no blink";
  }
  // Half-closed and closed eyes are not the same picture.
  int bandsDiffer = 0;
  for (int j = 0; j < a.height; ++j) {
    for (int x = a.x; x < a.x + a.width; ++x) {
      bandsDiffer += sheet_->At(left + x, 113 + j) != sheet_->At(left + x, 135 + j);
    }
  }
  EXPECT_GT(bandsDiffer, 10) << "page " << page;
}

TEST_P(ArtCharacterColumn, MaskCoversTheBodyAndNotTheCorners) {
  ASSERT_EQ(sheet_->width, 612);
  const int left = 102 * GetParam();
  EXPECT_EQ(sheet_->MaskAt(left + 51, 58), 255) << "middle of the character";
  for (int x : {0, 101}) {
    for (int y : {0, 112}) {
      EXPECT_EQ(sheet_->MaskAt(left + x, y), 0) << "corner " << x << "," << y;
    }
  }
  // Every frame row's mask only holds 0 and 255, and the body is a sizeable
  // part of the frame (not the whole frame, not a speck).
  int body = 0;
  for (int y = 0; y < 113; ++y) {
    for (int x = 0; x < 102; ++x) body += sheet_->MaskAt(left + x, y) != 0;
  }
  EXPECT_GT(body, 102 * 113 / 5);
  EXPECT_LT(body, 102 * 113 * 3 / 4);
}

INSTANTIATE_TEST_SUITE_P(Pages, ArtCharacterColumn, ::testing::Range(0, 6));

TEST(ArtPanel, MaskIsZeroExactlyInTheEightWells) {
  const Decoded panel = DecodeEntry("panel.tw");
  ASSERT_EQ(panel.width, 174);
  ASSERT_EQ(panel.height, 132);
  int wrong = 0;
  for (int y = 0; y < 132; ++y) {
    for (int x = 0; x < 174; ++x) {
      bool inWell = false;
      for (int left : {13, 50, 87, 124}) {
        for (int top : {50, 87}) inWell |= x >= left && x < left + 34 && y >= top && y < top + 34;
      }
      const std::uint8_t expected = inWell ? 0 : 255;
      if (panel.MaskAt(x, y) != expected) ++wrong;
    }
  }
  EXPECT_EQ(wrong, 0);
}

TEST(ArtPanel, CaptionBoxRowsArePlainFromX20) {
  const Decoded panel = DecodeEntry("panel.tw");
  ASSERT_EQ(panel.width, 174);
  for (int y = 15; y <= 46; ++y) {
    for (int x = 21; x <= 145; ++x) {
      ASSERT_EQ(panel.At(x, y), panel.At(20, y)) << "x " << x << " y " << y;
    }
  }
  // Black caption text must stay readable on it.
  for (int y = 15; y <= 46; ++y) {
    const std::uint32_t p = panel.At(20, y);
    EXPECT_GT(((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF), 3u * 180) << "row " << y;
  }
}

TEST(ArtButtons, HoverIsLighterAndPressedDarkerThanNormal) {
  const Decoded buttons = DecodeEntry("buttons.tw");
  ASSERT_EQ(buttons.width, 102);
  ASSERT_EQ(buttons.height, 57);
  for (int half : {0, 51}) {
    long sum[3] = {0, 0, 0};
    for (int state = 0; state < 3; ++state) {
      for (int y = 0; y < 19; ++y) {
        for (int x = half; x < half + 51; ++x) {
          const std::uint32_t p = buttons.At(x, 19 * state + y);
          sum[state] += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
        }
      }
    }
    EXPECT_GT(sum[1], sum[0]) << "hover lighter, x " << half;
    EXPECT_LT(sum[2], sum[0]) << "pressed darker, x " << half;
  }
  // The two arrows differ: previous and next are mirror images, not copies.
  int same = 0;
  for (int y = 0; y < 19; ++y) {
    for (int x = 0; x < 51; ++x) same += buttons.At(x, y) == buttons.At(51 + x, y);
  }
  EXPECT_LT(same, 51 * 19);
}

}  // namespace
