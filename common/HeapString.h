#pragma once
// Heap strings of the C world: each belongs to exactly one owner, who
// releases it with free().

#include <cstddef>

// A new heap copy of s (its length + 1 bytes), or null when s is null or
// memory runs out.
char* DupString(const char* s);

// A new heap block holding first followed by second; null when either is
// null or memory runs out.
char* ConcatStrings(const char* first, const char* second);

// Copies first + second into out (size bytes, terminator included). Returns
// false, leaving out empty, when the joined text would not fit.
bool JoinPath(char* out, std::size_t size, const char* first, const char* second);
