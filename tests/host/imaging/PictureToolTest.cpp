// The picture tool end to end, in-process: PNG in, picture file out, and back.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/PictureFormat.h"
#include "tools/picture/PictureTool.h"
#include "tools/picture/PngFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class PictureTool : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir[] = "/tmp/dida-picture-test-XXXXXX";
    ASSERT_NE(mkdtemp(dir), nullptr);
    m_dir = dir;
  }
  void TearDown() override { std::system(("rm -rf '" + m_dir + "'").c_str()); }

  std::string Path(const std::string& name) const { return m_dir + "/" + name; }

  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), "dida-picture");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    m_out.str("");
    m_err.str("");
    return RunPictureTool(static_cast<int>(argv.size()), argv.data(), m_out, m_err);
  }

  // An RGBA picture with runs, repeated rows and an alpha shape whose values
  // are 0, 255 and (when soft) some of the 4-bit levels 0x11 ... 0xEE.
  std::string WriteArt(const std::string& name, int w, int h, unsigned seed, bool soft = false) {
    std::mt19937 rng(seed);
    Bytes rgba(static_cast<std::size_t>(w) * h * 4);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint8_t* p = &rgba[(static_cast<std::size_t>(y) * w + x) * 4];
        if (x > 0 && rng() % 3 != 0) {
          std::copy(p - 4, p - 1, p);
        } else if (y > 0 && rng() % 2 == 0) {
          std::copy(p - 4 * w, p - 4 * w + 3, p);
        } else {
          p[0] = static_cast<std::uint8_t>(rng());
          p[1] = static_cast<std::uint8_t>(rng());
          p[2] = static_cast<std::uint8_t>(rng());
        }
        bool inside = (x - w / 2) * (x - w / 2) + (y - h / 2) * (y - h / 2) < w * h / 5;
        p[3] = inside ? 255 : (soft && x % 7 == 0 ? static_cast<std::uint8_t>(17 * (y % 15)) : 0);
      }
    }
    std::string error;
    EXPECT_TRUE(WritePng(Path(name), w, h, 4, rgba, &error)) << error;
    return Path(name);
  }

  Bytes ReadBytes(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }

  RgbaImage ReadImage(const std::string& path) {
    RgbaImage img;
    std::string error;
    EXPECT_TRUE(ReadPng(path, &img, &error)) << error;
    return img;
  }

  std::string m_dir;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

struct Delivered {
  const char* name;
  int width;
  int height;
  std::vector<std::string> options;
  std::uint8_t flags;
  std::uint8_t escape;
  int paletteCount;
  bool mask;
};

class DeliveredPictures : public PictureTool, public ::testing::WithParamInterface<Delivered> {};

