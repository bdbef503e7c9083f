// The fast pixel decoder against the plain one (stream values, then the two
// filter passes) on random token streams of every encoding and filter
// combination: well-formed ones, ones that end early, run past the picture,
// stop inside a token or name a missing palette entry. Each is decoded into
// randomly filled targets, whole and clipped, and placed at several positions
// of a surface; every pixel must match the plain decode. The mask decoder
// likewise against its plain reference, into planes of every size.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "TestPictures.h"
#include "imaging/PicturePlacement.h"
#include "imaging/PixelKernels.h"

namespace {

using Pixels = std::vector<std::uint32_t>;

// The builds of the decoder this processor can run.
std::vector<PixelKernel> AvailableKernels() {
  std::vector<PixelKernel> kernels;
  for (const PixelKernel kernel : {PixelKernel::kPortable, PixelKernel::kSsse3}) {
    if (PixelKernelAvailable(kernel)) kernels.push_back(kernel);
  }
  return kernels;
}

Pixels Noise(std::mt19937& rng, std::size_t n) {
  Pixels px(n);
  for (std::uint32_t& p : px) p = rng();
  return px;
}

// Random tokens of one encoding, about `pixels` pixels' worth, with runs that
// end exactly at row ends, escapes and switches anywhere, and sometimes an
// early end, a run past the end, a cut inside a token or a bad palette index.
class StreamMaker {
 public:
  StreamMaker(std::mt19937& rng, int flags, int width, std::uint8_t escape, int paletteCount)
      : m_rng(rng),
        m_encoding(flags & kPicEncodingMask),
        m_switch((flags & kPicHorizontalDelta) != 0),
        m_width(width),
        m_escape(escape),
        m_count(paletteCount) {}

  Bytes Make(int pixels) {
    Bytes s;
    if (m_encoding == kEncodingRaw) return Raw(pixels / std::max(m_width, 1));
    for (int done = 0; done < pixels;) {
      if (Chance(2)) break;  // an early end code
      done += Token(s, pixels - done, m_width - done % std::max(m_width, 1));
    }
    if (Chance(10)) Token(s, 300, 300);  // one token too many
    End(s);
    if (Chance(10)) s.resize(m_rng() % (s.size() + 1));  // cut anywhere
    return s;
  }

 private:
  bool Chance(int percent) { return static_cast<int>(m_rng() % 100) < percent; }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(m_rng()); }
  // Mostly zeros and a few colours: what the filters leave of real art.
  std::uint32_t Colour() {
    const std::uint32_t few[] = {0, 0, 0, 0x010203, 0xFFFFFF};
    return Chance(50) ? few[m_rng() % 5] : m_rng() & 0xFFFFFF;
  }
  void Put3(Bytes& s, std::uint32_t c) {
    s.insert(s.end(), {static_cast<std::uint8_t>(c), static_cast<std::uint8_t>(c >> 8),
                       static_cast<std::uint8_t>(c >> 16)});
  }
  // A run length: often exactly to the row's end, sometimes across rows.
  int Count(int left, int toRowEnd, int max) {
    int n = Chance(30) ? toRowEnd : 1 + static_cast<int>(m_rng() % (Chance(80) ? 8 : max));
    return std::max(1, std::min({n, left + (Chance(5) ? 3 : 0), max}));
  }

  // Appends one token; returns the pixels it adds.
  int Token(Bytes& s, int left, int toRowEnd) {
    const bool colour = m_encoding != kEncodingGreyRle || m_colourOn;
    const int kind = static_cast<int>(m_rng() % 10);
    if (kind < 4) {  // literal
      std::uint8_t b = Byte();
      if (b == m_escape) ++b;
      s.push_back(b);
      if (colour) s.insert(s.end(), {Byte(), Byte()});
      return 1;
    }
    s.push_back(m_escape);
    if (kind == 4) {  // the escape byte as a literal
      s.push_back(0xFF);
      if (colour) s.insert(s.end(), {Byte(), Byte()});
      return 1;
    }
    if (m_encoding == kEncodingGreyRle && m_switch && kind == 5) {
      m_colourOn = Chance(50);
      s.insert(s.end(), {1, static_cast<std::uint8_t>(m_colourOn ? 1 + m_rng() % 255 : 0)});
      return 0;
    }
    if (m_encoding == kEncodingPaletteRle) {
      const int n = Count(left, toRowEnd, m_count == 1 ? 254 : 255);
      if (m_count != 1) {
        // Now and then an index at or past the palette's end.
        const int index = Chance(5) || m_count == 0 ? m_count + static_cast<int>(m_rng() % 3)
                                                    : static_cast<int>(m_rng() % m_count);
        s.push_back(static_cast<std::uint8_t>(index));
      }
      s.push_back(static_cast<std::uint8_t>(n));
      return n;
    }
    const int minimum = m_encoding == kEncodingGreyRle && m_switch ? 2 : 1;
    const int n = std::max(minimum, Count(left, toRowEnd, 254));
    s.push_back(static_cast<std::uint8_t>(n));
    if (colour) {
      Put3(s, Colour());
    } else {
      s.push_back(Byte());
    }
    return n;
  }

