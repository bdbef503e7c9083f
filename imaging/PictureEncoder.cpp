// Writes the picture file layout read in PictureFormat.cpp: header, table,
// then for each record its 20-byte header, its table and its stream. Every
// run-length stream ends with its end code right after width x height pixels.
#include "imaging/PictureEncoder.h"

#include <algorithm>
#include <map>

namespace {

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void PutU32At(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::uint8_t Blue(std::uint32_t p) { return static_cast<std::uint8_t>(p); }
std::uint8_t Green(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 8); }
std::uint8_t Red(std::uint32_t p) { return static_cast<std::uint8_t>(p >> 16); }

void PutBgr(std::vector<std::uint8_t>& out, std::uint32_t p) {
  out.push_back(Blue(p));
  out.push_back(Green(p));
  out.push_back(Red(p));
}

// One pixel as a literal: c G R, or E 0xFF G R when its blue is the escape.
void PutColourLiteral(std::vector<std::uint8_t>& out, std::uint32_t p, std::uint8_t e) {
  if (Blue(p) == e) {
    out.push_back(e);
    out.push_back(0xFF);
    out.push_back(Green(p));
    out.push_back(Red(p));
  } else {
    PutBgr(out, p);
  }
}

void PutGreyLiteral(std::vector<std::uint8_t>& out, std::uint8_t v, std::uint8_t e) {
  out.push_back(v);
  if (v == e) out.push_back(0xFF);
}

std::vector<std::uint8_t> RecordHeader(std::uint8_t flags, int width, int height, int bits,
                                       int count, std::uint8_t escape) {
  std::vector<std::uint8_t> h(kRecordHeaderSize, 0);
  h[2] = flags;
  h[12] = static_cast<std::uint8_t>(width);
  h[13] = static_cast<std::uint8_t>(width >> 8);
  h[14] = static_cast<std::uint8_t>(height);
  h[15] = static_cast<std::uint8_t>(height >> 8);
  h[16] = static_cast<std::uint8_t>(bits);
  h[17] = static_cast<std::uint8_t>(count);
  h[18] = escape;
  return h;
}

// Calls emit(colour, length) for every maximal run of the stream.
template <typename T, typename F>
void ForEachRun(const T* data, std::size_t size, F emit) {
  std::size_t i = 0;
  while (i < size) {
    std::size_t j = i + 1;
    while (j < size && data[j] == data[i]) ++j;
    emit(data[i], j - i);
    i = j;
  }
}

void EncodeColour(const std::vector<std::uint32_t>& s, std::uint8_t e,
                  std::vector<std::uint8_t>& out) {
  ForEachRun(s.data(), s.size(), [&](std::uint32_t p, std::size_t n) {
    while (n >= 2) {
      std::size_t k = std::min<std::size_t>(n, 254);
      out.push_back(e);
      out.push_back(static_cast<std::uint8_t>(k));
      PutBgr(out, p);
      n -= k;
    }
    if (n == 1) PutColourLiteral(out, p, e);
  });
  out.push_back(e);
  out.push_back(0);
}

void EncodePalette(const std::vector<std::uint32_t>& s, std::uint8_t e,
                   const std::vector<std::uint32_t>& palette, std::vector<std::uint8_t>& out) {
  std::map<std::uint32_t, int> index;
  for (std::size_t i = 0; i < palette.size(); ++i) index.emplace(palette[i], static_cast<int>(i));
  const bool single = palette.size() == 1;
  ForEachRun(s.data(), s.size(), [&](std::uint32_t p, std::size_t n) {
    auto it = index.find(p);
    if (it == index.end()) {
      for (; n != 0; --n) PutColourLiteral(out, p, e);
      return;
    }
    const std::size_t maxRun = single ? 254 : 255;
    while (n != 0) {
      std::size_t k = std::min(n, maxRun);
      out.push_back(e);
      if (!single) out.push_back(static_cast<std::uint8_t>(it->second));
      out.push_back(static_cast<std::uint8_t>(k));
      n -= k;
    }
  });
  out.push_back(e);
  out.push_back(0);
  if (!single) out.push_back(0);
}

// Bytes a grey run takes without colour switching on.
std::size_t GreyRunCost(std::uint8_t v, std::size_t n, std::uint8_t e, bool canSwitch) {
  std::size_t literal = v == e ? 2 : 1;
  std::size_t runs = (n + 253) / 254 * 3;
  if (canSwitch && n % 254 == 1) runs += literal - 3;  // a leftover single is a literal
  return std::min(n * literal, runs);
}

void PutGreyRun(std::vector<std::uint8_t>& out, std::uint8_t v, std::size_t n, std::uint8_t e,
                bool canSwitch) {
  std::size_t literal = v == e ? 2 : 1;
  if (n * literal <= 3) {
    for (; n != 0; --n) PutGreyLiteral(out, v, e);
    return;
  }
  while (n != 0) {
    std::size_t k = std::min<std::size_t>(n, 254);
    if (k == 1) {
      PutGreyLiteral(out, v, e);
    } else {
      out.push_back(e);
      out.push_back(static_cast<std::uint8_t>(k));
      out.push_back(v);
    }
    n -= k;
  }
}

std::size_t ColourRunCost(std::uint32_t p, std::size_t n, std::uint8_t e) {
  std::size_t literal = Blue(p) == e ? 4 : 3;
  return n / 254 * 5 + (n % 254 >= 2 ? 5 : (n % 254) * literal);
}

// In colour mode a run needs at least two pixels (E 0x01 is the switch).
void PutColourRunSwitched(std::vector<std::uint8_t>& out, std::uint32_t p, std::size_t n,
                          std::uint8_t e) {
  while (n >= 2) {
    std::size_t k = std::min<std::size_t>(n, 254);
    if (n - k == 1 && k > 2) --k;  // never leave a single pixel that needs a literal and a run
    out.push_back(e);
    out.push_back(static_cast<std::uint8_t>(k));
    PutBgr(out, p);
    n -= k;
  }
  if (n == 1) PutColourLiteral(out, p, e);
}

struct Run {
  std::uint32_t pixel;
  std::size_t length;
};

void EncodeGrey(const std::vector<std::uint32_t>& s, std::uint8_t e, bool canSwitch,
                std::vector<std::uint8_t>& out) {
  std::vector<Run> runs;
  ForEachRun(s.data(), s.size(), [&](std::uint32_t p, std::size_t n) {
    runs.push_back(Run{p, n});
  });
  bool colour = false;
  std::size_t stayColourUntil = 0;  // runs before this index stay in colour mode
  auto setMode = [&](bool on) {
    if (on == colour) return;
    out.push_back(e);
    out.push_back(1);
    out.push_back(on ? 1 : 0);
    colour = on;
  };
  for (std::size_t i = 0; i < runs.size(); ++i) {
    const Run& r = runs[i];
    if (!IsGreyPixel(r.pixel)) {
      setMode(true);
      PutColourRunSwitched(out, r.pixel, r.length, e);
      continue;
    }
    if (colour && i >= stayColourUntil) {
      // A grey stretch inside colour: leave colour mode only when it pays for
      // the two switches.
      std::size_t j = i, asColour = 0, asGrey = 0;
      for (; j < runs.size() && IsGreyPixel(runs[j].pixel); ++j) {
        asColour += ColourRunCost(runs[j].pixel, runs[j].length, e);
        asGrey += GreyRunCost(Blue(runs[j].pixel), runs[j].length, e, true);
      }
      std::size_t switches = 3 + (j < runs.size() ? 3 : 0);
      if (asGrey + switches < asColour) {
        setMode(false);
      } else {
        stayColourUntil = j;
      }
    }
    if (colour) {
      PutColourRunSwitched(out, r.pixel, r.length, e);
    } else {
      PutGreyRun(out, Blue(r.pixel), r.length, e, canSwitch);
    }
  }
  out.push_back(e);
  out.push_back(0);
}

void EncodeRaw(const std::vector<std::uint32_t>& s, int width, int height,
               std::vector<std::uint8_t>& out) {
  const std::size_t pixelBytes = 3 * static_cast<std::size_t>(width);
  const std::size_t fill = ((pixelBytes + 3) & ~static_cast<std::size_t>(3)) - pixelBytes;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) PutBgr(out, s[static_cast<std::size_t>(y) * width + x]);
    out.insert(out.end(), fill, 0);
  }
}

