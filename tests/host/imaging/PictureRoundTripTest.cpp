// Encoder to decoder over many random pictures and masks: every encoding,
// filter combination, escape byte and mask type must come back bit-exact, and
// every run-length stream must end with its end code right after the last
// pixel (cutting one byte off must make it malformed).
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

#include "TestPictures.h"

namespace {

struct Shape {
  int width;
  int height;
};

// Pictures with the structure the codecs care about: runs, repeated rows,
// a few recurring colours, grey pixels and blue bytes equal to escapes.
std::vector<std::uint32_t> RandomPicture(std::mt19937& rng, int w, int h, bool grey) {
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h);
  const std::uint32_t few[] = {0x000000, 0xFFFFFF, 0x2500B6, 0x0801FF, 0x123456};
  std::uniform_int_distribution<int> pick(0, 99);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      std::uint32_t p;
      int r = pick(rng);
      if (r < 30 && x > 0) {
        p = px[static_cast<std::size_t>(y) * w + x - 1];
      } else if (r < 50 && y > 0) {
        p = px[static_cast<std::size_t>(y - 1) * w + x];
      } else if (r < 75) {
        p = few[rng() % 5];
      } else {
        p = rng() & 0xFFFFFF;
        if (r < 80) p = (p & 0xFFFF00) | (rng() % 2 ? 0xB6 : 0x25);
      }
      if (grey) p = (p & 0xFF) * 0x010101;
      px[static_cast<std::size_t>(y) * w + x] = p;
    }
  }
  return px;
}

Bytes RandomPlane(std::mt19937& rng, std::size_t n, bool levelsOnly) {
  Bytes plane(n);
  for (std::size_t i = 0; i < n; ++i) {
    std::uint8_t v;
    if (i > 0 && rng() % 4 != 0) {
      v = plane[i - 1];
    } else {
      v = static_cast<std::uint8_t>(rng() % 3 == 0 ? rng() : (rng() % 2 ? 0 : 255));
    }
    plane[i] = levelsOnly ? static_cast<std::uint8_t>(v / 17 * 17) : v;
  }
  return plane;
}

void ExpectRoundTrip(const std::vector<std::uint32_t>& px, int w, int h,
                     const PictureEncodeOptions& o, const std::string& what) {
  Bytes rec;
  std::string error;
  ASSERT_TRUE(EncodePictureRecord(px.data(), w, h, o, false, &rec, &error)) << what << error;
  int ok = 0;
  EXPECT_EQ(DecodeAll(rec, &ok, 0xABCDEF), px) << what;
  EXPECT_EQ(ok, 1) << what;
  if (o.encoding != kEncodingRaw) {
    Bytes cut(rec.begin(), rec.end() - 1);
    DecodeAll(cut, &ok);
    EXPECT_EQ(ok, 0) << what << ": the end code is not the last byte";
  }
}

class PictureRoundTrip : public ::testing::TestWithParam<int> {};

TEST_P(PictureRoundTrip, EveryEncodingFilterAndEscape) {
  std::mt19937 rng(static_cast<std::uint32_t>(GetParam()));
  const int w = 1 + static_cast<int>(rng() % 37), h = 1 + static_cast<int>(rng() % 23);
  const std::uint8_t escapes[] = {0x00, 0x25, 0xB6, 0xFF, static_cast<std::uint8_t>(rng())};
  const std::vector<std::uint32_t> colour = RandomPicture(rng, w, h, false);
  const std::vector<std::uint32_t> grey = RandomPicture(rng, w, h, true);
  for (std::uint8_t e : escapes) {
    for (int f = 0; f < 4; ++f) {
      PictureEncodeOptions o;
      o.escape = e;
      o.horizontalDelta = (f & 1) != 0;
      o.verticalDelta = (f & 2) != 0;
      std::string what = std::to_string(w) + "x" + std::to_string(h) + " escape " +
                         std::to_string(e) + " filters " + std::to_string(f);
      for (int enc : {kEncodingRaw, kEncodingColourRle}) {
        o.encoding = enc;
        ExpectRoundTrip(colour, w, h, o, what + " encoding " + std::to_string(enc));
      }
      o.encoding = kEncodingPaletteRle;
      std::vector<std::uint32_t> s =
          ApplyDeltaFilters(colour.data(), w, h, o.horizontalDelta, o.verticalDelta);
      o.palette = ChoosePalette(s, w, 255);
      ExpectRoundTrip(colour, w, h, o, what + " palette auto");
      o.palette = {s[0]};
      ExpectRoundTrip(colour, w, h, o, what + " palette of one");
      o.palette = {0x000000, 0xFFFFFF, 0x123456, 0x2500B6, 0x777777};
      ExpectRoundTrip(colour, w, h, o, what + " palette of five");
      o.palette.clear();
      ExpectRoundTrip(colour, w, h, o, what + " empty palette");
    }
    PictureEncodeOptions g;
    g.encoding = kEncodingGreyRle;
    g.escape = e;
    ExpectRoundTrip(grey, w, h, g, "grey escape " + std::to_string(e));
    g.colourSwitch = true;
    ExpectRoundTrip(grey, w, h, g, "grey switching, grey picture, escape " + std::to_string(e));
    ExpectRoundTrip(colour, w, h, g, "grey switching, colour picture, escape " + std::to_string(e));
  }
}

