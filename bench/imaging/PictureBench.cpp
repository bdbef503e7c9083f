// Decoding the launcher's three pictures (the shipped files with --art=DIR,
// otherwise synthetic pictures of the same shape and encoding) and one large
// one, and composing a full frame, each timed against memcpy of the same
// bytes in the same run: the pixel decode and the mask decode separately,
// and on the host build the same pixels stored as QOI and as PNG (libspng,
// libpng) beside them. Every decoded picture is checked against the plain
// decoder first. Prints ratios; machines here are noisy, so only ratios
// within one run mean anything.
//
//   build/host/bin/imaging_bench --art=tests/data/imaging/picture-seeds
//   (with WINEPREFIX set to a prefix of its own, under the 32-bit loader)
//   /usr/lib/wine/wine build/win32/bin/imaging_bench.exe --art=tests/data/imaging/picture-seeds
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "imaging/PictureEncoder.h"
#include "imaging/PictureFormat.h"
#include "imaging/PixelKernels.h"
#include "imaging/PixelOps.h"
#if DIDA_BENCH_PEERS
#include "PeerCodecs.h"
#endif

namespace {

// Synthetic art in memory order: flat backgrounds, shaded shapes with
// anti-aliased edges and some texture, like rendered vector artwork.
std::vector<std::uint32_t> Art(int w, int h, unsigned seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, 0x203040);
  const int shapes = std::max(3, w * h / 6000);
  for (int s = 0; s < shapes; ++s) {
    const double cx = rng() % w, cy = rng() % h, r = 8 + rng() % std::max(9, std::min(w, h) / 3);
    const std::uint32_t base = rng() & 0xFFFFFF;
    const bool shaded = rng() % 2 == 0;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const double d = std::hypot(x - cx, y - cy);
        if (d > r + 1) continue;
        std::uint32_t c = base;
        if (shaded) {
          int k = static_cast<int>((y - cy + r) * 40 / (2 * r));
          c = (base & 0xF0F0F0) + static_cast<std::uint32_t>(k) * 0x010101;
        }
        if (d > r) c = (c >> 1) & 0x7F7F7F;  // edge pixels
        if (rng() % 50 == 0) c ^= 0x010203;  // a little texture
        px[static_cast<std::size_t>(y) * w + x] = c & 0xFFFFFF;
      }
    }
  }
  return px;
}

struct Shape {
  const char* name;
  const char* file;  // the shipped picture of this shape, read with --art
  int width;
  int height;
  int encoding;
  bool hdelta;
  bool vdelta;
  bool mask;
  std::uint8_t escape;
};

const Shape kShapes[] = {
    {"char 612x157", "char.tw", 612, 157, kEncodingColourRle, false, true, true, 0xB6},
    {"buttons 102x57", "buttons.tw", 102, 57, kEncodingColourRle, false, true, false, 0x25},
    {"panel 174x132", "panel.tw", 174, 132, kEncodingPaletteRle, true, true, true, 0x08},
    {"large 2048x2048", nullptr, 2048, 2048, kEncodingColourRle, false, true, false, 0xB6},
};

std::vector<std::uint8_t> ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(f),
                                   std::istreambuf_iterator<char>());
}

// A picture file of the shape's size and encoding made from synthetic art.
std::vector<std::uint8_t> SyntheticFile(const Shape& s) {
  const std::vector<std::uint32_t> px =
      Art(s.width, s.height, static_cast<unsigned>(s.width * 31 + s.height));
  PictureEncodeOptions o;
  o.encoding = s.encoding;
  o.horizontalDelta = s.hdelta;
  o.verticalDelta = s.vdelta;
  o.escape = s.escape;
  if (s.encoding == kEncodingPaletteRle) o.palette = {0x000000};
  std::vector<std::vector<std::uint8_t>> records(1);
  std::string error;
  if (!EncodePictureRecord(px.data(), s.width, s.height, o, s.mask, &records[0], &error)) {
    std::fprintf(stderr, "encode failed: %s\n", error.c_str());
    std::exit(2);
  }
  if (s.mask) {
    std::vector<std::uint8_t> plane(px.size());
    for (std::size_t i = 0; i < plane.size(); ++i) plane[i] = px[i] == 0x203040 ? 0 : 255;
    records.emplace_back();
    EncodeMaskRecord(plane.data(), s.width, s.height, MaskEncodeOptions(), &records[1], &error);
  }
  return AssemblePicture(records);
}