  void End(Bytes& s) {
    s.push_back(m_escape);
    if (m_encoding == kEncodingPaletteRle && m_count != 1) s.push_back(Byte());
    s.push_back(0);
  }

  Bytes Raw(int rows) {
    const std::size_t rowBytes = (3 * static_cast<std::size_t>(m_width) + 3) / 4 * 4;
    Bytes s;
    for (int y = 0; y < rows; ++y) {
      for (int x = 0; x < m_width; ++x) Put3(s, Colour());
      s.resize(y + 1 == rows && Chance(50) ? s.size() : (y + 1) * rowBytes, 0xAA);
    }
    if (Chance(20)) s.resize(m_rng() % (s.size() + 1));
    return s;
  }

  std::mt19937& m_rng;
  int m_encoding;
  bool m_switch;
  int m_width;
  std::uint8_t m_escape;
  int m_count;
  bool m_colourOn = false;
};

Bytes RandomRecord(std::mt19937& rng, int width, int height) {
  const int encodings[] = {kEncodingRaw, kEncodingColourRle, kEncodingPaletteRle, kEncodingGreyRle};
  const int flags = encodings[rng() % 4] | static_cast<int>(rng() % 4);
  const std::uint8_t escapes[] = {0x00, 0x25, 0xB6, 0xFF, static_cast<std::uint8_t>(rng())};
  const std::uint8_t escape = escapes[rng() % 5];
  Bytes table;
  int count = 0;
  if ((flags & kPicEncodingMask) == kEncodingPaletteRle) {
    const int counts[] = {0, 1, 1, 2, 5};
    count = counts[rng() % 5];
    for (int i = 0; i < 4 * count; ++i) table.push_back(static_cast<std::uint8_t>(rng()));
  }
  StreamMaker maker(rng, flags, width, escape, count);
  Bytes body = maker.Make(width * height);
  body.insert(body.begin(), table.begin(), table.end());
  return MakeRecord(static_cast<std::uint8_t>(flags), width, height, 24, count, escape, body);
}

TEST(DecoderDifferential, FastDecodeEqualsPlainDecodeEverywhere) {
  for (std::uint32_t seed = 1; seed <= 20000; ++seed) {
    std::mt19937 rng(seed);
    const int w = static_cast<int>(rng() % 19), h = 1 + static_cast<int>(rng() % 7);
    const Bytes rec = RandomRecord(rng, w, h);
    const PictureRecord r = View(rec);
    const std::size_t n = static_cast<std::size_t>(w) * h;
    const std::string what = "seed " + std::to_string(seed) + ", " + std::to_string(w) + "x" +
                             std::to_string(h) + " flags " + std::to_string(rec[2]);

    Pixels plain = Noise(rng, n);
    const int plainOk = DecodePixelsPlain(r, plain.data(), w, h);
    Pixels fast = Noise(rng, n);
    ASSERT_EQ(DecodePixels(r, fast.data(), w, h), plainOk) << what;
    ASSERT_EQ(fast, plain) << what;

    // A clipped target gets the corner of the whole picture.
    const int cw = static_cast<int>(rng() % (w + 1)), ch = static_cast<int>(rng() % (h + 1));
    Pixels corner = Noise(rng, static_cast<std::size_t>(cw) * ch);
    EXPECT_EQ(DecodePixels(r, corner.data(), cw, ch), plainOk) << what;
    for (int y = 0; y < ch; ++y) {
      for (int x = 0; x < cw; ++x) {
        ASSERT_EQ(corner[y * cw + x], plain[y * w + x]) << what << " clipped at " << x << "," << y;
      }
    }

    // Placements in a surface (top-down coordinates, bottom-up memory rows):
    // inside (decoded in place) and sticking out on every side (decoded aside).
    const int sw = 1 + static_cast<int>(rng() % 24), sh = 1 + static_cast<int>(rng() % 10);
    const int places[][2] = {{0, 0},
                             {sw - w, sh - h},
                             {-1, 1},
                             {1, 1},
                             {-w / 2, -1},
                             {sw - 1, sh - 2},
                             {static_cast<int>(rng() % sw), 0}};
    for (const auto& place : places) {
      const int px = place[0], py = place[1];
      const Pixels before = Noise(rng, static_cast<std::size_t>(sw) * sh);
      Pixels surface = before;
      const int ok = DecodePictureAt(r, surface.data(), sw, sh, px, py);
      if (w > 0) {
        EXPECT_EQ(ok, plainOk) << what << " at " << px << "," << py;
      }
      for (int y = 0; y < sh; ++y) {
        for (int x = 0; x < sw; ++x) {
          const std::size_t at = static_cast<std::size_t>(sh - 1 - y) * sw + x;
          const int u = x - px, v = y - py;  // in the picture, top-down
          const bool inside = w > 0 && u >= 0 && u < w && v >= 0 && v < h;
          const std::uint32_t want = inside ? plain[(h - 1 - v) * w + u] : before[at];
          ASSERT_EQ(surface[at], want)
              << what << " placed at " << px << "," << py << ", pixel " << x << "," << y;
        }
      }
    }
  }
}

