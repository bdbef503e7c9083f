// Decoding pictures shaped like the launcher's (and one large one) and
// composing a full frame, each timed against memcpy of the same pixel bytes
// in the same run. Prints the ratios at the end; machines here are noisy, so
// only ratios mean anything.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "imaging/PictureEncoder.h"
#include "imaging/PictureFormat.h"
#include "imaging/PixelOps.h"

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
  int width;
  int height;
  int encoding;
  bool hdelta;
  bool vdelta;
  bool mask;
  std::uint8_t escape;
};

const Shape kShapes[] = {
    {"char_612x157_colour_vdelta_mask", 612, 157, kEncodingColourRle, false, true, true, 0xB6},
    {"panel_174x132_palette1_hv_mask", 174, 132, kEncodingPaletteRle, true, true, true, 0x08},
    {"buttons_102x57_colour_vdelta", 102, 57, kEncodingColourRle, false, true, false, 0x25},
    {"large_2048x2048_colour_vdelta", 2048, 2048, kEncodingColourRle, false, true, false, 0xB6},
};

struct Encoded {
  std::vector<std::uint8_t> file;
  std::vector<std::uint32_t> original;
};

std::string g_artDir;  // --art=DIR: decode the real char.tw, panel.tw and buttons.tw from DIR

const Encoded& EncodedShape(const Shape& s) {
  static std::map<std::string, Encoded> cache;
  auto it = cache.find(s.name);
  if (it != cache.end()) return it->second;
  Encoded e;
  const std::string name = s.name;
  const std::string file = name.rfind("char", 0) == 0      ? "char.tw"
                           : name.rfind("panel", 0) == 0   ? "panel.tw"
                           : name.rfind("buttons", 0) == 0 ? "buttons.tw"
                                                           : "";
  if (!g_artDir.empty() && !file.empty()) {
    std::ifstream f(g_artDir + "/" + file, std::ios::binary);
    e.file.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    Picture pic(e.file.data(), e.file.size());
    PictureRecord rec;
    if (!pic.Record(0, &rec) || rec.width() != s.width || rec.height() != s.height) {
      std::fprintf(stderr, "%s/%s is not a %dx%d picture\n", g_artDir.c_str(), file.c_str(),
                   s.width, s.height);
      std::abort();
    }
    e.original.assign(static_cast<std::size_t>(s.width) * s.height, 0);
    DecodePixels(rec, e.original.data(), s.width, s.height);
    return cache.emplace(s.name, std::move(e)).first->second;
  }
  e.original = Art(s.width, s.height, static_cast<unsigned>(s.width * 31 + s.height));
  PictureEncodeOptions o;
  o.encoding = s.encoding;
  o.horizontalDelta = s.hdelta;
  o.verticalDelta = s.vdelta;
  o.escape = s.escape;
  if (s.encoding == kEncodingPaletteRle) o.palette = {0x000000};
  std::vector<std::vector<std::uint8_t>> records(1);
  std::string error;
  if (!EncodePictureRecord(e.original.data(), s.width, s.height, o, s.mask, &records[0], &error)) {
    std::fprintf(stderr, "encode failed: %s\n", error.c_str());
    std::abort();
  }
  if (s.mask) {
    std::vector<std::uint8_t> plane(e.original.size());
    for (std::size_t i = 0; i < plane.size(); ++i) plane[i] = e.original[i] == 0x203040 ? 0 : 255;
    records.emplace_back();
    EncodeMaskRecord(plane.data(), s.width, s.height, MaskEncodeOptions(), &records[1], &error);
  }
  e.file = AssemblePicture(records);
  return cache.emplace(s.name, std::move(e)).first->second;
}

// What the surface's load does with a picture: pixels, then the mask plane.
void BM_Decode(benchmark::State& state, const Shape* s) {
  const Encoded& e = EncodedShape(*s);
  std::vector<std::uint32_t> px(e.original.size());
  std::vector<std::uint8_t> plane(e.original.size());
  for (auto _ : state) {
    Picture pic(e.file.data(), e.file.size());
    PictureRecord rec, mask;
    pic.Record(0, &rec);
    DecodePixels(rec, px.data(), s->width, s->height);
    if (pic.MaskRecord(&mask)) DecodeMask(mask, plane.data(), plane.size());
    benchmark::DoNotOptimize(px.data());
    benchmark::ClobberMemory();
  }
  if (px != e.original) state.SkipWithError("decoded pixels differ from the original");
  state.counters["file_bytes"] = static_cast<double>(e.file.size());
}

void BM_Memcpy(benchmark::State& state, std::size_t pixelCount) {
  std::vector<std::uint32_t> src(pixelCount, 0x123456), dst(pixelCount);
  for (auto _ : state) {
    std::memcpy(dst.data(), src.data(), pixelCount * sizeof(std::uint32_t));
    benchmark::DoNotOptimize(dst.data());
    benchmark::ClobberMemory();
  }
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

void BM_Compose(benchmark::State& state) {
  Surface back{276, 132, std::vector<std::uint32_t>(276 * 132)};
  Surface chars{612, 157, Art(612, 157, 1)};
  Surface panel{174, 132, Art(174, 132, 2)};
  Surface buttons{102, 57, Art(102, 57, 3)};
  for (auto _ : state) {
    Blit(back, panel, 102, 0, 174, 132, 0, 0);
    Blit(back, chars, 0, 0, 102, 113, 2 * 102, 0);
    Blit(back, buttons, 0, 113, 51, 19, 0, 19);
    Blit(back, buttons, 51, 113, 51, 19, 51, 0);
    Blit(back, panel, 102 + 26, 15, 120, 32, 26, 15);  // caption box background
    benchmark::DoNotOptimize(back.px.data());
    benchmark::ClobberMemory();
  }
}

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      if (r.run_type == Run::RT_Iteration) times[r.benchmark_name()] = r.GetAdjustedCPUTime();
    }
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--art=", 6) == 0) {
      g_artDir = argv[i] + 6;
      for (int j = i; j + 1 < argc; ++j) argv[j] = argv[j + 1];
      --argc;
      --i;
    }
  }
  for (const Shape& s : kShapes) {
    const std::size_t n = static_cast<std::size_t>(s.width) * s.height;
    benchmark::RegisterBenchmark((std::string("decode/") + s.name).c_str(), BM_Decode, &s);
    benchmark::RegisterBenchmark((std::string("memcpy/") + s.name).c_str(), BM_Memcpy, n);
  }
  benchmark::RegisterBenchmark("compose/frame_276x132", BM_Compose);
  benchmark::RegisterBenchmark("memcpy/frame_276x132", BM_Memcpy, std::size_t{276 * 132});
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nratio to memcpy of the same pixel bytes (target: decode <= 4, compose <= 2)\n");
  for (const Shape& s : kShapes) {
    double d = reporter.times["decode/" + std::string(s.name)];
    double m = reporter.times["memcpy/" + std::string(s.name)];
    if (m > 0) std::printf("  %-36s %6.2f\n", s.name, d / m);
  }
  double c = reporter.times["compose/frame_276x132"], m = reporter.times["memcpy/frame_276x132"];
  if (m > 0) std::printf("  %-36s %6.2f\n", "compose frame_276x132", c / m);
  benchmark::Shutdown();
  return 0;
}