// One frame of the open launcher (276 x 132): the panel, the character, the
// two button strips and the caption box, copied from their picture surfaces.
struct Surface {
  int width, height;
  std::vector<std::uint32_t> px;
};

void Blit(Surface& dst, const Surface& src, int dx, int dy, int w, int h, int sx, int sy) {
  BlitSpan span;
  if (ClipBlit(dst.width, dst.height, src.width, src.height, dx, dy, w, h, sx, sy, &span)) {
    CopySpan(dst.px.data(), dst.width, src.px.data(), src.width, span);
  }
}

void Compose(Surface& back, const Surface& chars, const Surface& panel, const Surface& buttons) {
  Blit(back, panel, 102, 0, 174, 132, 0, 0);
  Blit(back, chars, 0, 0, 102, 113, 2 * 102, 0);
  Blit(back, buttons, 0, 113, 51, 19, 0, 19);
  Blit(back, buttons, 51, 113, 51, 19, 51, 0);
  Blit(back, panel, 102 + 26, 15, 120, 32, 26, 15);  // caption box background
  KeepMemory(back.px.data());
}

struct Options {
  std::string artDir;
  int rounds = 15;
};

Options ParseOptions(int argc, char** argv) {
  Options o;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--art=", 6) == 0) {
      o.artDir = argv[i] + 6;
    } else if (std::strncmp(argv[i], "--rounds=", 9) == 0) {
      o.rounds = std::max(1, std::atoi(argv[i] + 9));
    } else {
      std::fprintf(stderr, "usage: imaging_bench [--art=DIR] [--rounds=N]\n");
      std::exit(2);
    }
  }
  return o;
}

void Memcpy(std::vector<std::uint8_t>& to, const std::vector<std::uint8_t>& from) {
  std::memcpy(to.data(), from.data(), from.size());
  KeepMemory(to.data());
}

// The tokens of a colour stream walked one at a time and counted, no pixel
// written: a yardstick for the decoder, which must read them all too.
std::size_t WalkColourTokens(const PictureRecord& rec) {
  const std::uint8_t* p = rec.bytes + kRecordHeaderSize;
  const std::uint8_t* const end = rec.bytes + rec.size;
  const std::uint8_t escape = rec.escape();
  const std::size_t total = static_cast<std::size_t>(rec.width()) * rec.height();
  std::size_t n = 0;
  while (n < total && end - p >= 5) {
    if (*p != escape) {
      p += 3, n += 1;
    } else if (p[1] == 0xFF) {
      p += 4, n += 1;
    } else if (p[1] != 0) {
      n += p[1], p += 5;
    } else {
      break;
    }
  }
  return n;
}

