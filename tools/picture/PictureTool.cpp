#include "tools/picture/PictureTool.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "imaging/PictureEncoder.h"
#include "imaging/PictureFormat.h"
#include "tools/picture/PngFile.h"

namespace {

// Larger records are reported, not decoded: the tool should not try to
// allocate gigabytes because a header says so.
constexpr std::uint64_t kMaxCheckedPixels = std::uint64_t{1} << 28;

bool TooLarge(const PictureRecord& r) {
  return static_cast<std::uint64_t>(r.width()) * r.height() > kMaxCheckedPixels;
}

const char kUsage[] =
    "usage: dida-picture COMMAND ...\n"
    "\n"
    "  encode IN.png OUT.tw [options]   write a picture file from a PNG\n"
    "  decode IN.tw OUT.png [options]   write the picture as the launcher decodes it\n"
    "  info IN.tw                       print the header, the records, flags and sizes\n"
    "  --help                           this text\n"
    "\n"
    "encode options:\n"
    "  --encoding raw|colour|palette|grey|auto\n"
    "                       pixel encoding (default colour): raw 24-bit rows, run-length\n"
    "                       colour, run-length palette, run-length grey; auto tries them all\n"
    "  --hdelta             horizontal XOR delta (raw, colour, palette)\n"
    "  --vdelta             vertical XOR delta (raw, colour, palette)\n"
    "  --colour-switch      grey: let the stream switch to colour pixels (flag 0x01);\n"
    "                       turned on by itself when a grey picture has colour pixels\n"
    "  --escape 0xNN        escape byte of the run-length encodings (default: the\n"
    "                       cheapest for the picture)\n"
    "  --palette auto|RRGGBB[,RRGGBB...]\n"
    "                       palette encoding: collect the colours that pay (auto, the\n"
    "                       default) or list them; one entry (e.g. 000000) makes the\n"
    "                       one-entry form where every other colour is a literal.\n"
    "                       Colours are those of the stream after the delta filters.\n"
    "  --mask               add a mask record from the PNG's alpha channel\n"
    "  --mask-image M.png   add a mask record from another PNG of the same size\n"
    "  --mask-channel auto|alpha|grey\n"
    "                       which value of the mask source counts (default auto: alpha\n"
    "                       when the PNG has an alpha channel, else its grey level)\n"
    "  --mask-type raw|rle8|rle4|runs\n"
    "                       mask record type (default rle8; giving it adds the mask):\n"
    "                       raw 0x10, rle8 0x11 pairs, rle4 0x11 nibble codes (levels\n"
    "                       0x00, 0x11 ... 0xFF only), runs 0x12 value runs\n"
    "  --run-values auto|NN[,NN...]\n"
    "                       runs: the byte values written as runs (default auto);\n"
    "                       'none' writes every byte as it is\n"
    "  --mask-binary        every non-zero mask value becomes 255\n"
    "  --auto               try every encoding, filter and mask type; keep the smallest\n"
    "                       (an explicit --escape is kept)\n"
    "\n"
    "decode options:\n"
    "  --mask-out M.png     also write the mask plane as a grey PNG\n"
    "  --alpha              write RGBA with the mask plane as alpha\n"
    "  --repeat K           repeat every pixel K x K times (1 to 8, default 1), as the\n"
    "                       launcher shows a picture made for a scale K times smaller\n"
    "\n"
    "The picture record comes first and the mask record second; the picture record\n"
    "has flag 0x80 when a mask follows. Exit status: 0 done, 1 bad input, 2 bad usage.\n";

struct Options {
  std::string input;
  std::string output;
  std::string encoding = "colour";
  bool hdelta = false;
  bool vdelta = false;
  bool colourSwitch = false;
  bool escapeSet = false;
  std::uint8_t escape = 0;
  std::string palette = "auto";
  bool mask = false;
  std::string maskImage;
  std::string maskChannel = "auto";
  std::string maskType = "rle8";
  std::string runValues = "auto";
  bool maskBinary = false;
  bool autoPick = false;
  std::string maskOut;
  bool alpha = false;
  int repeat = 1;
};

constexpr int kMaxRepeat = 8;

class UsageError {
 public:
  explicit UsageError(std::string text) : message(std::move(text)) {}
  std::string message;
};

bool ParseByte(const std::string& text, std::uint8_t* out) {
  if (text.empty()) return false;
  char* end = nullptr;
  unsigned long v = std::strtoul(text.c_str(), &end, 0);
  if (*end != '\0' || v > 255) return false;
  *out = static_cast<std::uint8_t>(v);
  return true;
}

std::vector<std::string> Split(const std::string& text) {
  std::vector<std::string> parts;
  std::stringstream ss(text);
  std::string part;
  while (std::getline(ss, part, ',')) parts.push_back(part);
  return parts;
}

bool ParsePalette(const std::string& text, std::vector<std::uint32_t>* palette) {
  for (const std::string& p : Split(text)) {
    if (p.size() != 6 || p.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) {
      return false;
    }
    palette->push_back(static_cast<std::uint32_t>(std::strtoul(p.c_str(), nullptr, 16)));
  }
  return !palette->empty() && palette->size() <= 255;
}

bool ParseRunValues(const std::string& text, std::vector<std::uint8_t>* values) {
  if (text == "none") return true;
  for (const std::string& p : Split(text)) {
    std::uint8_t v;
    if (!ParseByte(p.rfind("0x", 0) == 0 ? p : "0x" + p, &v)) return false;
    values->push_back(v);
  }
  return !values->empty() && values->size() <= 255;
}

bool ReadFile(const std::string& path, std::vector<std::uint8_t>* data, std::string* error) {
  std::ifstream f(path, std::ios::binary);
  if (!f) {
    *error = path + ": cannot open";
    return false;
  }
  data->assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  return true;
}

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& data, std::string* error) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!f) {
    *error = path + ": cannot write";
    return false;
  }
  return true;
}

