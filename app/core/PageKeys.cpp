#include "app/core/PageKeys.h"

#include <cstdio>

namespace {

// Short names for a fresh launcher, one per page and character.
const char* const kDefaultPageNames[kPageCount] = {
    "常用", "工作", "游戏", "工具", "网络", "文档",
};

bool Finish(char* out, std::size_t size, int written) {
  if (written < 0 || static_cast<std::size_t>(written) >= size) {
    out[0] = '\0';
    return false;
  }
  return true;
}

}  // namespace

bool FormatPageKey(char* out, std::size_t size, int page) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  if (page < 0 || page >= kPageCount) return false;
  return Finish(out, size, std::snprintf(out, size, "Page%d", page + 1));
}

bool FormatSlotKey(char* out, std::size_t size, SlotKey key, int page, int slot) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  if (page < 0 || page >= kPageCount || slot < 0 || slot >= kSlotCount) return false;
  const char* prefix = key == SlotKey::kExec      ? "Exec"
                       : key == SlotKey::kComment ? "Comment"
                                                  : "Icon";
  return Finish(out, size, std::snprintf(out, size, "%s%d-%d", prefix, page + 1, slot + 1));
}

const char* DefaultPageName(int page) {
  return page >= 0 && page < kPageCount ? kDefaultPageNames[page] : nullptr;
}