void EncodeMaskPairs(const std::uint8_t* plane, std::size_t size, std::vector<std::uint8_t>& out) {
  ForEachRun(plane, size, [&](std::uint8_t v, std::size_t n) {
    while (n != 0) {
      std::size_t k = std::min<std::size_t>(n, 255);
      out.push_back(v);
      out.push_back(static_cast<std::uint8_t>(k));
      n -= k;
    }
  });
  out.push_back(0);
  out.push_back(0);
}

// A run of n (1 to 65535) as: count byte, or 0 and a 16-bit count.
void PutLongCount(std::vector<std::uint8_t>& out, std::size_t n) {
  if (n <= 255) {
    out.push_back(static_cast<std::uint8_t>(n));
  } else {
    out.push_back(0);
    PutU16(out, static_cast<std::uint32_t>(n));
  }
}

void EncodeMaskNibbles(const std::uint8_t* plane, std::size_t size,
                       std::vector<std::uint8_t>& out) {
  ForEachRun(plane, size, [&](std::uint8_t v, std::size_t n) {
    const std::uint8_t level = v / 17;
    while (n != 0) {
      std::size_t k = std::min<std::size_t>(n, 65535);
      if (k <= 15) {
        out.push_back(static_cast<std::uint8_t>((k << 4) | level));
      } else {
        out.push_back(level);
        PutLongCount(out, k);
      }
      n -= k;
    }
  });
  out.insert(out.end(), {0, 0, 0, 0});
}

