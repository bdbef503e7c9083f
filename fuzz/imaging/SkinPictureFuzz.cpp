// Feeds the skin conversion random sizes and pixels: the blend over a
// background, the hit mask and the blink area, each buffer allocated with
// exactly the count the call is told (one word short, exact or one more), so
// that any access past it is caught. What comes out is checked against the
// rules themselves: alpha 0 keeps the background, alpha 255 the skin, every
// channel lies between the two; the mask follows alpha; the blink area holds
// every differing pixel and touches one on each edge. The raw input also goes
// through the header check, and its first bytes choose a file name.
//
// Input: byte 0 width, 1 height (signed; 0x7F and 0x80 stand for widths far
// past any buffer), 2 the counts' slack, 3 which sizes disagree, then pairs
// (index, xor) that make the blink picture from the open one, a zero byte,
// and the pixel bytes, used cyclically for the skin and the background.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/SkinFile.h"
#include "imaging/SkinPicture.h"

namespace {

using Words = std::vector<std::uint32_t>;

struct Input {
  const std::uint8_t* data;
  std::size_t size;
  std::uint8_t At(std::size_t i) const { return i < size ? data[i] : 0; }
};

int Side(std::uint8_t b) {
  if (b == 0x7F) return 1 << 20;
  if (b == 0x80) return INT_MIN;
  return static_cast<std::int8_t>(b);
}

// Words a w x h picture needs (0 for sizes the functions refuse), moved by
// the slack (-1, 0 or +1) so that a buffer one short is tried too.
std::size_t Count(int w, int h, int slack) {
  if (w <= 0 || h <= 0 || w > 4096 || h > 4096) return 1 + slack + 1;
  const long long n = static_cast<long long>(w) * h + slack;
  return n < 0 ? 0 : static_cast<std::size_t>(n);
}

Words Fill(const Input& in, std::size_t from, std::size_t count, std::uint32_t salt) {
  Words w(count);
  const std::size_t span = in.size > from ? in.size - from : 0;
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t v = salt * static_cast<std::uint32_t>(i + 1);
    for (std::size_t k = 0; k < 4 && span > 0; ++k) {
      v = (v << 8) ^ in.data[from + (4 * i + k) % span];
    }
    w[i] = v;
  }
  return w;
}

bool Between(std::uint32_t v, std::uint32_t a, std::uint32_t b) {
  return (a <= v && v <= b) || (b <= v && v <= a);
}

void CheckBlend(const Words& skin, const Words& bg, const Words& out, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint32_t a = skin[i] >> 24, o = out[i];
    if (o >> 24 != 0) __builtin_trap();
    if (a == 0 && o != (bg[i] & 0xFFFFFF)) __builtin_trap();
    if (a == 255 && o != (skin[i] & 0xFFFFFF)) __builtin_trap();
    for (int s = 0; s < 24; s += 8) {
      if (!Between((o >> s) & 0xFF, (skin[i] >> s) & 0xFF, (bg[i] >> s) & 0xFF)) __builtin_trap();
    }
  }
}

void CheckMask(const Words& skin, const std::vector<std::uint8_t>& mask, std::size_t n) {
  for (std::size_t i = 0; i < n; ++i) {
    if (mask[i] != ((skin[i] >> 24) > 127 ? 255 : 0)) __builtin_trap();
  }
}

void CheckBlinkArea(const Words& open, const Words& blink, int w, int h, const SkinRect& r) {
  bool any = false, left = false, right = false, top = false, bottom = false;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::size_t i = static_cast<std::size_t>(y) * w + x;
      if (((open[i] ^ blink[i]) & 0xFFFFFF) == 0) continue;
      any = true;
      if (x < r.left || x >= r.right || y < r.top || y >= r.bottom) __builtin_trap();
      left |= x == r.left;
      right |= x == r.right - 1;
      top |= y == r.top;
      bottom |= y == r.bottom - 1;
    }
  }
  const bool empty = r.left == 0 && r.top == 0 && r.right == 0 && r.bottom == 0;
  if (any ? !(left && right && top && bottom) : !empty) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input in{data, size};
  const int w = Side(in.At(0)), h = Side(in.At(1));
  const int slack = in.At(2) % 3 - 1, outSlack = in.At(2) / 3 % 3 - 1;
  const int bgW = in.At(3) & 1 ? w + 1 : w;
  const int blinkH = in.At(3) & 2 && h != INT_MIN ? h - 1 : h;
  std::size_t at = 4;
  while (at < size && data[at] != 0) at += 2;
  const std::size_t pixelsFrom = at + 1;

  const Words skin = Fill(in, pixelsFrom, Count(w, h, slack), 0x9E3779B9u);
  const Words bg = Fill(in, pixelsFrom, Count(bgW, h, slack), 0x85EBCA6Bu);
  Words open(Count(w, h, outSlack), 0xA5A5A5A5u);
  const bool blended = BlendSkinPicture({skin.data(), skin.size(), w, h},
                                        {bg.data(), bg.size(), bgW, h}, open.data(), open.size());
  const std::size_t n = blended ? static_cast<std::size_t>(w) * h : 0;
  if (blended) CheckBlend(skin, bg, open, n);

  std::vector<std::uint8_t> mask(Count(w, h, outSlack), 0x5A);
  if (SkinHitMask({skin.data(), skin.size(), w, h}, mask.data(), mask.size())) {
    CheckMask(skin, mask, static_cast<std::size_t>(w) * h);
  }

  Words blink = open;
  for (std::size_t i = 4; i + 1 < size && data[i] != 0; i += 2) {
    if (!blink.empty()) blink[data[i] * 31u % blink.size()] ^= data[i + 1] * 0x010101u;
  }
  SkinRect area;
  if (SkinBlinkArea({open.data(), open.size(), w, h}, {blink.data(), blink.size(), w, blinkH},
                    &area)) {
    // Sizes that disagree, or a buffer one word short, must have been refused.
    if (blinkH != h || open.size() < static_cast<std::size_t>(w) * h) __builtin_trap();
    CheckBlinkArea(open, blink, w, h, area);
  }

  CheckSkinFileHeader(data, size, {w, h});
  char name[24];
  SkinFileName(static_cast<SkinPart>(in.At(0) % 4), Side(in.At(1)), 90 + in.At(2) * 2, name,
               1 + in.At(3) % sizeof name);
  return 0;
}
