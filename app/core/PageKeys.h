#pragma once
// Names of the page keys in the settings file and the pages' default names.
// Page and slot arguments are 0-based; the keys carry 1-based numbers.

#include <cstddef>

constexpr int kPageCount = 6;
constexpr int kSlotCount = 8;

enum class SlotKey { kExec, kComment, kIcon };

// "Page%d" for the page. Returns false, leaving out empty, for a page out of
// range or a buffer too small.
bool FormatPageKey(char* out, std::size_t size, int page);

// "Exec%d-%d", "Comment%d-%d" or "Icon%d-%d" for the page and slot. Returns
// false, leaving out empty, for an index out of range or a buffer too small.
bool FormatSlotKey(char* out, std::size_t size, SlotKey key, int page, int slot);

// The name a page gets when the settings file holds none; null out of range.
const char* DefaultPageName(int page);