INSTANTIATE_TEST_SUITE_P(Seeds, PictureRoundTrip, ::testing::Range(1, 201));

class MaskRoundTrip : public ::testing::TestWithParam<int> {};

void ExpectMaskRoundTrip(const Bytes& plane, int w, int h, const MaskEncodeOptions& o,
                         const std::string& what) {
  Bytes rec;
  std::string error;
  ASSERT_TRUE(EncodeMaskRecord(plane.data(), w, h, o, &rec, &error)) << what << error;
  int ok = 0;
  EXPECT_EQ(DecodeMaskAll(rec, &ok), plane) << what;
  EXPECT_EQ(ok, 1) << what;
  Bytes cut(rec.begin(), rec.end() - 1);
  DecodeMaskAll(cut, &ok);
  EXPECT_EQ(ok, 0) << what << ": the stream does not end right after the plane";
}

TEST_P(MaskRoundTrip, EveryType) {
  std::mt19937 rng(static_cast<std::uint32_t>(GetParam()) * 7919u);
  const int w = 1 + static_cast<int>(rng() % 41), h = 1 + static_cast<int>(rng() % 29);
  const std::size_t n = static_cast<std::size_t>(w) * h;
  const Bytes plane = RandomPlane(rng, n, false);
  const Bytes levels = RandomPlane(rng, n, true);
  const std::string size = std::to_string(w) + "x" + std::to_string(h);

  MaskEncodeOptions o;
  o.type = kMaskRaw;
  ExpectMaskRoundTrip(plane, w, h, o, size + " raw");
  o.type = kMaskRle;
  o.bitsPerPixel = 8;
  ExpectMaskRoundTrip(plane, w, h, o, size + " pairs");
  o.bitsPerPixel = 4;
  ExpectMaskRoundTrip(levels, w, h, o, size + " nibbles");
  o.type = kMaskValueRuns;
  o.runValues = ChooseRunValues(plane.data(), n);
  ExpectMaskRoundTrip(plane, w, h, o, size + " value runs auto");
  o.runValues = {0x00, 0xFF, static_cast<std::uint8_t>(rng())};
  ExpectMaskRoundTrip(plane, w, h, o, size + " value runs listed");
  o.runValues.clear();
  ExpectMaskRoundTrip(plane, w, h, o, size + " no run values");
}

INSTANTIATE_TEST_SUITE_P(Seeds, MaskRoundTrip, ::testing::Range(1, 201));

// The decoder undoes the filters while it writes; the plain two-pass filters
// are the reference. Random token streams (not the encoder's choices) of
// runs, literals and escape literals, decoded with each filter combination.
TEST(FusedFilters, MatchThePlainTwoPassReference) {
  std::mt19937 rng(77);
  for (int round = 0; round < 300; ++round) {
    const int w = 1 + static_cast<int>(rng() % 30), h = 1 + static_cast<int>(rng() % 12);
    const std::uint8_t e = static_cast<std::uint8_t>(rng());
    Bytes stream;
    for (int left = w * h; left > 0;) {
      const int kind = static_cast<int>(rng() % 4);
      if (kind == 0) {
        const int n = std::min(left, 1 + static_cast<int>(rng() % 40));
        const std::uint32_t c = rng() % 2 ? 0 : rng() & 0xFFFFFF;
        stream.insert(stream.end(),
                      {e, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(c),
                       static_cast<std::uint8_t>(c >> 8), static_cast<std::uint8_t>(c >> 16)});
        left -= n;
      } else if (kind == 1) {
        stream.insert(stream.end(), {e, 0xFF, static_cast<std::uint8_t>(rng()),
                                     static_cast<std::uint8_t>(rng())});
        --left;
      } else {
        std::uint8_t b = static_cast<std::uint8_t>(rng());
        if (b == e) ++b;
        stream.insert(stream.end(),
                      {b, static_cast<std::uint8_t>(rng()), static_cast<std::uint8_t>(rng())});
        --left;
      }
    }
    stream.insert(stream.end(), {e, 0});
    int ok = 0;
    std::vector<std::uint32_t> reference = DecodeAll(MakeRecord(0x04, w, h, 24, 0, e, stream), &ok);
    ASSERT_EQ(ok, 1);
    for (int f = 1; f < 4; ++f) {
      std::vector<std::uint32_t> expected = reference;
      if (f & 1) UndoHorizontalDelta(expected.data(), w, w, h);
      if (f & 2) UndoVerticalDelta(expected.data(), w, w, h);
      auto got =
          DecodeAll(MakeRecord(static_cast<std::uint8_t>(0x04 | f), w, h, 24, 0, e, stream), &ok);
      EXPECT_EQ(ok, 1);
      ASSERT_EQ(got, expected) << "round " << round << " filters " << f;
    }
  }
}

