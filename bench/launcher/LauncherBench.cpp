// The hot-item lookup runs on every mouse move and timer tick: sweep it over
// every client point of the expanded window, against a mask plane laid out
// like the panel's (zero only in the eight slot holes).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "launcher/Blink.h"
#include "launcher/LauncherGeometry.h"

// Every length at 100 %.
static const LauncherMetrics k100 = MetricsAt(kBasePercent);

namespace {

std::vector<std::uint8_t> PanelMask() {
  std::vector<std::uint8_t> mask(kPanelWidth * kWindowHeight, 255);
  for (int slot = 0; slot < kSlotCount; ++slot) {
    int left = 13 + 37 * (slot % 4), top = 50 + 37 * (slot / 4);
    for (int y = top; y < top + 34; ++y) {
      for (int x = left; x < left + 34; ++x) mask[y * kPanelWidth + x] = 0;
    }
  }
  return mask;
}

void BM_HotItemSweep(benchmark::State& state) {
  const std::vector<std::uint8_t> mask = PanelMask();
  const int side = static_cast<int>(state.range(0));
  auto slotAt = [&mask](int x, int y) {
    bool inside = x >= 0 && y >= 0 && x < kPanelWidth && y < kWindowHeight;
    return SlotAt(k100, x, y, inside ? mask[y * kPanelWidth + x] : 0);
  };
  for (auto _ : state) {
    int sum = 0;
    for (int y = 0; y < kWindowHeight; ++y) {
      for (int x = 0; x < kExpandedWidth; ++x) sum += HotItemAt(k100, false, side, x, y, slotAt);
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetItemsProcessed(state.iterations() * kExpandedWidth * kWindowHeight);
}
BENCHMARK(BM_HotItemSweep)->Arg(kLayoutPanelLeft)->Arg(kLayoutPanelRight);

void BM_BlinkTick(benchmark::State& state) {
  BlinkState blink;
  for (auto _ : state) benchmark::DoNotOptimize(AdvanceBlink(&blink, &std::rand).interval);
}
BENCHMARK(BM_BlinkTick);

}  // namespace

BENCHMARK_MAIN();