// One line of the table: the ratios of one picture. False when a decoder
// disagrees with the plain decode.
bool BenchPicture(const Shape& s, const Options& o) {
  const bool shipped = !o.artDir.empty() && s.file != nullptr;
  const std::vector<std::uint8_t> file =
      shipped ? ReadFile(o.artDir + "/" + s.file) : SyntheticFile(s);
  const Picture pic(file.data(), file.size());
  PictureRecord rec, maskRec;
  if (!pic.Record(0, &rec) || rec.width() != s.width || rec.height() != s.height) {
    std::fprintf(stderr, "%s is not a %dx%d picture\n", shipped ? s.file : s.name, s.width,
                 s.height);
    std::exit(2);
  }
  const bool hasMask = pic.MaskRecord(&maskRec);
  const std::size_t n = static_cast<std::size_t>(s.width) * s.height;

  std::vector<std::uint32_t> px(n), plain(n);
  std::vector<std::uint8_t> plane(n);
  const int ok = DecodePixelsPlain(rec, plain.data(), s.width, s.height);
  for (const PixelKernel kernel : {PixelKernel::kPortable, BestPixelKernel()}) {
    std::fill(px.begin(), px.end(), 0xA5A5A5A5);
    if (DecodePixelsWith(kernel, rec, px.data(), s.width, s.height) != ok || px != plain || !ok) {
      std::printf("  %-16s the decoder differs from the plain decode\n", s.name);
      return false;
    }
  }
  std::vector<std::uint8_t> from(n * 4, 1), to(n * 4), maskFrom(n, 1), maskTo(n);
  std::vector<std::function<void()>> fns = {
      [&] { Memcpy(to, from); },
      [&] {
        DecodePixels(rec, px.data(), s.width, s.height);
        KeepMemory(px.data());
      },
      [&] { Memcpy(maskTo, maskFrom); },
      [&] {
        if (hasMask) DecodeMask(maskRec, plane.data(), plane.size());
        KeepMemory(plane.data());
      },
      [&] {
        DecodePixelsWith(PixelKernel::kPortable, rec, px.data(), s.width, s.height);
        KeepMemory(px.data());
      },
      [&] {
        const std::size_t walked = WalkColourTokens(rec);
        KeepMemory(&walked);
      },
  };
#if DIDA_BENCH_PEERS
  const PeerFiles peers = EncodePeers(px, s.width, s.height);
  const std::vector<std::uint8_t> expected = ToRgba(px, s.width, s.height);
  std::vector<std::uint8_t> rgba(n * 4);
  const char* peerNames[] = {"QOI", "libspng", "libpng"};
  bool (*check[])(const PeerFiles&, std::vector<std::uint8_t>&) = {
      [](const PeerFiles& f, std::vector<std::uint8_t>& out) { return DecodeQoi(f, out, true); },
      DecodeSpng, DecodeLibpng};
  for (int i = 0; i < 3; ++i) {
    std::fill(rgba.begin(), rgba.end(), 0);
    if (!check[i](peers, rgba) || rgba != expected) {
      std::printf("  %-16s %s gives other pixels\n", s.name, peerNames[i]);
      return false;
    }
  }
  fns.push_back([&] { DecodeQoi(peers, rgba, false); });
  fns.push_back([&] { DecodeSpng(peers, rgba); });
  fns.push_back([&] { DecodeLibpng(peers, rgba); });
#endif
  const std::vector<double> t = BestSecondsPerCall(fns, o.rounds);
  std::printf("  %-16s %8.2f %8.2f", s.name, t[1] / t[0], t[4] / t[0]);
  if (rec.encoding() == kEncodingColourRle) {
    std::printf(" %8.2f", t[5] / t[0]);
  } else {
    std::printf(" %8s", "-");
  }
  if (hasMask) {
    std::printf(" %8.2f", t[3] / t[2]);
  } else {
    std::printf(" %8s", "-");
  }
  for (std::size_t i = 6; i < t.size(); ++i) std::printf(" %8.1f", t[i] / t[0]);
  if (t.size() > 6) std::printf(" %8.1fx", t[6] / t[1]);
  std::printf("   (memcpy %.2f us)\n", t[0] * 1e6);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const Options o = ParseOptions(argc, argv);
  std::printf("ratio of decode time to memcpy of the same bytes (%s, %d rounds, %d-bit)\n",
              o.artDir.empty() ? "synthetic pictures" : "shipped pictures", o.rounds,
              static_cast<int>(sizeof(void*) * 8));
  std::printf(
      "pixels: the decoder DecodePixels uses (%s); portable: the build for any processor;\n"
      "walk: the colour stream's tokens walked one at a time, no pixel written\n",
      BestPixelKernel() == PixelKernel::kSsse3 ? "SSSE3" : "portable");
  std::printf("  %-16s %8s %8s %8s %8s", "picture", "pixels", "portable", "walk", "mask");
#if DIDA_BENCH_PEERS
  std::printf(" %8s %8s %8s %9s", "QOI", "libspng", "libpng", "QOI/TW01");
#endif
  std::printf("\n");
  bool same = true;
  for (const Shape& s : kShapes) same = BenchPicture(s, o) && same;

  Surface back{276, 132, std::vector<std::uint32_t>(276 * 132)};
  const Surface chars{612, 157, Art(612, 157, 1)};
  const Surface panel{174, 132, Art(174, 132, 2)};
  const Surface buttons{102, 57, Art(102, 57, 3)};
  std::vector<std::uint8_t> from(276 * 132 * 4, 1), to(from.size());
  const std::vector<double> t = BestSecondsPerCall(
      {[&] { Memcpy(to, from); }, [&] { Compose(back, chars, panel, buttons); }}, o.rounds);
  std::printf("  %-16s %8.2f   (memcpy %.2f us)\n", "compose frame", t[1] / t[0], t[0] * 1e6);
  std::printf(
      "targets: char and buttons pixels <= 4 (goal 2.5), at least 3x faster than QOI; "
      "compose <= 2\n");
  return same ? 0 : 1;
}