Options ParseOptions(int argc, const char* const* argv, int first, int positional) {
  Options o;
  std::vector<std::string> names;
  auto value = [&](int& i) -> std::string {
    if (i + 1 >= argc) throw UsageError(std::string(argv[i]) + " needs a value");
    return argv[++i];
  };
  for (int i = first; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--encoding") {
      o.encoding = value(i);
      if (o.encoding != "raw" && o.encoding != "colour" && o.encoding != "palette" &&
          o.encoding != "grey" && o.encoding != "auto") {
        throw UsageError("unknown encoding '" + o.encoding + "'");
      }
    } else if (a == "--hdelta") {
      o.hdelta = true;
    } else if (a == "--vdelta") {
      o.vdelta = true;
    } else if (a == "--colour-switch") {
      o.colourSwitch = true;
    } else if (a == "--escape") {
      std::string v = value(i);
      if (!ParseByte(v, &o.escape)) throw UsageError("bad escape byte '" + v + "'");
      o.escapeSet = true;
    } else if (a == "--palette") {
      o.palette = value(i);
    } else if (a == "--mask") {
      o.mask = true;
    } else if (a == "--mask-image") {
      o.maskImage = value(i);
      o.mask = true;
    } else if (a == "--mask-channel") {
      o.maskChannel = value(i);
      if (o.maskChannel != "auto" && o.maskChannel != "alpha" && o.maskChannel != "grey") {
        throw UsageError("unknown mask channel '" + o.maskChannel + "'");
      }
    } else if (a == "--mask-type") {
      o.maskType = value(i);
      o.mask = true;
      if (o.maskType != "raw" && o.maskType != "rle8" && o.maskType != "rle4" &&
          o.maskType != "runs") {
        throw UsageError("unknown mask type '" + o.maskType + "'");
      }
    } else if (a == "--run-values") {
      o.runValues = value(i);
    } else if (a == "--mask-binary") {
      o.maskBinary = true;
    } else if (a == "--auto") {
      o.autoPick = true;
    } else if (a == "--mask-out") {
      o.maskOut = value(i);
    } else if (a == "--alpha") {
      o.alpha = true;
    } else if (a == "--repeat") {
      std::string v = value(i);
      char* end = nullptr;
      long k = std::strtol(v.c_str(), &end, 10);
      if (v.empty() || *end != '\0' || k < 1 || k > kMaxRepeat) {
        throw UsageError("bad repeat '" + v + "' (1 to " + std::to_string(kMaxRepeat) + ")");
      }
      o.repeat = static_cast<int>(k);
    } else if (a.rfind("--", 0) == 0) {
      throw UsageError("unknown option '" + a + "'");
    } else {
      names.push_back(a);
    }
  }
  if (static_cast<int>(names.size()) != positional) {
    throw UsageError("expected " + std::to_string(positional) + " file name(s)");
  }
  o.input = names[0];
  if (positional > 1) o.output = names[1];
  return o;
}

// ---- encode ----------------------------------------------------------------

