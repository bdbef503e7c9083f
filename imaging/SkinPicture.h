#pragma once
// A user's skin picture, once decoded, turned into what the window draws:
// opaque pixels, the character's hit mask and its blink area.
//
// Skin pixels are 32-bit words 0xAARRGGBB (blue in the low byte: the BGRA
// byte order of a little-endian word), alpha not premultiplied, rows
// top-down with a stride of exactly the width. Built-in pictures and every
// result are 0x00RRGGBB words in the same row order; a background's top byte
// is ignored.
//
// Blending, per channel with skin alpha a (0..255), skin value s and
// background value b:
//   out = (s * a + b * (255 - a) + 127) / 255   (integer division)
// which is s * a / 255 + b * (255 - a) / 255 rounded to the nearest integer
// (no exact half can occur), so alpha 0 keeps b and alpha 255 gives s,
// whatever the other channels hold.
//
// The character frame is blended over the page's built-in background. The
// panel and the buttons are blended the same way over the built-in panel and
// buttons: a transparent pixel keeps the built-in one, so a skin may replace
// a part of either. Their shapes (window outline, button hit rectangles, slot
// wells) do not come from the skin.
//
// Every function takes each buffer with the number of words or bytes it
// holds and touches nothing past it; sizes that disagree, sizes of 0 or
// less, and pictures past kMaxSurfacePixels are refused (false) without
// writing anything.

#include <cstddef>
#include <cstdint>

// Words of a picture in memory with the count the buffer holds.
struct SkinPixels {
  const std::uint32_t* words;
  std::size_t count;
  int width;
  int height;
};

// A rectangle by its edges: left and top inside, right and bottom outside.
// Empty when right <= left or bottom <= top.
struct SkinRect {
  int left, top, right, bottom;
};

// Whether the picture is 1 x 1 or larger, at most kMaxSurfacePixels, and
// its buffer holds width * height words.
bool SkinPixelsValid(const SkinPixels& picture);

// `skin` blended over `background` (same size) into out (outCount words).
bool BlendSkinPicture(const SkinPixels& skin, const SkinPixels& background, std::uint32_t* out,
                      std::size_t outCount);

// The character's hit mask: 255 where the skin's alpha is above 127, else 0,
// one byte per pixel into mask (maskCount bytes).
bool SkinHitMask(const SkinPixels& skin, std::uint8_t* mask, std::size_t maskCount);

// The blink area: the bounding box of the pixels whose colours differ
// between the blended open and blink pictures (same size); empty {0, 0, 0, 0}
// when none differ.
bool SkinBlinkArea(const SkinPixels& open, const SkinPixels& blink, SkinRect* area);
