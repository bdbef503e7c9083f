#pragma once
// Writes picture files that DecodePixels and DecodeMask read back bit-exact.
// Used by the picture tool, the tests and the benchmarks; the launcher itself
// only decodes.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/PictureFormat.h"

struct PictureEncodeOptions {
  int encoding = kEncodingColourRle;  // a PictureEncoding
  bool horizontalDelta = false;       // raw, colour and palette only
  bool verticalDelta = false;         // raw, colour and palette only
  bool colourSwitch = false;          // grey only: lets the stream hold colour pixels
  std::uint8_t escape = 0;
  std::vector<std::uint32_t> palette;  // palette encoding: 0x00RRGGBB, at most 255 entries
};

struct MaskEncodeOptions {
  int type = kMaskRle;   // a MaskType
  int bitsPerPixel = 8;  // kMaskRle: 8 (pairs) or 4 (nibble codes, levels multiples of 17)
  std::vector<std::uint8_t> runValues;  // kMaskValueRuns: at most 255 values
};

// `pixels` are in memory order like the decoder's output: width x height
// words, row 0 the bottom row; only their low 24 bits count. The record gets
// flag 0x80 when hasMask is set. False, with a message, when the options
// cannot express the picture (a grey stream without colour switching meets a
// colour pixel, sizes out of range, ...).
bool EncodePictureRecord(const std::uint32_t* pixels, int width, int height,
                         const PictureEncodeOptions& options, bool hasMask,
                         std::vector<std::uint8_t>* record, std::string* error);

// `plane` is width x height bytes, first stream row first.
bool EncodeMaskRecord(const std::uint8_t* plane, int width, int height,
                      const MaskEncodeOptions& options, std::vector<std::uint8_t>* record,
                      std::string* error);

// A whole file: table at 16, records from 16 + 4N, every record but the last
// padded with zeros to a multiple of 4.
std::vector<std::uint8_t> AssemblePicture(const std::vector<std::vector<std::uint8_t>>& records);

// The stream the run-length coder sees: the delta filters applied forwards.
std::vector<std::uint32_t> ApplyDeltaFilters(const std::uint32_t* pixels, int width, int height,
                                             bool horizontal, bool vertical);

// Palette for the palette encoding: the colours of the filtered stream whose
// runs save most, best first, at most maxEntries (1 to 255).
std::vector<std::uint32_t> ChoosePalette(const std::vector<std::uint32_t>& filtered, int width,
                                         int maxEntries);

// The escape byte that costs least: the blue (or grey) byte least often seen
// at the start of a literal.
std::uint8_t ChooseEscape(const std::vector<std::uint32_t>& filtered);

// Run values for mask type 0x12: the bytes whose runs save space.
std::vector<std::uint8_t> ChooseRunValues(const std::uint8_t* plane, std::size_t size);

bool IsGreyPixel(std::uint32_t pixel);