TEST(LongRuns, CountsPastEveryLimitAreSplit) {
  // 300 x 300 of one value: runs longer than 254, 255 and 65535.
  const int w = 300, h = 300;
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, 0x2500B6);
  for (int enc : {kEncodingColourRle, kEncodingPaletteRle}) {
    PictureEncodeOptions o;
    o.encoding = enc;
    o.escape = 0xB6;
    o.palette = {0x2500B6};
    ExpectRoundTrip(px, w, h, o, "flat colour " + std::to_string(enc));
    o.palette = {0x2500B6, 0};
    ExpectRoundTrip(px, w, h, o, "flat colour, two entries " + std::to_string(enc));
  }
  std::vector<std::uint32_t> grey(px.size(), 0xB6B6B6);
  PictureEncodeOptions g;
  g.encoding = kEncodingGreyRle;
  g.escape = 0xB6;
  ExpectRoundTrip(grey, w, h, g, "flat grey");
  g.colourSwitch = true;
  ExpectRoundTrip(px, w, h, g, "flat colour in grey stream");
  Bytes plane(px.size(), 0xFF);
  plane[70000] = 0;
  for (int type : {kMaskRaw, kMaskRle, kMaskValueRuns}) {
    MaskEncodeOptions m;
    m.type = type;
    m.runValues = {0xFF};
    for (int bits : {8, 4}) {
      m.bitsPerPixel = bits;
      ExpectMaskRoundTrip(plane, w, h, m, "long mask " + std::to_string(type));
    }
  }
}

TEST(Encoder, RefusesWhatTheFormatCannotHold) {
  std::vector<std::uint32_t> px = {0x010203};
  Bytes rec;
  std::string error;
  PictureEncodeOptions grey;
  grey.encoding = kEncodingGreyRle;
  EXPECT_FALSE(EncodePictureRecord(px.data(), 1, 1, grey, false, &rec, &error));
  grey.verticalDelta = grey.colourSwitch = true;
  EXPECT_FALSE(EncodePictureRecord(px.data(), 1, 1, grey, false, &rec, &error));
  PictureEncodeOptions big;
  big.encoding = kEncodingPaletteRle;
  big.palette.assign(256, 0);
  EXPECT_FALSE(EncodePictureRecord(px.data(), 1, 1, big, false, &rec, &error));
  EXPECT_FALSE(EncodePictureRecord(px.data(), 0, 1, PictureEncodeOptions(), false, &rec, &error));
  Bytes plane = {0x12};
  MaskEncodeOptions nibble;
  nibble.bitsPerPixel = 4;
  EXPECT_FALSE(EncodeMaskRecord(plane.data(), 1, 1, nibble, &rec, &error));
  nibble.bitsPerPixel = 2;
  EXPECT_FALSE(EncodeMaskRecord(plane.data(), 1, 1, nibble, &rec, &error));
}

TEST(FileLayout, HeaderTablePaddingAndMaskFlag) {
  std::mt19937 rng(5);
  for (int i = 0; i < 20; ++i) {
    const int w = 1 + static_cast<int>(rng() % 17), h = 1 + static_cast<int>(rng() % 9);
    std::vector<std::uint32_t> px = RandomPicture(rng, w, h, false);
    Bytes plane = RandomPlane(rng, static_cast<std::size_t>(w) * h, false);
    Bytes pic, mask;
    std::string error;
    PictureEncodeOptions o;
    o.escape = 0xB6;
    o.verticalDelta = true;
    ASSERT_TRUE(EncodePictureRecord(px.data(), w, h, o, true, &pic, &error));
    ASSERT_TRUE(EncodeMaskRecord(plane.data(), w, h, MaskEncodeOptions(), &mask, &error));
    Bytes file = AssemblePicture({pic, mask});
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
              (Bytes{'T', 'W', '0', '1', 0, 1, 0, 0, 2, 0, 16, 0, 24, 0, 0, 0}));
    const std::size_t padded = (pic.size() + 3) / 4 * 4;
    EXPECT_EQ(file[16], 0);
    EXPECT_EQ(file[20] | (file[21] << 8), static_cast<int>(padded));
    EXPECT_EQ(file.size(), 24 + padded + mask.size());
    for (std::size_t k = 24 + pic.size(); k < 24 + padded; ++k) EXPECT_EQ(file[k], 0);
    EXPECT_EQ(pic[2], 0x86);
    EXPECT_EQ(pic[8] | (pic[9] << 8) | (pic[10] << 16), static_cast<int>(pic.size()));
    EXPECT_EQ(Bytes(pic.end() - 2, pic.end()), (Bytes{0xB6, 0x00}));
    Picture p(file.data(), file.size());
    PictureRecord r;
    ASSERT_TRUE(p.MaskRecord(&r));
    EXPECT_EQ(r.flags(), 0x11);
    EXPECT_EQ(r.bitsPerPixel(), 8);
  }
}

}  // namespace