std::vector<PictureEncodeOptions> PixelCandidates(const Options& o,
                                                  const std::vector<std::uint32_t>& pixels,
                                                  int width, int height, bool allGrey) {
  std::vector<PictureEncodeOptions> list;
  const bool everything = o.autoPick || o.encoding == "auto";
  std::vector<std::string> encodings;
  if (everything) {
    encodings = {"raw", "colour", "palette", "grey"};
  } else {
    encodings = {o.encoding};
  }
  for (const std::string& name : encodings) {
    std::vector<std::pair<bool, bool>> filters;
    if (name == "grey") {
      filters = {{false, false}};
    } else if (everything) {
      filters = {{false, false}, {true, false}, {false, true}, {true, true}};
    } else {
      filters = {{o.hdelta, o.vdelta}};
    }
    for (const auto& f : filters) {
      PictureEncodeOptions e;
      e.horizontalDelta = f.first;
      e.verticalDelta = f.second;
      std::vector<std::uint32_t> s =
          ApplyDeltaFilters(pixels.data(), width, height, f.first, f.second);
      e.escape = o.escapeSet ? o.escape : ChooseEscape(s);
      if (name == "raw") {
        e.encoding = kEncodingRaw;
        list.push_back(e);
      } else if (name == "colour") {
        e.encoding = kEncodingColourRle;
        list.push_back(e);
      } else if (name == "grey") {
        e.encoding = kEncodingGreyRle;
        e.colourSwitch = o.colourSwitch || !allGrey;
        list.push_back(e);
      } else {
        e.encoding = kEncodingPaletteRle;
        if (o.palette != "auto" && !everything) {
          ParsePalette(o.palette, &e.palette);
          list.push_back(e);
        } else {
          e.palette = ChoosePalette(s, width, 255);
          list.push_back(e);
          if (e.palette.size() > 1) {
            e.palette.resize(1);  // the one-entry form saves a byte per run
            list.push_back(e);
          }
        }
      }
    }
  }
  return list;
}

std::vector<MaskEncodeOptions> MaskCandidates(const Options& o,
                                              const std::vector<std::uint8_t>& plane) {
  std::vector<std::string> types;
  if (o.autoPick) {
    types = {"raw", "rle8", "rle4", "runs"};
  } else {
    types = {o.maskType};
  }
  std::vector<MaskEncodeOptions> list;
  for (const std::string& t : types) {
    MaskEncodeOptions m;
    if (t == "raw") {
      m.type = kMaskRaw;
    } else if (t == "rle8" || t == "rle4") {
      m.type = kMaskRle;
      m.bitsPerPixel = t == "rle8" ? 8 : 4;
      if (o.autoPick && m.bitsPerPixel == 4) {
        bool levels = true;
        for (std::uint8_t v : plane) levels = levels && v % 17 == 0;
        if (!levels) continue;
      }
    } else {
      m.type = kMaskValueRuns;
      if (o.runValues == "auto" || o.autoPick) {
        m.runValues = ChooseRunValues(plane.data(), plane.size());
      } else {
        ParseRunValues(o.runValues, &m.runValues);
      }
    }
    list.push_back(m);
  }
  return list;
}

std::uint8_t MaskValue(const RgbaImage& img, std::size_t i, bool useAlpha) {
  const std::uint8_t* p = &img.rgba[4 * i];
  if (useAlpha) return p[3];
  if (p[0] == p[1] && p[1] == p[2]) return p[0];
  return static_cast<std::uint8_t>((p[0] + p[1] + p[2] + 1) / 3);
}

// The smallest record encode(candidate, &record, &error) makes of the
// candidates; when none encodes, empty, and the first failure said on err.
template <class Candidate, class EncodeFn>
std::vector<std::uint8_t> Smallest(const std::vector<Candidate>& candidates, EncodeFn encode,
                                   const std::string& what, std::ostream& err) {
  std::vector<std::uint8_t> best;
  std::string error, firstError;
  for (const Candidate& c : candidates) {
    std::vector<std::uint8_t> rec;
    const bool made = encode(c, &rec, &error);
    if (!made && firstError.empty()) firstError = error;
    if (made && (best.empty() || rec.size() < best.size())) best = std::move(rec);
  }
  if (best.empty()) err << "dida-picture: " << what << ": " << firstError << "\n";
  return best;
}

