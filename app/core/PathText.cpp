#include "app/core/PathText.h"

#include <cstring>

namespace {

const char kIniSuffix[] = ".ini";
const std::size_t kIniSuffixSize = sizeof kIniSuffix;  // with the terminator

}  // namespace

bool DeriveSettingsPath(const char* modulePath, char* out, std::size_t size) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  if (size < kIniSuffixSize) return false;
  std::size_t length = modulePath ? std::strlen(modulePath) : 0;
  // The scan runs down to index 1 only, so a name such as ".profile" keeps
  // nothing before its suffix and the path becomes ".ini" alone.
  std::size_t cut = 0;
  for (std::size_t i = length; i > 1; --i) {
    if (modulePath[i - 1] == '.') {
      cut = i - 1;
      break;
    }
  }
  if (cut > size - kIniSuffixSize) {
    std::memcpy(out, kIniSuffix, kIniSuffixSize);
    return false;
  }
  std::memcpy(out, modulePath, cut);
  std::memcpy(out + cut, kIniSuffix, kIniSuffixSize);
  return true;
}

bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

TextSpan FileTitleSpan(const char* path, LeadBytePredicate isLeadByte) {
  TextSpan span = {0, 0};
  if (!path) return span;
  std::size_t i = 0;
  if (path[0] != '\0' && path[1] == ':') i = 2;
  std::size_t nameBegin = i;
  std::size_t lastDot = static_cast<std::size_t>(-1);
  while (path[i] != '\0') {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (isLeadByte && isLeadByte(c)) {
      // A lead byte with nothing after it ends the text: the terminator is
      // never stepped over.
      i += path[i + 1] != '\0' ? 2 : 1;
      continue;
    }
    if (c == '\\' || c == '/') {
      nameBegin = i + 1;
      lastDot = static_cast<std::size_t>(-1);
    } else if (c == '.') {
      lastDot = i;
    }
    ++i;
  }
  span.begin = nameBegin;
  span.length = (lastDot != static_cast<std::size_t>(-1) ? lastDot : i) - nameBegin;
  return span;
}
