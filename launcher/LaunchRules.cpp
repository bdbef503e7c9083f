#include "launcher/LaunchRules.h"

#include <cstring>

namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// GBK lead bytes; the byte after one belongs to the same character.
bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

}  // namespace

bool WorkingDirectoryOf(const char* target, char* out, std::size_t size) {
  if (size > 0) out[0] = '\0';
  if (!target || size == 0) return false;
  std::size_t start = (target[0] != '\0' && target[1] == ':') ? 2 : 0;
  // The folder ends right after the last separator that is a character of its own.
  std::size_t end = start;
  for (std::size_t i = start; target[i] != '\0'; ++i) {
    if (IsLeadByte(static_cast<unsigned char>(target[i]))) {
      if (target[i + 1] == '\0') break;
      ++i;
    } else if (IsSeparator(target[i])) {
      end = i + 1;
    }
  }
  std::size_t length = end;  // the drive alone when there is no separator
  if (length + 1 > size) return false;
  std::memcpy(out, target, length);
  out[length] = '\0';
  return true;
}

const char* LaunchFailureText(std::intptr_t shellResult) {
  if (shellResult > 32) return nullptr;
  if (shellResult == 2 || shellResult == 3) return "这个路径无效，文件或文件夹可能已被删除。";
  return "当前不可用。";
}

bool IsPlayableWave(const std::uint8_t* bytes, std::size_t length) {
  // "RIFF", a little-endian length of what follows, then "WAVE".
  if (!bytes || length < 12) return false;
  if (std::memcmp(bytes, "RIFF", 4) != 0 || std::memcmp(bytes + 8, "WAVE", 4) != 0) return false;
  std::uint32_t declared =
      static_cast<std::uint32_t>(bytes[4]) | (static_cast<std::uint32_t>(bytes[5]) << 8) |
      (static_cast<std::uint32_t>(bytes[6]) << 16) | (static_cast<std::uint32_t>(bytes[7]) << 24);
  return declared <= length - 8;
}