int Encode(const Options& o, std::ostream& out, std::ostream& err) {
  std::string error;
  if (o.palette != "auto") {
    std::vector<std::uint32_t> check;
    if (!ParsePalette(o.palette, &check)) {
      throw UsageError("bad palette '" + o.palette + "' (RRGGBB[,RRGGBB...], at most 255)");
    }
  }
  if (o.runValues != "auto") {
    std::vector<std::uint8_t> check;
    if (!ParseRunValues(o.runValues, &check)) {
      throw UsageError("bad run values '" + o.runValues + "' (NN[,NN...] in hex, or none)");
    }
  }
  RgbaImage img;
  if (!ReadPng(o.input, &img, &error)) {
    err << "dida-picture: " << error << "\n";
    return 1;
  }
  const int w = img.width, h = img.height;
  if (w < 1 || h < 1 || w > 65535 || h > 65535) {
    err << "dida-picture: " << o.input << ": a picture is 1 to 65535 pixels each way\n";
    return 1;
  }
  // Memory order: the PNG's bottom row becomes row 0.
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * h);
  bool allGrey = true;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &img.rgba[4 * (static_cast<std::size_t>(y) * w + x)];
      std::uint32_t px = (p[0] << 16) | (p[1] << 8) | p[2];
      allGrey = allGrey && IsGreyPixel(px);
      pixels[static_cast<std::size_t>(h - 1 - y) * w + x] = px;
    }
  }

  std::vector<std::uint8_t> plane;
  if (o.mask) {
    RgbaImage maskImg;
    const RgbaImage* src = &img;
    if (!o.maskImage.empty()) {
      if (!ReadPng(o.maskImage, &maskImg, &error)) {
        err << "dida-picture: " << error << "\n";
        return 1;
      }
      if (maskImg.width != w || maskImg.height != h) {
        err << "dida-picture: " << o.maskImage << " is " << maskImg.width << "x" << maskImg.height
            << ", the picture " << w << "x" << h << "\n";
        return 1;
      }
      src = &maskImg;
    } else if (o.maskChannel == "grey") {
      err << "dida-picture: --mask-channel grey needs --mask-image\n";
      return 1;
    }
    bool useAlpha = o.maskChannel == "alpha" || (o.maskChannel == "auto" && src->hasAlpha);
    plane.resize(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        std::uint8_t v = MaskValue(*src, static_cast<std::size_t>(y) * w + x, useAlpha);
        if (o.maskBinary && v != 0) v = 255;
        plane[static_cast<std::size_t>(h - 1 - y) * w + x] = v;
      }
    }
  }

  const std::vector<std::uint8_t> best = Smallest(
      PixelCandidates(o, pixels, w, h, allGrey),
      [&](const PictureEncodeOptions& c, std::vector<std::uint8_t>* rec, std::string* e) {
        return EncodePictureRecord(pixels.data(), w, h, c, o.mask, rec, e);
      },
      o.input, err);
  if (best.empty()) return 1;
  std::vector<std::vector<std::uint8_t>> records = {best};
  if (o.mask) {
    std::vector<std::uint8_t> bestMask = Smallest(
        MaskCandidates(o, plane),
        [&](const MaskEncodeOptions& m, std::vector<std::uint8_t>* rec, std::string* e) {
          return EncodeMaskRecord(plane.data(), w, h, m, rec, e);
        },
        "mask of " + o.input, err);
    if (bestMask.empty()) return 1;
    records.push_back(std::move(bestMask));
  }
  std::vector<std::uint8_t> file = AssemblePicture(records);
  if (!WriteFile(o.output, file, &error)) {
    err << "dida-picture: " << error << "\n";
    return 1;
  }
  char line[160];
  std::snprintf(line, sizeof line, "%s: %dx%d, flags 0x%02X, escape 0x%02X, %zu bytes\n",
                o.output.c_str(), w, h, best[2], best[18], file.size());
  out << line;
  return 0;
}

// ---- decode and info ---------------------------------------------------------

const char* EncodingName(int encoding) {
  switch (encoding) {
    case kEncodingRaw:
      return "raw";
    case kEncodingColourRle:
      return "run-length colour";
    case kEncodingPaletteRle:
      return "run-length palette";
    default:
      return "run-length grey";
  }
}

