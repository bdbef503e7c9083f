#include "common/HeapString.h"

#include <cstdlib>
#include <cstring>

char* DupString(const char* s) {
  if (!s) return nullptr;
  std::size_t n = std::strlen(s) + 1;
  char* copy = static_cast<char*>(std::malloc(n));
  if (copy) std::memcpy(copy, s, n);
  return copy;
}

char* ConcatStrings(const char* first, const char* second) {
  if (!first || !second) return nullptr;
  std::size_t a = std::strlen(first);
  std::size_t b = std::strlen(second);
  char* joined = static_cast<char*>(std::malloc(a + b + 1));
  if (!joined) return nullptr;
  std::memcpy(joined, first, a);
  std::memcpy(joined + a, second, b + 1);
  return joined;
}

bool JoinPath(char* out, std::size_t size, const char* first, const char* second) {
  if (!out || size == 0) return false;
  out[0] = '\0';
  if (!first || !second) return false;
  std::size_t a = std::strlen(first);
  std::size_t b = std::strlen(second);
  if (a + b + 1 > size) return false;
  std::memcpy(out, first, a);
  std::memcpy(out + a, second, b + 1);
  return true;
}