void EncodeMaskValueRuns(const std::uint8_t* plane, std::size_t size,
                         const std::vector<std::uint8_t>& values, std::vector<std::uint8_t>& out) {
  bool isRun[256] = {};
  for (std::uint8_t v : values) isRun[v] = true;
  ForEachRun(plane, size, [&](std::uint8_t v, std::size_t n) {
    if (!isRun[v]) {
      out.insert(out.end(), n, v);
      return;
    }
    while (n != 0) {
      std::size_t k = std::min<std::size_t>(n, 65535);
      out.push_back(v);
      PutLongCount(out, k);
      n -= k;
    }
  });
  if (!values.empty()) {
    out.push_back(values[0]);
    out.insert(out.end(), {0, 0, 0});
  }
}

}  // namespace

bool IsGreyPixel(std::uint32_t p) { return Blue(p) == Green(p) && Green(p) == Red(p); }

std::vector<std::uint32_t> ApplyDeltaFilters(const std::uint32_t* pixels, int width, int height,
                                             bool horizontal, bool vertical) {
  const std::size_t w = static_cast<std::size_t>(width);
  std::vector<std::uint32_t> s(pixels, pixels + w * static_cast<std::size_t>(height));
  for (auto& p : s) p &= 0xFFFFFF;
  // The decoder undoes the horizontal filter first, so it is applied last.
  if (vertical) {
    for (std::size_t y = static_cast<std::size_t>(height); y-- > 1;) {
      for (std::size_t x = 0; x < w; ++x) s[y * w + x] ^= s[(y - 1) * w + x];
    }
  }
  if (horizontal) {
    for (std::size_t y = 0; y < static_cast<std::size_t>(height); ++y) {
      for (std::size_t x = w; x-- > 1;) s[y * w + x] ^= s[y * w + x - 1];
    }
  }
  return s;
}

