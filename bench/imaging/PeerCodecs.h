#pragma once
// The usual lossless peers, for comparison on the same pixels: QOI (4
// channels) and PNG through libspng and through libpng. Each is encoded once
// from the decoded picture and then decoded into 8-bit RGBA, as the
// benchmark times it. Host build only.

#include <cstdint>
#include <string>
#include <vector>

struct PeerFiles {
  std::vector<std::uint8_t> qoi;
  std::vector<std::uint8_t> png;
};

// `pixels` are 0x00RRGGBB words in memory order (bottom row first).
PeerFiles EncodePeers(const std::vector<std::uint32_t>& pixels, int width, int height);

// Each decodes into `rgba` (width x height x 4 bytes, already sized) and
// returns false on a decoder error. QOI decodes into a buffer of its own,
// copied into `rgba` only when asked, so that the timing leaves the copy out.
bool DecodeQoi(const PeerFiles& f, std::vector<std::uint8_t>& rgba, bool copyOut);
bool DecodeSpng(const PeerFiles& f, std::vector<std::uint8_t>& rgba);
bool DecodeLibpng(const PeerFiles& f, std::vector<std::uint8_t>& rgba);

// The RGBA bytes (top row first) that every peer must give for `pixels`.
std::vector<std::uint8_t> ToRgba(const std::vector<std::uint32_t>& pixels, int width, int height);