std::string DescribeFlags(const PictureRecord& r) {
  std::string s;
  if (r.isMask()) {
    switch (r.maskType()) {
      case kMaskRaw:
        return "mask, raw";
      case kMaskRle:
        return r.bitsPerPixel() == 8   ? "mask, run-length pairs (8 bits)"
               : r.bitsPerPixel() == 4 ? "mask, nibble codes (4 bits)"
                                       : "mask, run-length of unknown depth (decodes nothing)";
      case kMaskValueRuns:
        return "mask, value runs";
      default:
        return "mask of unknown type (decodes nothing)";
    }
  }
  s = EncodingName(r.encoding());
  if (r.encoding() == kEncodingGreyRle) {
    if (r.flags() & kPicHorizontalDelta) s += ", colour switching";
    if (r.flags() & kPicVerticalDelta) s += ", vertical delta flag (ignored)";
  } else {
    if (r.flags() & kPicHorizontalDelta) s += ", horizontal delta";
    if (r.flags() & kPicVerticalDelta) s += ", vertical delta";
  }
  if (r.flags() & kPicHasMask) s += ", mask follows";
  return s;
}

// Reads the input file, or says why it cannot.
bool ReadInput(const Options& o, std::vector<std::uint8_t>* data, std::ostream& err) {
  std::string error;
  if (ReadFile(o.input, data, &error)) return true;
  err << "dida-picture: " << error << "\n";
  return false;
}

int Info(const Options& o, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> data;
  if (!ReadInput(o, &data, err)) return 1;
  Picture pic(data.data(), data.size());
  if (!pic.valid()) {
    err << "dida-picture: " << o.input << ": not a picture file (bad magic or truncated header)\n";
    return 1;
  }
  char line[256];
  std::snprintf(line, sizeof line,
                "%s: %zu bytes, magic TW01, bytes 4..5 %02X %02X, records %d, table at %u, "
                "base %u\n",
                o.input.c_str(), data.size(), data[4], data[5], pic.recordCount(),
                data[10] | (data[11] << 8), data[12] | (data[13] << 8));
  out << line;
  int status = 0;
  for (int i = 0; i < pic.recordCount(); ++i) {
    PictureRecord r;
    if (!pic.Record(i, &r)) {
      out << "record " << i << ": outside the file\n";
      status = 1;
      continue;
    }
    const std::size_t offset = static_cast<std::size_t>(r.bytes - data.data());
    const std::uint32_t length =
        r.bytes[8] | (r.bytes[9] << 8) | (r.bytes[10] << 16) | (r.bytes[11] << 24);
    int ok;
    if (TooLarge(r)) {
      ok = 0;
    } else if (r.isMask()) {
      std::vector<std::uint8_t> plane(static_cast<std::size_t>(r.width()) * r.height());
      ok = DecodeMask(r, plane.data(), plane.size());
    } else {
      std::vector<std::uint32_t> px(static_cast<std::size_t>(r.width()) * r.height());
      ok = DecodePixels(r, px.data(), r.width(), r.height());
    }
    std::snprintf(line, sizeof line,
                  "record %d at %zu: %s %dx%d, flags 0x%02X (%s), bits %d, table %d, "
                  "escape 0x%02X, length %u, stream %s\n",
                  i, offset, r.isMask() ? "mask" : "picture", r.width(), r.height(), r.flags(),
                  DescribeFlags(r).c_str(), r.bitsPerPixel(), r.tableCount(), r.escape(), length,
                  ok ? "ok" : "MALFORMED");
    out << line;
    if (!ok) status = 1;
  }
  return status;
}

// A top-down image with every pixel repeated k x k times: what the launcher
// shows of a picture made for a scale k times smaller. No interpolation.
std::vector<std::uint8_t> Repeated(const std::vector<std::uint8_t>& image, int w, int h,
                                   int channels, int k) {
  if (k == 1) return image;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * k * channels;
  std::vector<std::uint8_t> out(rowBytes * h * k);
  for (int y = 0; y < h; ++y) {
    std::uint8_t* row = &out[rowBytes * y * k];
    for (int x = 0; x < w; ++x) {
      const std::uint8_t* p = &image[(static_cast<std::size_t>(y) * w + x) * channels];
      for (int i = 0; i < k; ++i) std::memcpy(row + (x * k + i) * channels, p, channels);
    }
    for (int i = 1; i < k; ++i) std::memcpy(row + rowBytes * i, row, rowBytes);
  }
  return out;
}

bool WriteRepeatedPng(const std::string& path, int w, int h, int channels,
                      const std::vector<std::uint8_t>& image, int k, std::string* error) {
  return WritePng(path, w * k, h * k, channels, Repeated(image, w, h, channels, k), error);
}