// Rows of 8 pixels and more, stored as one line, take the line loop, with
// its rounds, blocks and four-literal groups, in each build of the decoder.
// Bytes after the stream (the file goes on) let it reach the picture's end.
// Nothing may be written past the picture, though blocks write ahead.
TEST(DecoderDifferential, EveryKernelEqualsPlainDecodeOnWideRows) {
  for (const PixelKernel kernel : AvailableKernels()) {
    for (std::uint32_t seed = 1; seed <= 4000; ++seed) {
      std::mt19937 rng(seed);
      const int w = 8 + static_cast<int>(rng() % 90), h = 1 + static_cast<int>(rng() % 12);
      Bytes rec = RandomRecord(rng, w, h);
      for (int i = 0; i < 64; ++i) rec.push_back(static_cast<std::uint8_t>(rng()));
      const PictureRecord r = View(rec);
      const std::size_t n = static_cast<std::size_t>(w) * h;
      const std::string what = "kernel " + std::to_string(static_cast<int>(kernel)) + ", seed " +
                               std::to_string(seed) + ", " + std::to_string(w) + "x" +
                               std::to_string(h) + " flags " + std::to_string(rec[2]);
      Pixels plain(n);
      const int plainOk = DecodePixelsPlain(r, plain.data(), w, h);
      const Pixels before = Noise(rng, n + 64);
      Pixels fast = before;
      ASSERT_EQ(DecodePixelsWith(kernel, r, fast.data(), w, h), plainOk) << what;
      ASSERT_EQ(Pixels(fast.begin(), fast.begin() + n), plain) << what;
      ASSERT_EQ(Pixels(fast.begin() + n, fast.end()), Pixels(before.begin() + n, before.end()))
          << what << ": written past the picture";
    }
  }
}

TEST(DecoderDifferential, LiteralsAfterARunCrossIntoTheFilteredRows) {
  // 16 x 2, vertical filter: a run of 9 in row 0, then literals across its
  // end, which a round that forgot the run's pixels would write unfiltered.
  Bytes body = {0x25, 9, 1, 2, 3};
  for (int i = 0; i < 11; ++i) body.insert(body.end(), {0x40, static_cast<std::uint8_t>(i), 7});
  body.insert(body.end(), {0x25, 12, 0, 0, 0, 0x25, 0});
  body.resize(body.size() + 64, 0x25);
  const Bytes rec = MakeRecord(0x06, 16, 2, 24, 0, 0x25, body);
  const Pixels plain = [&] {
    Pixels px(32);
    EXPECT_EQ(DecodePixelsPlain(View(rec), px.data(), 16, 2), 1);
    return px;
  }();
  for (const PixelKernel kernel : AvailableKernels()) {
    Pixels fast(32);
    EXPECT_EQ(DecodePixelsWith(kernel, View(rec), fast.data(), 16, 2), 1);
    EXPECT_EQ(fast, plain) << "kernel " << static_cast<int>(kernel);
  }
}

// Near the picture's end the line loop's rounds shrink and a run may find no
// room for its blocks: every run length at every distance from the end,
// between literals, must give the plain decode and write nothing past it.
TEST(DecoderDifferential, RunsNearThePictureEndStayInside) {
  constexpr int kW = 16, kH = 4, kN = kW * kH;
  for (const PixelKernel kernel : AvailableKernels()) {
    for (const std::uint8_t flags : {0x04, 0x06}) {
      for (int tail = 1; tail <= 40; ++tail) {
        for (int run = 1; run <= tail; ++run) {
          Bytes body;
          auto literals = [&](int count) {
            for (int i = 0; i < count; ++i) body.insert(body.end(), {0x40, 0x41, 0x42});
          };
          literals(kN - tail);
          body.insert(body.end(), {0x25, static_cast<std::uint8_t>(run), 1, 2, 3});
          literals(tail - run);
          body.insert(body.end(), {0x25, 0});
          body.resize(body.size() + 64, 0x40);
          const Bytes rec = MakeRecord(flags, kW, kH, 24, 0, 0x25, body);
          Pixels plain(kN);
          ASSERT_EQ(DecodePixelsPlain(View(rec), plain.data(), kW, kH), 1);
          Pixels fast(kN + 16, 0xDEAD);
          ASSERT_EQ(DecodePixelsWith(kernel, View(rec), fast.data(), kW, kH), 1);
          const std::string what = "kernel " + std::to_string(static_cast<int>(kernel)) +
                                   ", flags " + std::to_string(flags) + ", a run of " +
                                   std::to_string(run) + " " + std::to_string(tail) +
                                   " pixels before the end";
          ASSERT_EQ(Pixels(fast.begin(), fast.begin() + kN), plain) << what;
          ASSERT_EQ(Pixels(fast.begin() + kN, fast.end()), Pixels(16, 0xDEAD))
              << what << ": written past the picture";
        }
      }
    }
  }
}