std::vector<std::uint32_t> ChoosePalette(const std::vector<std::uint32_t>& filtered, int width,
                                         int maxEntries) {
  // A palette run costs 3 bytes against 3 per literal pixel.
  std::map<std::uint32_t, std::size_t> saving;
  ForEachRun(filtered.data(), filtered.size(), [&](std::uint32_t p, std::size_t n) {
    if (n >= 2) saving[p] += 3 * n - 3 * ((n + 254) / 255);
  });
  std::vector<std::pair<std::size_t, std::uint32_t>> ranked;
  for (const auto& kv : saving) ranked.emplace_back(kv.second, kv.first);
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  std::vector<std::uint32_t> palette;
  for (const auto& r : ranked) {
    if (static_cast<int>(palette.size()) >= std::max(1, std::min(maxEntries, 255))) break;
    palette.push_back(r.second);
  }
  if (palette.empty()) palette.push_back(0);
  return palette;
}

std::uint8_t ChooseEscape(const std::vector<std::uint32_t>& filtered) {
  std::size_t count[256] = {};
  ForEachRun(filtered.data(), filtered.size(),
             [&](std::uint32_t p, std::size_t n) { count[Blue(p)] += n < 2 ? n : 0; });
  int best = 0xFF;  // high values are rare as blue bytes of deltas
  for (int v = 0xFF; v >= 1; --v) {
    if (count[v] < count[best]) best = v;
  }
  return static_cast<std::uint8_t>(best);
}

std::vector<std::uint8_t> ChooseRunValues(const std::uint8_t* plane, std::size_t size) {
  long long saving[256] = {};
  ForEachRun(plane, size, [&](std::uint8_t v, std::size_t n) {
    long long cost = 0;
    for (std::size_t left = n; left != 0; left -= std::min<std::size_t>(left, 65535)) {
      cost += std::min<std::size_t>(left, 65535) <= 255 ? 2 : 4;
    }
    saving[v] += static_cast<long long>(n) - cost;
  });
  std::vector<std::uint8_t> values;
  for (int v = 0; v < 256 && values.size() < 255; ++v) {
    if (saving[v] > 0) values.push_back(static_cast<std::uint8_t>(v));
  }
  return values;
}

bool EncodePictureRecord(const std::uint32_t* pixels, int width, int height,
                         const PictureEncodeOptions& o, bool hasMask,
                         std::vector<std::uint8_t>* record, std::string* error) {
  if (width < 1 || width > 65535 || height < 1 || height > 65535) {
    *error = "picture size must be 1 to 65535 in each direction";
    return false;
  }
  const bool grey = o.encoding == kEncodingGreyRle;
  if (o.encoding != kEncodingRaw && o.encoding != kEncodingColourRle &&
      o.encoding != kEncodingPaletteRle && !grey) {
    *error = "unknown encoding";
    return false;
  }
  if (grey && (o.horizontalDelta || o.verticalDelta)) {
    *error = "the grey encoding takes no delta filters";
    return false;
  }
  if (o.encoding == kEncodingPaletteRle && o.palette.size() > 255) {
    *error = "a palette holds at most 255 entries";
    return false;
  }
  std::vector<std::uint32_t> s =
      ApplyDeltaFilters(pixels, width, height, o.horizontalDelta, o.verticalDelta);
  if (grey && !o.colourSwitch) {
    for (std::uint32_t p : s) {
      if (!IsGreyPixel(p)) {
        *error = "the grey encoding needs colour switching for a picture with colour pixels";
        return false;
      }
    }
  }

  std::uint8_t flags = static_cast<std::uint8_t>(o.encoding);
  if (grey ? o.colourSwitch : o.horizontalDelta) flags |= kPicHorizontalDelta;
  if (o.verticalDelta) flags |= kPicVerticalDelta;
  if (hasMask) flags |= kPicHasMask;
  const bool palette = o.encoding == kEncodingPaletteRle;
  const bool rle = o.encoding != kEncodingRaw;
  std::vector<std::uint8_t> out =
      RecordHeader(flags, width, height, 24, palette ? static_cast<int>(o.palette.size()) : 0,
                   rle ? o.escape : 0);
  if (palette) {
    for (std::uint32_t c : o.palette) {
      PutBgr(out, c & 0xFFFFFF);
      out.push_back(0);
    }
  }
  switch (o.encoding) {
    case kEncodingRaw:
      EncodeRaw(s, width, height, out);
      break;
    case kEncodingColourRle:
      EncodeColour(s, o.escape, out);
      break;
    case kEncodingPaletteRle: {
      std::vector<std::uint32_t> pal;
      for (std::uint32_t c : o.palette) pal.push_back(c & 0xFFFFFF);
      EncodePalette(s, o.escape, pal, out);
      break;
    }
    default:
      EncodeGrey(s, o.escape, o.colourSwitch, out);
      break;
  }
  PutU32At(out, 8, static_cast<std::uint32_t>(out.size()));
  *record = std::move(out);
  return true;
}