int Decode(const Options& o, std::ostream& out, std::ostream& err) {
  std::vector<std::uint8_t> data;
  if (!ReadInput(o, &data, err)) return 1;
  Picture pic(data.data(), data.size());
  PictureRecord rec;
  if (!pic.Record(0, &rec)) {
    err << "dida-picture: " << o.input << ": not a picture file or no record 0\n";
    return 1;
  }
  const int w = rec.width(), h = rec.height();
  const std::uint64_t k = static_cast<std::uint64_t>(o.repeat);
  if (w == 0 || h == 0 || TooLarge(rec) || w * k * h * k > kMaxCheckedPixels) {
    err << "dida-picture: " << o.input << ": empty or oversized picture\n";
    return 1;
  }
  std::vector<std::uint32_t> px(static_cast<std::size_t>(w) * h, 0);
  if (!DecodePixels(rec, px.data(), w, h)) {
    err << "dida-picture: " << o.input << ": malformed picture stream\n";
    return 1;
  }
  PictureRecord maskRec;
  const bool hasMask = (rec.flags() & kPicHasMask) && pic.MaskRecord(&maskRec);
  std::vector<std::uint8_t> plane;
  if (!o.maskOut.empty() || o.alpha) {
    if (!hasMask) {
      err << "dida-picture: " << o.input << " holds no mask plane\n";
      return 1;
    }
    if (TooLarge(maskRec) || maskRec.width() * k * maskRec.height() * k > kMaxCheckedPixels) {
      err << "dida-picture: " << o.input << ": oversized mask plane\n";
      return 1;
    }
    plane.assign(static_cast<std::size_t>(maskRec.width()) * maskRec.height(), 0);
    if (!DecodeMask(maskRec, plane.data(), plane.size())) {
      err << "dida-picture: " << o.input << ": malformed mask stream\n";
      return 1;
    }
    if (o.alpha && (maskRec.width() != w || maskRec.height() != h)) {
      err << "dida-picture: the mask plane is not the picture's size; use --mask-out\n";
      return 1;
    }
  }
  const int channels = o.alpha ? 4 : 3;
  std::string error;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(w) * h * channels);
  for (int y = 0; y < h; ++y) {
    const std::size_t mem = static_cast<std::size_t>(h - 1 - y) * w;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t p = px[mem + x];
      std::uint8_t* d = &rgb[(static_cast<std::size_t>(y) * w + x) * channels];
      d[0] = static_cast<std::uint8_t>(p >> 16);
      d[1] = static_cast<std::uint8_t>(p >> 8);
      d[2] = static_cast<std::uint8_t>(p);
      if (o.alpha) d[3] = plane[mem + x];
    }
  }
  if (!WriteRepeatedPng(o.output, w, h, channels, rgb, o.repeat, &error)) {
    err << "dida-picture: " << error << "\n";
    return 1;
  }
  if (!o.maskOut.empty()) {
    const int mw = maskRec.width(), mh = maskRec.height();
    std::vector<std::uint8_t> grey(plane.size());
    for (int y = 0; y < mh; ++y) {
      std::memcpy(&grey[static_cast<std::size_t>(y) * mw],
                  &plane[static_cast<std::size_t>(mh - 1 - y) * mw], static_cast<std::size_t>(mw));
    }
    if (!WriteRepeatedPng(o.maskOut, mw, mh, 1, grey, o.repeat, &error)) {
      err << "dida-picture: " << error << "\n";
      return 1;
    }
  }
  out << o.output << ": " << w * o.repeat << "x" << h * o.repeat << (hasMask ? " with mask" : "")
      << "\n";
  return 0;
}

}  // namespace

int RunPictureTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
  if (argc < 2) {
    err << kUsage;
    return 2;
  }
  const std::string command = argv[1];
  if (command == "--help" || command == "-h" || command == "help") {
    out << kUsage;
    return 0;
  }
  try {
    if (command == "encode") return Encode(ParseOptions(argc, argv, 2, 2), out, err);
    if (command == "decode") return Decode(ParseOptions(argc, argv, 2, 2), out, err);
    if (command == "info") return Info(ParseOptions(argc, argv, 2, 1), out, err);
    throw UsageError("unknown command '" + command + "'");
  } catch (const UsageError& e) {
    err << "dida-picture: " << e.message << "\n(dida-picture --help lists the commands)\n";
    return 2;
  } catch (const std::bad_alloc&) {
    err << "dida-picture: out of memory\n";
    return 1;
  }
}
