#pragma once
// Enlarging a picture by a whole factor without interpolation: every pixel
// becomes a factor x factor block of itself. Row order does not matter, so
// the same functions serve surfaces stored bottom-up and planes top-down.

#include <cstdint>

// The size of a width x height picture enlarged by factor; false when the
// factor is below 1 or the result would pass the largest surface.
bool RepeatedSizeValid(int width, int height, int factor);

// Writes the (width * factor) x (height * factor) enlargement of `source`
// (width x height, stride width) to `target`, which must hold that many
// elements and must not overlap the source. Nothing is written unless
// RepeatedSizeValid holds.
void RepeatPixels(const std::uint32_t* source, int width, int height, int factor,
                  std::uint32_t* target);
void RepeatBytes(const std::uint8_t* source, int width, int height, int factor,
                 std::uint8_t* target);
