#include "imaging/SkinPicture.h"

#include "imaging/PixelOps.h"

namespace {

std::size_t PixelCount(const SkinPixels& p) {
  return static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height);
}

bool SameSize(const SkinPixels& a, const SkinPixels& b) {
  return a.width == b.width && a.height == b.height;
}

std::uint32_t BlendChannel(std::uint32_t s, std::uint32_t b, std::uint32_t a) {
  return (s * a + b * (255 - a) + 127) / 255;
}

std::uint32_t BlendPixel(std::uint32_t skin, std::uint32_t background) {
  const std::uint32_t a = skin >> 24;
  std::uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    out |= BlendChannel((skin >> shift) & 0xFF, (background >> shift) & 0xFF, a) << shift;
  }
  return out;
}

}  // namespace

bool SkinPixelsValid(const SkinPixels& picture) {
  // SurfaceSizeValid keeps width * height below 2^26, so the product fits
  // a 32-bit size_t.
  return picture.words != nullptr && SurfaceSizeValid(picture.width, picture.height) &&
         PixelCount(picture) <= picture.count;
}

bool BlendSkinPicture(const SkinPixels& skin, const SkinPixels& background, std::uint32_t* out,
                      std::size_t outCount) {
  if (!SkinPixelsValid(skin) || !SkinPixelsValid(background) || !SameSize(skin, background)) {
    return false;
  }
  const std::size_t n = PixelCount(skin);
  if (out == nullptr || outCount < n) return false;
  for (std::size_t i = 0; i < n; ++i) out[i] = BlendPixel(skin.words[i], background.words[i]);
  return true;
}

bool SkinHitMask(const SkinPixels& skin, std::uint8_t* mask, std::size_t maskCount) {
  if (!SkinPixelsValid(skin)) return false;
  const std::size_t n = PixelCount(skin);
  if (mask == nullptr || maskCount < n) return false;
  for (std::size_t i = 0; i < n; ++i) mask[i] = (skin.words[i] >> 24) > 127 ? 255 : 0;
  return true;
}

bool SkinBlinkArea(const SkinPixels& open, const SkinPixels& blink, SkinRect* area) {
  if (area == nullptr || !SkinPixelsValid(open) || !SkinPixelsValid(blink) ||
      !SameSize(open, blink)) {
    return false;
  }
  SkinRect box = {open.width, open.height, 0, 0};
  for (int y = 0; y < open.height; ++y) {
    const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(open.width);
    for (int x = 0; x < open.width; ++x) {
      if (((open.words[row + x] ^ blink.words[row + x]) & 0x00FFFFFF) == 0) continue;
      if (x < box.left) box.left = x;
      if (x >= box.right) box.right = x + 1;
      if (y < box.top) box.top = y;
      box.bottom = y + 1;
    }
  }
  *area = box.right > 0 ? box : SkinRect{0, 0, 0, 0};
  return true;
}