TEST_P(DeliveredPictures, EncodeExactlyAsDeliveredAndDecodeBack) {
  const Delivered& d = GetParam();
  std::string png = WriteArt(std::string(d.name) + ".png", d.width, d.height, 11);
  std::string tw = Path(std::string(d.name) + ".tw");
  std::vector<std::string> args = {"encode", png, tw};
  args.insert(args.end(), d.options.begin(), d.options.end());
  ASSERT_EQ(Run(args), 0) << m_err.str();

  Bytes file = ReadBytes(tw);
  const int n = d.mask ? 2 : 1;
  EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
            (Bytes{'T', 'W', '0', '1', 0, 1, 0, 0, static_cast<std::uint8_t>(n), 0, 16, 0,
                   static_cast<std::uint8_t>(16 + 4 * n), 0, 0, 0}));
  Picture pic(file.data(), file.size());
  PictureRecord r;
  ASSERT_TRUE(pic.Record(0, &r));
  EXPECT_EQ(r.flags(), d.flags);
  EXPECT_EQ(r.width(), d.width);
  EXPECT_EQ(r.height(), d.height);
  EXPECT_EQ(r.escape(), d.escape);
  EXPECT_EQ(r.tableCount(), d.paletteCount);
  if (d.paletteCount == 1) EXPECT_EQ(Bytes(r.bytes + 20, r.bytes + 23), (Bytes{0, 0, 0}));
  PictureRecord m;
  EXPECT_EQ(pic.MaskRecord(&m), d.mask);
  if (d.mask) {
    EXPECT_EQ(m.flags(), 0x11);
    EXPECT_EQ(m.bitsPerPixel(), 8);
    EXPECT_EQ((file[20] | (file[21] << 8)) % 4, 0);  // the record before it is padded
  }

  std::string back = Path("back.png");
  std::vector<std::string> decode = {"decode", tw, back};
  if (d.mask) decode.insert(decode.end(), {"--mask-out", Path("mask.png")});
  ASSERT_EQ(Run(decode), 0) << m_err.str();
  RgbaImage in = ReadImage(png), out = ReadImage(back);
  ASSERT_EQ(in.rgba.size(), out.rgba.size());
  for (std::size_t i = 0; i < in.rgba.size(); i += 4) {
    ASSERT_EQ(Bytes(in.rgba.begin() + i, in.rgba.begin() + i + 3),
              Bytes(out.rgba.begin() + i, out.rgba.begin() + i + 3))
        << "pixel " << i / 4;
  }
  if (d.mask) {
    RgbaImage mask = ReadImage(Path("mask.png"));
    for (std::size_t i = 0; i < in.rgba.size(); i += 4) {
      ASSERT_EQ(mask.rgba[i], in.rgba[i + 3] != 0 ? 255 : 0) << "mask pixel " << i / 4;
    }
  }
  ASSERT_EQ(Run({"info", tw}), 0);
  EXPECT_NE(m_out.str().find("stream ok"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, DeliveredPictures,
    ::testing::Values(Delivered{"char",
                                612,
                                157,
                                {"--encoding", "colour", "--vdelta", "--escape", "0xB6", "--mask",
                                 "--mask-type", "rle8", "--mask-binary"},
                                0x86,
                                0xB6,
                                0,
                                true},
                      Delivered{"buttons",
                                102,
                                57,
                                {"--encoding", "colour", "--vdelta", "--escape", "0x25"},
                                0x06,
                                0x25,
                                0,
                                false},
                      Delivered{
                          "panel",
                          174,
                          132,
                          {"--encoding", "palette", "--palette", "000000", "--hdelta", "--vdelta",
                           "--escape", "0x08", "--mask", "--mask-type", "rle8", "--mask-binary"},
                          0x8B,
                          0x08,
                          1,
                          true}),
    [](const auto& info) { return std::string(info.param.name); });

struct Variant {
  const char* name;
  std::vector<std::string> options;
  std::uint8_t flags;
  std::uint8_t maskFlags;
  int maskBits;
};

class EncodingVariants : public PictureTool, public ::testing::WithParamInterface<Variant> {};

TEST_P(EncodingVariants, RoundTripThroughTheTool) {
  const Variant& v = GetParam();
  std::string png = WriteArt("in.png", 33, 20, 3, true);
  std::string tw = Path("out.tw");
  std::vector<std::string> args = {"encode", png, tw};
  args.insert(args.end(), v.options.begin(), v.options.end());
  ASSERT_EQ(Run(args), 0) << m_err.str();
  Bytes file = ReadBytes(tw);
  Picture pic(file.data(), file.size());
  PictureRecord r, m;
  ASSERT_TRUE(pic.Record(0, &r));
  EXPECT_EQ(r.flags(), v.flags);
  ASSERT_TRUE(pic.MaskRecord(&m));
  EXPECT_EQ(m.flags(), v.maskFlags);
  EXPECT_EQ(m.bitsPerPixel(), v.maskBits);
  ASSERT_EQ(Run({"decode", tw, Path("back.png"), "--alpha"}), 0) << m_err.str();
  RgbaImage in = ReadImage(png), out = ReadImage(Path("back.png"));
  EXPECT_EQ(out.rgba, in.rgba);
}

INSTANTIATE_TEST_SUITE_P(
    Options, EncodingVariants,
    ::testing::Values(
        Variant{"raw_both_deltas_raw_mask",
                {"--encoding", "raw", "--hdelta", "--vdelta", "--mask-type", "raw"},
                0x83,
                0x10,
                8},
        Variant{"palette_auto_value_runs",
                {"--encoding", "palette", "--hdelta", "--mask-type", "runs"},
                0x89,
                0x12,
                8},
        Variant{"palette_listed_value_runs_listed",
                {"--encoding", "palette", "--palette", "000000,ffffff", "--mask-type", "runs",
                 "--run-values", "00,ff"},
                0x88,
                0x12,
                8},
        Variant{"colour_hdelta_pairs", {"--hdelta", "--mask"}, 0x85, 0x11, 8},
        Variant{"colour_nibbles", {"--mask-type", "rle4", "--escape", "255"}, 0x84, 0x11, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PictureTool, GreyEncodingKeepsGreyPicturesAndSwitchesForColour) {
  Bytes rgba;
  for (int i = 0; i < 40; ++i) {
    std::uint8_t v = static_cast<std::uint8_t>(i < 20 ? 0x25 : i * 5);
    rgba.insert(rgba.end(), {v, v, v, 255});
  }
  rgba[4 * 30] = 0x99;  // one colour pixel
  std::string error;
  ASSERT_TRUE(WritePng(Path("g.png"), 8, 5, 4, rgba, &error));
  ASSERT_EQ(Run({"encode", Path("g.png"), Path("g.tw"), "--encoding", "grey", "--escape", "0x25"}),
            0);
  Bytes file = ReadBytes(Path("g.tw"));
  EXPECT_EQ(file[20 + 2], 0x0D);  // grey with colour switching, chosen for the colour pixel
  ASSERT_EQ(Run({
                "decode",
                Path("g.tw"),
                Path("back.png"),
            }),
            0)
      << m_err.str();
  RgbaImage out = ReadImage(Path("back.png"));
  EXPECT_EQ(out.rgba, rgba);
  rgba[4 * 30] = rgba[4 * 30 + 1];
  ASSERT_TRUE(WritePng(Path("g.png"), 8, 5, 4, rgba, &error));
  ASSERT_EQ(Run({"encode", Path("g.png"), Path("g.tw"), "--encoding", "grey"}), 0);
  EXPECT_EQ(ReadBytes(Path("g.tw"))[20 + 2], 0x0C);
}

TEST_F(PictureTool, AutoIsNoLargerThanAnyFixedChoice) {
  std::string png = WriteArt("in.png", 40, 30, 9);
  ASSERT_EQ(Run({"encode", png, Path("auto.tw"), "--auto", "--mask"}), 0) << m_err.str();
  const std::size_t autoSize = ReadBytes(Path("auto.tw")).size();
  const std::vector<std::vector<std::string>> fixed = {{"--encoding", "raw"},
                                                       {"--vdelta"},
                                                       {"--hdelta", "--vdelta"},
                                                       {"--encoding", "palette", "--vdelta"},
                                                       {"--encoding", "grey"}};
  for (const auto& f : fixed) {
    std::vector<std::string> args = {"encode", png, Path("f.tw"), "--mask"};
    args.insert(args.end(), f.begin(), f.end());
    ASSERT_EQ(Run(args), 0) << m_err.str();
    EXPECT_LE(autoSize, ReadBytes(Path("f.tw")).size()) << f[0];
  }
  ASSERT_EQ(Run({"decode", Path("auto.tw"), Path("back.png"), "--alpha"}), 0);
  EXPECT_EQ(ReadImage(Path("back.png")).rgba, ReadImage(png).rgba);
}

TEST_F(PictureTool, MaskImageUsesItsGreyLevelOrAlpha) {
  std::string png = WriteArt("in.png", 10, 6, 4);
  Bytes grey(60);
  for (int i = 0; i < 60; ++i) grey[i] = static_cast<std::uint8_t>(i * 4);
  std::string error;
  ASSERT_TRUE(WritePng(Path("m.png"), 10, 6, 1, grey, &error));
  ASSERT_EQ(Run({"encode", png, Path("o.tw"), "--mask-image", Path("m.png")}), 0) << m_err.str();
  ASSERT_EQ(Run({"decode", Path("o.tw"), Path("o.png"), "--mask-out", Path("om.png")}), 0);
  RgbaImage m = ReadImage(Path("om.png"));
  for (int i = 0; i < 60; ++i) ASSERT_EQ(m.rgba[4 * i], grey[i]);
  ASSERT_EQ(Run({"encode", png, Path("o.tw"), "--mask-image", Path("m.png"), "--mask-binary"}), 0);
  ASSERT_EQ(Run({"decode", Path("o.tw"), Path("o.png"), "--mask-out", Path("om.png")}), 0);
  m = ReadImage(Path("om.png"));
  EXPECT_EQ(m.rgba[0], 0);
  for (int i = 1; i < 60; ++i) ASSERT_EQ(m.rgba[4 * i], 255);
}

// Every pixel and mask value K x K times, nothing blended: the picture as the
// launcher shows artwork made for a scale K times smaller.
TEST_F(PictureTool, DecodeRepeatsEveryPixelAsABlock) {
  std::string png = WriteArt("in.png", 7, 5, 21, true);
  ASSERT_EQ(Run({"encode", png, Path("o.tw"), "--mask"}), 0) << m_err.str();
  const int k = 3;
  ASSERT_EQ(Run({"decode", Path("o.tw"), Path("big.png"), "--repeat", "3", "--mask-out",
                 Path("big-mask.png")}),
            0)
      << m_err.str();
  RgbaImage in = ReadImage(png), out = ReadImage(Path("big.png")),
            mask = ReadImage(Path("big-mask.png"));
  ASSERT_EQ(out.width, 7 * k);
  ASSERT_EQ(out.height, 5 * k);
  ASSERT_EQ(mask.width, 7 * k);
  ASSERT_EQ(mask.height, 5 * k);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const std::size_t o = 4 * (static_cast<std::size_t>(y) * out.width + x);
      const std::size_t i = 4 * (static_cast<std::size_t>(y / k) * in.width + x / k);
      ASSERT_EQ(Bytes(out.rgba.begin() + o, out.rgba.begin() + o + 3),
                Bytes(in.rgba.begin() + i, in.rgba.begin() + i + 3))
          << x << "," << y;
      ASSERT_EQ(mask.rgba[o], in.rgba[i + 3]) << "mask " << x << "," << y;
    }
  }
}

TEST_F(PictureTool, BadInputFailsWithAMessage) {
  std::string png = WriteArt("in.png", 10, 6, 4, true);
  std::ofstream(Path("junk.png")) << "not a png at all";
  std::ofstream(Path("junk.tw")) << "TW01 but nothing else";
  std::string error;
  ASSERT_TRUE(WritePng(Path("small.png"), 2, 2, 1, Bytes(4, 0), &error));
  Bytes odd(10 * 6 * 4, 0x12);  // alpha 0x12 is no 4-bit level
  ASSERT_TRUE(WritePng(Path("odd.png"), 10, 6, 4, odd, &error));
  struct Case {
    std::vector<std::string> args;
    int status;
  };
  const Case cases[] = {
      {{"encode", Path("missing.png"), Path("o.tw")}, 1},
      {{"encode", Path("junk.png"), Path("o.tw")}, 1},
      {{"encode", png, Path("o.tw"), "--mask-image", Path("small.png")}, 1},
      {{"encode", Path("odd.png"), Path("o.tw"), "--mask-type", "rle4"}, 1},
      {{"encode", png, Path("o.tw"), "--mask-channel", "grey", "--mask"}, 1},
      {{"encode", png, Path("no-such-dir/o.tw")}, 1},
      {{"decode", Path("junk.tw"), Path("o.png")}, 1},
      {{"decode", Path("junk.png"), Path("o.png")}, 1},
      {{"info", Path("junk.tw")}, 1},
      {{"encode", png, Path("o.tw"), "--escape", "0x100"}, 2},
      {{"encode", png, Path("o.tw"), "--palette", "12345"}, 2},
      {{"encode", png, Path("o.tw"), "--encoding", "jpeg"}, 2},
      {{"encode", png, Path("o.tw"), "--mask-type", "rle2"}, 2},
      {{"encode", png}, 2},
      {{"encode", png, Path("o.tw"), "--escape"}, 2},
      {{"decode", Path("o.tw"), Path("o.png"), "--repeat", "0"}, 2},
      {{"decode", Path("o.tw"), Path("o.png"), "--repeat", "9"}, 2},
      {{"decode", Path("o.tw"), Path("o.png"), "--repeat", "2x"}, 2},
      {{"frobnicate"}, 2},
      {{}, 2},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const auto& a : c.args) line += a + " ";
    EXPECT_EQ(Run(c.args), c.status) << line;
    EXPECT_NE(m_err.str().find("dida-picture"), std::string::npos) << line;
  }
  // A picture without a mask cannot give one.
  ASSERT_EQ(Run({"encode", png, Path("plain.tw")}), 0);
  EXPECT_EQ(Run({"decode", Path("plain.tw"), Path("o.png"), "--alpha"}), 1);
}

TEST_F(PictureTool, HelpDocumentsEveryOption) {
  ASSERT_EQ(Run({"--help"}), 0);
  for (const char* word :
       {"encode", "decode", "info", "--encoding", "raw|colour|palette|grey|auto", "--hdelta",
        "--vdelta", "--escape", "--palette", "--mask-image", "--mask-type", "raw|rle8|rle4|runs",
        "--mask-binary", "--auto", "--mask-out", "--alpha", "--colour-switch", "--run-values",
        "--repeat"}) {
    EXPECT_NE(m_out.str().find(word), std::string::npos) << word;
  }
}

}  // namespace