TEST(DecoderDifferential, PixelsAfterAnEarlyEndAreFilteredZeros) {
  // 3 x 2, both filters: the one pixel spreads along its row and up.
  const Bytes rec = MakeRecord(0x07, 3, 2, 24, 0, 0x25, {0x10, 0x20, 0x30, 0x25, 0x00});
  int ok = 0;
  EXPECT_EQ(DecodeAll(rec, &ok, 0xDEAD), Pixels(6, 0x302010));
  EXPECT_EQ(ok, 1);
}

// A random mask record of any type: runs of every length (16-bit counts
// too), early end codes, streams that run past the plane or stop short.
Bytes RandomMask(std::mt19937& rng, int width, int height) {
  const int kinds[][2] = {{kMaskRaw, 8}, {kMaskRle, 8}, {kMaskRle, 4}, {kMaskValueRuns, 8}};
  const auto& kind = kinds[rng() % 4];
  const int total = width * height;
  Bytes body;
  int count = 0;
  if (kind[0] == kMaskValueRuns) {
    count = static_cast<int>(rng() % 4);
    for (int i = 0; i < count; ++i) body.push_back(static_cast<std::uint8_t>(rng() % 4 * 85));
  }
  const auto length = [&] { return rng() % 8 == 0 ? rng() % 700 : 1 + rng() % 40; };
  for (int done = 0; done < total + 8 && rng() % 60 != 0;) {
    const std::uint32_t n = static_cast<std::uint32_t>(length());
    const std::uint8_t v = static_cast<std::uint8_t>(rng() % 3 == 0 ? 0 : rng());
    if (kind[0] == kMaskRaw || (kind[0] == kMaskValueRuns && rng() % 2 == 0)) {
      body.push_back(v);
      ++done;
    } else if (kind[1] == 8 && kind[0] == kMaskRle) {
      const std::uint8_t k = static_cast<std::uint8_t>(n > 255 ? 255 : n);
      body.insert(body.end(), {v, k});
      done += k;
    } else if (kind[0] == kMaskRle && n < 16 && n > 0) {
      body.push_back(static_cast<std::uint8_t>(n << 4 | (v & 0x0F)));
      done += static_cast<int>(n);
    } else {
      body.push_back(kind[0] == kMaskRle ? v & 0x0F : count ? body[rng() % count] : v);
      if (n < 256 && n > 0) {
        body.push_back(static_cast<std::uint8_t>(n));
      } else {
        body.insert(body.end(),
                    {0, static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8)});
      }
      done += static_cast<int>(n);
    }
  }
  if (rng() % 4 != 0) body.insert(body.end(), {0, 0, 0});  // an end code of each kind
  if (rng() % 10 == 0) body.resize(rng() % (body.size() + 1));
  return MakeRecord(static_cast<std::uint8_t>(kind[0]), width, height, kind[1], count, 0, body);
}

TEST(DecoderDifferential, MaskDecodeEqualsPlainDecodeIntoPlanesOfEverySize) {
  for (std::size_t planeSize = 1; planeSize <= 5000; ++planeSize) {
    std::mt19937 rng(static_cast<std::uint32_t>(planeSize));
    const int w = 1 + static_cast<int>(rng() % 80);
    const int h = 1 + static_cast<int>((planeSize * (1 + rng() % 3) / 2) / w);
    const Bytes rec = RandomMask(rng, w, h);
    const std::string what = "plane " + std::to_string(planeSize) + ", " + std::to_string(w) + "x" +
                             std::to_string(h) + " type " + std::to_string(rec[2]) + "/" +
                             std::to_string(rec[16]);
    const std::uint8_t fill = static_cast<std::uint8_t>(rng());
    Bytes plain(planeSize + 32, fill), fast(planeSize + 32, fill);
    const int ok = DecodeMaskPlain(View(rec), plain.data(), planeSize);
    ASSERT_EQ(DecodeMask(View(rec), fast.data(), planeSize), ok) << what;
    ASSERT_EQ(fast, plain) << what;
    ASSERT_EQ(Bytes(plain.begin() + planeSize, plain.end()), Bytes(32, fill)) << what;
  }
}

}  // namespace