bool EncodeMaskRecord(const std::uint8_t* plane, int width, int height, const MaskEncodeOptions& o,
                      std::vector<std::uint8_t>* record, std::string* error) {
  if (width < 1 || width > 65535 || height < 1 || height > 65535) {
    *error = "mask size must be 1 to 65535 in each direction";
    return false;
  }
  const std::size_t size = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  int bits = 8;
  int count = 0;
  if (o.type == kMaskRle) {
    if (o.bitsPerPixel != 8 && o.bitsPerPixel != 4) {
      *error = "run-length masks have 8 or 4 bits per pixel";
      return false;
    }
    bits = o.bitsPerPixel;
    if (bits == 4) {
      for (std::size_t i = 0; i < size; ++i) {
        if (plane[i] % 17 != 0) {
          *error = "a 4-bit mask holds only the levels 0x00, 0x11, ... 0xFF";
          return false;
        }
      }
    }
  } else if (o.type == kMaskValueRuns) {
    if (o.runValues.size() > 255) {
      *error = "at most 255 run values";
      return false;
    }
    count = static_cast<int>(o.runValues.size());
  } else if (o.type != kMaskRaw) {
    *error = "unknown mask type";
    return false;
  }
  std::vector<std::uint8_t> out =
      RecordHeader(static_cast<std::uint8_t>(o.type), width, height, bits, count, 0);
  if (o.type == kMaskRaw) {
    out.insert(out.end(), plane, plane + size);
  } else if (o.type == kMaskValueRuns) {
    out.insert(out.end(), o.runValues.begin(), o.runValues.end());
    EncodeMaskValueRuns(plane, size, o.runValues, out);
  } else if (bits == 8) {
    EncodeMaskPairs(plane, size, out);
  } else {
    EncodeMaskNibbles(plane, size, out);
  }
  PutU32At(out, 8, static_cast<std::uint32_t>(out.size()));
  *record = std::move(out);
  return true;
}

std::vector<std::uint8_t> AssemblePicture(const std::vector<std::vector<std::uint8_t>>& records) {
  const std::uint32_t n = static_cast<std::uint32_t>(records.size());
  std::vector<std::uint8_t> out = {'T', 'W', '0', '1', 0x00, 0x01, 0, 0};
  PutU16(out, n);
  PutU16(out, 16);
  PutU16(out, 16 + 4 * n);
  PutU16(out, 0);
  out.resize(16 + 4 * static_cast<std::size_t>(n), 0);
  std::size_t offset = 0;
  for (std::uint32_t i = 0; i < n; ++i) {
    PutU32At(out, 16 + 4 * i, static_cast<std::uint32_t>(offset));
    out.insert(out.end(), records[i].begin(), records[i].end());
    offset += records[i].size();
    if (i + 1 < n) {
      std::size_t fill = (4 - offset % 4) % 4;
      out.insert(out.end(), fill, 0);
      offset += fill;
    }
  }
  return out;
}
