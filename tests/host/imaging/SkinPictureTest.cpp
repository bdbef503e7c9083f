// Skin pictures after decoding: the blend over the built-in picture, the hit
// mask, the blink area; and the files before decoding: names and headers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "imaging/SkinFile.h"
#include "imaging/SkinPicture.h"

namespace {

using Words = std::vector<std::uint32_t>;

SkinPixels View(const Words& w, int width, int height) {
  return {w.data(), w.size(), width, height};
}

struct BlendCase {
  std::uint32_t skin, background, expected;
};

// Rounded to nearest, channel by channel; the background's top byte and a
// transparent pixel's colour never show.
const BlendCase kBlends[] = {
    {0x00FF00FFu, 0xFF123456u, 0x00123456u},  // alpha 0
    {0xFFABCDEFu, 0x00123456u, 0x00ABCDEFu},  // alpha 255
    {0x64C80AFFu, 0x000AC800u, 0x00557D64u},  // 84.51 -> 85, 125.49 -> 125, 100 exactly
    {0x01FFFFFFu, 0x00000000u, 0x00010101u},  // 1.0 exactly
    {0x80000000u, 0x00FF0102u, 0x007F0001u},  // 127 exactly, 0.498 -> 0, 0.996 -> 1
};

TEST(SkinBlend, EachChannelIsTheRoundedMixByAlpha) {
  Words skin, background;
  for (const BlendCase& c : kBlends) {
    skin.push_back(c.skin);
    background.push_back(c.background);
  }
  const int n = static_cast<int>(skin.size());
  Words out(skin.size(), 0xDEADBEEFu);
  ASSERT_TRUE(BlendSkinPicture(View(skin, n, 1), View(background, n, 1), out.data(), out.size()));
  for (int i = 0; i < n; ++i) EXPECT_EQ(out[i], kBlends[i].expected) << "case " << i;
}

// Sizes that disagree or buffers too short write nothing.
TEST(SkinBlend, RefusesSizesThatDoNotMatchTheBuffers) {
  const Words six(6, 0xFF000000u), five(5, 0xFF000000u);
  Words out(6, 7);
  EXPECT_FALSE(BlendSkinPicture(View(six, 3, 2), View(six, 2, 3), out.data(), out.size()));
  EXPECT_FALSE(BlendSkinPicture(View(five, 3, 2), View(six, 3, 2), out.data(), out.size()));
  EXPECT_FALSE(BlendSkinPicture(View(six, 3, 2), View(six, 3, 2), out.data(), 5));
  EXPECT_FALSE(BlendSkinPicture(View(six, 0, 2), View(six, 0, 2), out.data(), out.size()));
  EXPECT_FALSE(BlendSkinPicture(View(six, 1 << 16, 1 << 12), View(six, 1 << 16, 1 << 12),
                                out.data(), out.size()));
  EXPECT_EQ(out, Words(6, 7));
  std::uint8_t mask[6] = {9, 9, 9, 9, 9, 9};
  EXPECT_FALSE(SkinHitMask(View(six, 3, 2), mask, 5));
  EXPECT_FALSE(SkinHitMask(View(five, 3, 2), mask, 6));
  EXPECT_EQ(mask[0], 9);
}

TEST(SkinHitMask, BodyIsAlphaAboveOneHalf) {
  const Words skin = {0x00FFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0xFF000000u};
  std::uint8_t mask[4] = {1, 1, 1, 1};
  ASSERT_TRUE(SkinHitMask(View(skin, 2, 2), mask, 4));
  EXPECT_EQ(std::vector<int>(mask, mask + 4), (std::vector<int>{0, 0, 255, 255}));
}

struct BlinkCase {
  const char* name;
  std::vector<int> changed;  // pixel indices of a 5 x 4 picture whose colour changes
  SkinRect expected;
};

class SkinBlink : public ::testing::TestWithParam<BlinkCase> {};

// The open and blink skins are blended over one background first: pixels that
// differ only where both are fully transparent do not blink.
TEST_P(SkinBlink, AreaIsTheBoundingBoxOfPixelsThatDifferAfterBlending) {
  const int w = 5, h = 4;
  Words background(w * h), open(w * h), blink(w * h);
  for (int i = 0; i < w * h; ++i) {
    background[i] = 0x00101010u * (i % 7);
    open[i] = i % 5 == 4 ? 0x00FFFFFFu : 0xFF000000u | (0x00030507u * i);
    blink[i] = open[i] ^ (i % 5 == 4 ? 0x00FFFF00u : 0);  // invisible differences
  }
  for (int i : GetParam().changed) blink[i] ^= 0xFF000001u;  // alpha and blue
  Words a(w * h), b(w * h);
  ASSERT_TRUE(BlendSkinPicture(View(open, w, h), View(background, w, h), a.data(), a.size()));
  ASSERT_TRUE(BlendSkinPicture(View(blink, w, h), View(background, w, h), b.data(), b.size()));
  SkinRect area = {-1, -1, -1, -1};
  ASSERT_TRUE(SkinBlinkArea(View(a, w, h), View(b, w, h), &area));
  const SkinRect& e = GetParam().expected;
  EXPECT_EQ(std::vector<int>({area.left, area.top, area.right, area.bottom}),
            std::vector<int>({e.left, e.top, e.right, e.bottom}));
}

INSTANTIATE_TEST_SUITE_P(Cases, SkinBlink,
                         ::testing::Values(BlinkCase{"none", {}, {0, 0, 0, 0}},
                                           BlinkCase{"one", {7}, {2, 1, 3, 2}},
                                           BlinkCase{"corners", {15, 3}, {0, 0, 4, 4}},
                                           BlinkCase{"diagonal", {13, 6}, {1, 1, 4, 3}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SkinBlinkArea, RefusesPicturesOfDifferentSizes) {
  const Words six(6);
  SkinRect area = {1, 2, 3, 4};
  EXPECT_FALSE(SkinBlinkArea(View(six, 3, 2), View(six, 2, 3), &area));
  EXPECT_EQ(area.left + area.top + area.right + area.bottom, 10);
}

TEST(SkinFileName, NamesEachPartAtEachScale) {
  const struct {
    SkinPart part;
    int page, percent;
    const char* name;
  } cases[] = {
      {kSkinPage, 0, 100, "page1.png"},
      {kSkinPage, 5, 200, "page6@2x.png"},
      {kSkinPageBlink, 2, 125, "page3-blink@1.25x.png"},
      {kSkinPanel, 9, 150, "panel@1.5x.png"},
      {kSkinButtons, 0, 500, "buttons@5x.png"},
      {kSkinPage, 6, 100, ""},
      {kSkinPage, -1, 100, ""},
      {kSkinPanel, 0, 99, ""},
      {kSkinPanel, 0, 501, ""},
  };
  for (const auto& c : cases) {
    char name[32] = "junk";
    EXPECT_EQ(SkinFileName(c.part, c.page, c.percent, name, sizeof name), *c.name != '\0');
    EXPECT_STREQ(name, c.name);
  }
  char tight[10] = "junk";  // "page1.png" and its terminator fill exactly 10
  EXPECT_TRUE(SkinFileName(kSkinPage, 0, 100, tight, 10));
  EXPECT_FALSE(SkinFileName(kSkinPage, 0, 100, tight, 9));
  EXPECT_STREQ(tight, "");
}

std::vector<std::uint8_t> PngStart(std::uint32_t width, std::uint32_t height) {
  std::vector<std::uint8_t> b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A,
                                 0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (std::uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
  }
  b.insert(b.end(), {8, 6, 0, 0, 0, 0x11, 0x22, 0x33, 0x44});
  return b;
}

TEST(SkinFileHeader, SizeIsCheckedBeforeDecoding) {
  const SkinSize frame = {102, 113};
  EXPECT_EQ(CheckSkinFileHeader(PngStart(102, 113).data(), 33, frame), kSkinAccepted);
  EXPECT_EQ(CheckSkinFileHeader(PngStart(113, 102).data(), 33, frame), kSkinWrongSize);
  EXPECT_EQ(CheckSkinFileHeader(PngStart(100000, 100000).data(), 33, frame), kSkinWrongSize);
  // An expected width of -1 is not the header's 0xFFFFFFFF.
  EXPECT_EQ(CheckSkinFileHeader(PngStart(0xFFFFFFFFu, 113).data(), 33, {-1, 113}), kSkinWrongSize);
  EXPECT_EQ(CheckSkinFileHeader(PngStart(102, 113).data(), 32, frame), kSkinDamaged);
  std::vector<std::uint8_t> other = PngStart(102, 113);
  std::memcpy(&other[12], "IDAT", 4);
  EXPECT_EQ(CheckSkinFileHeader(other.data(), other.size(), frame), kSkinDamaged);
  other = PngStart(102, 113);
  other[0] = 'B';
  EXPECT_EQ(CheckSkinFileHeader(other.data(), other.size(), frame), kSkinNotPng);
  EXPECT_EQ(CheckSkinFileHeader(other.data(), 0, frame), kSkinNotPng);
}

}  // namespace
