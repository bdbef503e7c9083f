#include "common/DisplayScale.h"

int PercentForDpi(int dpi) {
  if (dpi <= 0) return kBasePercent;
  long long percent = (static_cast<long long>(dpi) * 100 + kBaseDpi / 2) / kBaseDpi;
  return percent > kMaxScalePercent ? kMaxScalePercent : static_cast<int>(percent);
}

int DpiForPercent(int percent) { return (percent * kBaseDpi + 50) / 100; }

ArtScale ArtScaleForPercent(int percent) {
  ArtScale best = {kBasePercent, kBasePercent, 1};
  int bestDistance = percent > kBasePercent ? percent - kBasePercent : 0;
  for (int shipped : kShippedScales) {
    for (int factor = 1; shipped * factor <= kMaxScalePercent; ++factor) {
      int candidate = shipped * factor;
      int distance = candidate > percent ? candidate - percent : percent - candidate;
      bool nearer = distance < bestDistance;
      bool sameButSmaller = distance == bestDistance && candidate < best.percent;
      bool sameButLessRepeated = candidate == best.percent && factor < best.factor;
      if (nearer || sameButSmaller || sameButLessRepeated) {
        best = {candidate, shipped, factor};
        bestDistance = distance;
      }
    }
  }
  return best;
}

ArtScale ArtScaleForDpi(int dpi) { return ArtScaleForPercent(PercentForDpi(dpi)); }
