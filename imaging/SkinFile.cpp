// The start of a PNG file as read here (numbers big-endian):
//   0 signature 89 50 4E 47 0D 0A 1A 0A
//   8 u32 chunk length, 13 | 12 "IHDR" | 16 u32 width | 20 u32 height
//   24 bit depth, colour type, compression, filter, interlace (1 byte each)
//   29 u32 CRC of the chunk (left to the codec)
// The header is the first chunk of every PNG.
#include "imaging/SkinFile.h"

#include <cstdio>
#include <cstring>

#include "common/DisplayScale.h"

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
constexpr std::size_t kPngHeaderEnd = 33;
constexpr int kPageFiles = 6;

std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// "", or "@" and percent / 100 as a decimal without trailing zeros and "x".
void ScaleSuffix(int percent, char (&out)[16]) {
  out[0] = '\0';
  if (percent == kBasePercent) return;
  const int whole = percent / 100, hundredths = percent % 100;
  if (hundredths == 0) {
    std::snprintf(out, sizeof out, "@%dx", whole);
  } else if (hundredths % 10 == 0) {
    std::snprintf(out, sizeof out, "@%d.%dx", whole, hundredths / 10);
  } else {
    std::snprintf(out, sizeof out, "@%d.%02dx", whole, hundredths);
  }
}

}  // namespace

SkinSize SkinPartSize(SkinPart part, const SkinLengths& l) {
  switch (part) {
    case kSkinPage:
    case kSkinPageBlink:
      return {l.characterWidth, l.frameHeight};
    case kSkinPanel:
      return {l.panelWidth, l.windowHeight};
    case kSkinButtons:
      return {l.characterWidth, 3 * (l.windowHeight - l.frameHeight)};
  }
  return {0, 0};
}

bool SkinFileName(SkinPart part, int page, int percent, char* out, std::size_t size) {
  if (out == nullptr || size == 0) return false;
  out[0] = '\0';
  if (percent < kBasePercent || percent > kMaxScalePercent) return false;
  const bool isPage = part == kSkinPage || part == kSkinPageBlink;
  if (isPage && (page < 0 || page >= kPageFiles)) return false;
  char suffix[16];
  ScaleSuffix(percent, suffix);
  char name[48];
  if (part == kSkinPage) {
    std::snprintf(name, sizeof name, "page%d%s.png", page + 1, suffix);
  } else if (part == kSkinPageBlink) {
    std::snprintf(name, sizeof name, "page%d-blink%s.png", page + 1, suffix);
  } else if (part == kSkinPanel) {
    std::snprintf(name, sizeof name, "panel%s.png", suffix);
  } else if (part == kSkinButtons) {
    std::snprintf(name, sizeof name, "buttons%s.png", suffix);
  } else {
    return false;
  }
  const std::size_t length = std::strlen(name);
  if (length >= size) return false;
  std::memcpy(out, name, length + 1);
  return true;
}

const char* SkinRefusalText(SkinRefusal reason) {
  switch (reason) {
    case kSkinAccepted:
      return nullptr;
    case kSkinMissing:
      return "没有找到。";
    case kSkinNotAFile:
      return "不是文件，而是文件夹。";
    case kSkinUnreadable:
      return "无法读取。";
    case kSkinFileTooLarge:
      return "文件太大。";
    case kSkinNotPng:
      return "不是 PNG 图片。";
    case kSkinWrongSize:
      return "图片尺寸不对。";
    case kSkinDamaged:
      return "图片已损坏或不完整。";
    case kSkinUnsupported:
      return "无法转换这种 PNG 的像素格式。";
    case kSkinNoCodec:
      return "系统缺少读取 PNG 图片的组件。";
    case kSkinNoMemory:
      return "内存不足。";
  }
  return nullptr;
}

SkinRefusal CheckSkinSize(std::uint32_t width, std::uint32_t height, SkinSize expected) {
  if (expected.width <= 0 || expected.height <= 0) return kSkinWrongSize;
  const bool same = width == static_cast<std::uint32_t>(expected.width) &&
                    height == static_cast<std::uint32_t>(expected.height);
  return same ? kSkinAccepted : kSkinWrongSize;
}

SkinRefusal CheckSkinFileHeader(const std::uint8_t* bytes, std::size_t size, SkinSize expected) {
  if (bytes == nullptr || size < sizeof kPngSignature ||
      std::memcmp(bytes, kPngSignature, sizeof kPngSignature) != 0) {
    return kSkinNotPng;
  }
  if (size < kPngHeaderEnd || Be32(bytes + 8) != 13 || std::memcmp(bytes + 12, "IHDR", 4) != 0) {
    return kSkinDamaged;
  }
  return CheckSkinSize(Be32(bytes + 16), Be32(bytes + 20), expected);
}
