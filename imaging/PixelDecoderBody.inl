// The fast pixel decoder. It reads the stream once and undoes the delta
// filters as it writes, so that each pixel is touched once:
//
// - One row function per filter combination (a template), with the write
//   position, the row's end, the row below and the horizontal prefix in
//   locals that no pixel store can alias. Row 0 takes the variant without
//   the vertical filter, so no row needs a "row below" test.
// - Each token (the grammar heads PictureFormat.h) is read without bounds
//   checks while kFastTokenBytes remain; only the stream's last bytes go
//   through the checked variant of the same reader.
// - A run that does not fit the row leaves its remainder for the next rows.
// - When the stream stops early (an end code, or a fault), the rest of the
//   picture is written as a run of zeros, which the filters turn into copies
//   of the restored pixels, just as the two passes would.
// - Without the horizontal filter, a picture whose rows are contiguous is one
//   line of pixels, each restored from the one a row back. There the colour
//   and palette streams take a faster loop (DecodeLinear): tokens are counted
//   out in rounds that surely fit, four literals are written at once, and
//   runs are written in blocks of eight; what a block writes past the run is
//   overwritten by the tokens that follow.
//
// This file is compiled once per instruction set: PixelDecoder.cpp for any
// processor, PixelDecoderSsse3.cpp with the x86 vector instructions that
// turn four literals into pixels with one shuffle. Everything here has
// internal linkage, so the two copies never stand in for each other; each
// file names its entry point with DIDA_PIXEL_ENTRY and chooses the kernel
// with DIDA_PIXEL_SSSE3.
//
// Targets smaller than the picture take the plain decoder instead: the
// filters need whole rows, and no caller clips except defensively.
#include <cstddef>
#include <cstring>

#include "imaging/PictureFormat.h"

#if DIDA_PIXEL_SSSE3
#include <tmmintrin.h>
#endif

namespace {

enum class Stop : std::uint8_t { kNone, kEnd, kFault };

// std::min would be a function of external linkage, shared by the two copies.
template <class T>
T Least(T a, T b) {
  return b < a ? b : a;
}

// Blue, green, red from three bytes. The fast form reads four bytes at once,
// so it needs one more byte after the colour.
template <bool Careful>
std::uint32_t ColourAt(const std::uint8_t* p) {
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
  constexpr bool kLittleEndian = false;
#else
  constexpr bool kLittleEndian = true;
#endif
  if (!Careful && kLittleEndian) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v & 0xFFFFFF;
  }
  return p[0] | (p[1] << 8) | (static_cast<std::uint32_t>(p[2]) << 16);
}

// The token layouts drawn at the head of PictureFormat.h, in bytes.
// Unchecked readers may read as far as a run's colour (at p + 2), loaded fast.
constexpr std::ptrdiff_t kLiteralBytes = 3;     // c G R
constexpr std::ptrdiff_t kRunBytes = 5;         // E n B G R, the longest token
constexpr std::ptrdiff_t kColourLoadBytes = 4;  // ColourAt's fast form
constexpr std::ptrdiff_t kFastTokenBytes = 2 + kColourLoadBytes;
static_assert(kFastTokenBytes > kRunBytes, "an unchecked token lies inside kFastTokenBytes");

// Every token reader below has one form: Next<Careful>(p, end, colour)
// returns how many pixels of `colour` the token at p stands for and moves p
// past it; 0 means no pixels (a switch, or a stop, which it records in
// `stop`). Careful readers check that the whole token lies before `end`;
// the others may only be called while kFastTokenBytes remain.

std::uint32_t Fault(Stop& stop) {
  stop = Stop::kFault;
  return 0;
}

// The two literal forms encodings 4 and 8 share: c G R (c != E) and E FF G R.
// True when the token at p is one of them: read (one pixel) or a fault
// recorded (none), in `pixels`. False at any other escape, which the caller
// reads on, two bytes being there.
template <bool Careful>
bool ReadColourLiteral(const std::uint8_t*& p, std::size_t left, std::uint8_t escape, Stop& stop,
                       std::uint32_t& colour, std::uint32_t& pixels) {
  pixels = 0;
  if (left < 1) return Fault(stop) == 0;
  if (p[0] != escape) {
    if (left < 3) return Fault(stop) == 0;
    colour = ColourAt<Careful>(p);
    p += 3;
    pixels = 1;
    return true;
  }
  if (left < 2) return Fault(stop) == 0;
  if (p[1] != 0xFF) return false;
  if (left < 4) return Fault(stop) == 0;
  colour = escape | (p[2] << 8) | (static_cast<std::uint32_t>(p[3]) << 16);
  p += 4;
  pixels = 1;
  return true;
}

// A count byte after the escape that starts no run: 00 ends the stream, FF
// marks a literal. One comparison, as the byte wraps round.
inline bool EndOrLiteral(std::uint32_t n) { return static_cast<std::uint8_t>(n + 1) <= 1; }

// Encoding 4 (PictureFormat.h).
struct ColourTokens {
  static constexpr bool kColourLiterals = true;  // c G R with c != E
  std::uint8_t escape;
  Stop stop = Stop::kNone;

  template <bool Careful>
  std::uint32_t Next(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t& colour) {
    const std::size_t left = static_cast<std::size_t>(Careful ? end - p : kFastTokenBytes);
    std::uint32_t pixels;
    if (ReadColourLiteral<Careful>(p, left, escape, stop, colour, pixels)) return pixels;
    const std::uint8_t n = p[1];
    if (n == 0) {
      p += 2;
      stop = Stop::kEnd;
      return 0;
    }
    if (left < 5) return Fault(stop);
    colour = ColourAt<Careful>(p + 2);
    p += 5;
    return n;
  }

  // The common escape, a run E n B G R with 0 < n < 255, read ahead of Next
  // (kFastTokenBytes must remain): its length, and where its colour lies
  // (three bytes, and one more readable). False for any other token, p unmoved.
  bool RunAt(const std::uint8_t*& p, std::uint32_t& n, const std::uint8_t*& colour) const {
    n = p[1];
    if (EndOrLiteral(n)) return false;
    colour = p + 2;
    p += 5;
    return true;
  }
};

// Encoding 8 (PictureFormat.h).
struct PaletteTokens {
  static constexpr bool kColourLiterals = true;
  std::uint8_t escape;
  int count;
  const std::uint8_t* palette;  // 4 bytes an entry, inside the record
  Stop stop = Stop::kNone;

  template <bool Careful>
  std::uint32_t Next(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t& colour) {
    const std::size_t left = static_cast<std::size_t>(Careful ? end - p : kFastTokenBytes);
    std::uint32_t pixels;
    if (ReadColourLiteral<Careful>(p, left, escape, stop, colour, pixels)) return pixels;
    const std::uint8_t i = p[1];
    std::uint32_t n = i, entry = 0;
    if (count != 1) {
      if (left < 3) return Fault(stop);
      n = p[2];
      entry = i;
      ++p;
    }
    p += 2;
    if (n == 0) {
      stop = Stop::kEnd;
      return 0;
    }
    if (entry >= static_cast<std::uint32_t>(count)) return Fault(stop);
    colour = ColourAt<false>(palette + 4 * entry);
    return n;
  }

  // As ColourTokens::RunAt: a run of an entry in the table, E n or E i n
  // with n > 0 (an index of FF is a literal, never in the table).
  bool RunAt(const std::uint8_t*& p, std::uint32_t& n, const std::uint8_t*& colour) const {
    if (count == 1) {
      n = p[1];
      if (EndOrLiteral(n)) return false;
      colour = palette;
      p += 2;
      return true;
    }
    const std::uint32_t i = p[1];
    n = p[2];
    if (i >= static_cast<std::uint32_t>(count) || n == 0) return false;
    colour = palette + 4 * i;
    p += 3;
    return true;
  }
};

// Encoding 12 (PictureFormat.h): grey levels, with colour pixels while the
// switch is on.
struct GreyTokens {
  static constexpr bool kColourLiterals = false;  // one byte, or three
  std::uint8_t escape;
  bool canSwitch;
  bool colourOn = false;
  Stop stop = Stop::kNone;

  template <bool Careful>
  std::uint32_t Next(const std::uint8_t*& p, const std::uint8_t* end, std::uint32_t& colour) {
    const std::size_t left = static_cast<std::size_t>(Careful ? end - p : kFastTokenBytes);
    if (left < 1) return Fault(stop);
    if (p[0] != escape) {
      if (!colourOn) {
        colour = p[0] * 0x010101u;
        ++p;
        return 1;
      }
      if (left < 3) return Fault(stop);
      colour = ColourAt<Careful>(p);
      p += 3;
      return 1;
    }
    if (left < 2) return Fault(stop);
    const std::uint8_t n = p[1];
    if (n == 0) {
      p += 2;
      stop = Stop::kEnd;
      return 0;
    }
    if (n == 0xFF) {
      if (!colourOn) {
        colour = escape * 0x010101u;
        p += 2;
        return 1;
      }
      if (left < 4) return Fault(stop);
      colour = escape | (p[2] << 8) | (static_cast<std::uint32_t>(p[3]) << 16);
      p += 4;
      return 1;
    }
    if (canSwitch && n == 1) {
      if (left < 3) return Fault(stop);
      colourOn = p[2] != 0;
      p += 3;
      return 0;
    }
    if (!colourOn) {
      if (left < 3) return Fault(stop);
      colour = p[2] * 0x010101u;
      p += 3;
      return n;
    }
    if (left < 5) return Fault(stop);
    colour = ColourAt<Careful>(p + 2);
    p += 5;
    return n;
  }
};

// One stream value restored: the horizontal prefix, then the row below.
template <bool H, bool V>
std::uint32_t Restore(std::uint32_t value, std::uint32_t& prefix, const std::uint32_t* below) {
  if (H) value = prefix ^= value;
  if (V) value ^= *below;
  return value;
}

// n stream values of one colour, restored. With the horizontal filter a
// colour c alternates prefix ^ c, prefix, ...; zeros repeat the prefix.
template <bool H, bool V>
void PutRun(std::uint32_t* dst, const std::uint32_t* below, std::uint32_t n, std::uint32_t colour,
            std::uint32_t& prefix) {
  if (H && colour != 0) {
    const std::uint32_t odd = prefix ^ colour, even = prefix;
    for (std::uint32_t i = 0; i < n; ++i) {
      const std::uint32_t v = (i & 1) ? even : odd;
      dst[i] = V ? v ^ below[i] : v;
    }
    if (n & 1) prefix = odd;
    return;
  }
  if (H) colour = prefix;
  for (std::uint32_t i = 0; i < n; ++i) dst[i] = V ? below[i] ^ colour : colour;
}

// The token loop's helpers must be inlined, or p and d would live in memory.
#if defined(_MSC_VER)
#define DIDA_INLINE __forceinline
#else
#define DIDA_INLINE inline __attribute__((always_inline))
#endif

// Most runs are short and of varying length, and a loop that stops at the
// exact length mispredicts at its end. Where the row has room, a run
// without the horizontal filter is written in whole blocks of eight; the
// pixels past n are overwritten by the tokens that follow (or by the zeros
// of an early end).
constexpr std::uint32_t kRunBlock = 8;
constexpr std::uint32_t WholeBlocks(std::uint32_t n) {
  return (n + kRunBlock - 1) & ~(kRunBlock - 1);
}

// From this length on, a run of zeros under the vertical filter (most runs
// in the launcher's art) is one copy of the row below by the C library,
// which uses whatever vector instructions the processor has. The 32-bit
// build's own code may not use any; there this saves a third of the time.
constexpr std::uint32_t kLongCopy = 16;

// kRunBlock pixels of one colour at d, restored from the row below (`back`
// pixels away), which must be at least eight pixels back so that a block
// reads only pixels already final.
#if DIDA_PIXEL_SSSE3
using RunColour = __m128i;

DIDA_INLINE RunColour SpreadColour(std::uint32_t colour) {
  return _mm_set1_epi32(static_cast<int>(colour));
}

template <bool V>
DIDA_INLINE void PutRunBlock(std::uint32_t* d, std::ptrdiff_t back, RunColour c) {
  __m128i lo = c, hi = c;
  if (V) {
    lo = _mm_xor_si128(lo, _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + back)));
    hi = _mm_xor_si128(hi, _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + back + 4)));
  }
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), lo);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d + 4), hi);
}
#else
using RunColour = std::uint32_t;

DIDA_INLINE RunColour SpreadColour(std::uint32_t colour) { return colour; }

// The block goes through a local so that the compiler need not fear an
// overlap with the row below and can use vector registers.
template <bool V>
DIDA_INLINE void PutRunBlock(std::uint32_t* d, std::ptrdiff_t back, RunColour c) {
  std::uint32_t block[kRunBlock];
  for (std::uint32_t j = 0; j < kRunBlock; ++j) block[j] = V ? d[back + j] ^ c : c;
  std::memcpy(d, block, sizeof block);
}
#endif

template <bool V>
void PutRunBlocks(std::uint32_t* dst, const std::uint32_t* below, std::uint32_t n,
                  std::uint32_t colour) {
  const RunColour c = SpreadColour(colour);
  const std::ptrdiff_t back = V ? below - dst : 0;
  for (std::uint32_t i = 0; i < n; i += kRunBlock) PutRunBlock<V>(dst + i, back, c);
}

// Where the stream stands between rows.
struct Stream {
  const std::uint8_t* p;
  const std::uint8_t* end;
  const std::uint8_t* fastEnd;  // before it, kFastTokenBytes remain
  std::uint32_t runColour = 0;
  std::uint32_t runLeft = 0;  // what the row before could not hold of a run

  Stream(const std::uint8_t* begin, const std::uint8_t* e)
      : p(begin), end(e), fastEnd(e - Least<std::ptrdiff_t>(e - begin, kFastTokenBytes - 1)) {}
};

// One row of a run-length stream. The reader is copied into a local, like
// the positions, so that the compiler keeps them all in registers.
template <bool H, bool V, class Tokens>
void DecodeRow(Stream& s, Tokens& shared, std::uint32_t* dst, const std::uint32_t* below,
               int width) {
  Tokens tokens = shared;
  const std::uint8_t* p = s.p;
  const std::uint8_t* const end = s.end;
  const std::uint8_t* const fastEnd = s.fastEnd;
  std::uint32_t* const rowEnd = dst + width;
  std::uint32_t prefix = 0;
  if (s.runLeft != 0) {
    const std::uint32_t n = Least(s.runLeft, static_cast<std::uint32_t>(width));
    PutRun<H, V>(dst, below, n, s.runColour, prefix);
    s.runLeft -= n;
    dst += n;
    if (V) below += n;
  }
  while (dst != rowEnd) {
    if (Tokens::kColourLiterals && p < fastEnd && *p != tokens.escape) {
      // A stretch of literals, bounded once by the row and by the input.
      std::size_t k = Least<std::size_t>(static_cast<std::size_t>(rowEnd - dst),
                                         static_cast<std::size_t>(fastEnd - p + 2) / 3);
      std::size_t i = 0;
      do {
        dst[i] = Restore<H, V>(ColourAt<false>(p), prefix, V ? below + i : below);
        p += 3;
      } while (++i != k && *p != tokens.escape);
      dst += i;
      if (V) below += i;
      continue;
    }
    std::uint32_t colour;
    std::uint32_t n = p < fastEnd ? tokens.template Next<false>(p, end, colour)
                                  : tokens.template Next<true>(p, end, colour);
    if (n == 1) {
      *dst++ = Restore<H, V>(colour, prefix, below);
      if (V) ++below;
      continue;
    }
    if (n == 0) {
      if (tokens.stop != Stop::kNone) break;
      continue;
    }
    const std::uint32_t room = static_cast<std::uint32_t>(rowEnd - dst);
    if (V && colour == 0 && (!H || prefix == 0) && n >= kLongCopy && n <= room) {
      // Zeros under the vertical filter repeat the row below (with the
      // horizontal filter, they repeat the prefix, here zero too).
      std::memcpy(dst, below, n * 4);
      dst += n;
      below += n;
      continue;
    }
    if (!H && WholeBlocks(n) <= room) {
      PutRunBlocks<V>(dst, below, n, colour);
      dst += n;
      if (V) below += n;
      continue;
    }
    if (n > room) {
      s.runColour = colour;
      s.runLeft = n - room;
      n = room;
    }
    PutRun<H, V>(dst, below, n, colour, prefix);
    dst += n;
    if (V) below += n;
  }
  // A stopped stream leaves zeros, restored like any other values.
  if (dst != rowEnd) PutRun<H, V>(dst, below, static_cast<std::uint32_t>(rowEnd - dst), 0, prefix);
  s.p = p;
  shared = tokens;
}

// A row after the stream stopped: zeros, restored.
template <bool V>
void ZeroRow(std::uint32_t* row, const std::uint32_t* below, int width) {
  if (width == 0) return;  // the target may then be no memory at all
  if (V) {
    std::memcpy(row, below, static_cast<std::size_t>(width) * 4);
  } else {
    std::memset(row, 0, static_cast<std::size_t>(width) * 4);
  }
}

// After the last pixel only tokens without pixels may come before the end.
template <class Tokens>
Stop Finish(Stream& s, Tokens& tokens) {
  if (tokens.stop == Stop::kNone && s.runLeft != 0) return Stop::kFault;
  std::uint32_t colour;
  while (tokens.stop == Stop::kNone) {
    if (tokens.template Next<true>(s.p, s.end, colour) != 0) return Stop::kFault;
  }
  return tokens.stop;
}

// The faster loop (DecodeLinear) takes its tokens in rounds with no test of
// the input's or the output's end. What one token of a round may do:
constexpr std::ptrdiff_t kMaxTokenPixels = 4;  // pixels written, but by a run: four literals
constexpr std::ptrdiff_t kMaxTokenAdvance = kMaxTokenPixels * kLiteralBytes;  // bytes passed
constexpr std::ptrdiff_t kMaxTokenRead = 16;           // bytes read from its start: one vector
constexpr std::ptrdiff_t kRunOverrun = kRunBlock - 1;  // pixels a run writes past its end
static_assert(kMaxTokenAdvance >= kRunBytes, "no token is longer than four literals");
static_assert(kMaxTokenRead > kMaxTokenAdvance && kMaxTokenRead >= kFastTokenBytes,
              "four literals and the byte after them, or one unchecked token");

// Compilers like to turn a short if-else into arithmetic on the condition,
// which here would make the next token's address wait for the vector
// comparison; an empty volatile statement keeps the branch a branch.
inline void KeepBranch() {
#if defined(__GNUC__)
  __asm__ volatile("");
#endif
}

// Up to four literals, the first known to be one, restored from the row
// below (one line back) and written as four pixels, whatever follows the
// literals: the next tokens overwrite the rest. p and d move on by
// constants along each branch, so that the next token's address never
// waits for the comparisons. kMaxTokenRead bytes must be readable at p.
template <bool V>
DIDA_INLINE void PutLiterals(const std::uint8_t*& p, std::uint32_t*& d, std::size_t width,
                             std::uint8_t escape) {
  const std::ptrdiff_t back = -static_cast<std::ptrdiff_t>(width);
#if DIDA_PIXEL_SSSE3
  static_assert(sizeof(__m128i) <= kMaxTokenRead, "one load of the group");
  const __m128i in = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
  __m128i out =
      _mm_shuffle_epi8(in, _mm_setr_epi8(0, 1, 2, -1, 3, 4, 5, -1, 6, 7, 8, -1, 9, 10, 11, -1));
  if (V) out = _mm_xor_si128(out, _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + back)));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(d), out);
  const std::uint32_t escapes = static_cast<std::uint32_t>(
      _mm_movemask_epi8(_mm_cmpeq_epi8(in, _mm_set1_epi8(static_cast<char>(escape)))));
  if (escapes & (1u << 3)) {
    d += 1, p += 3;
  } else if (escapes & (1u << 6)) {
    d += 2, p += 6;
  } else if (escapes & (1u << 9)) {
    KeepBranch();
    d += 3, p += 9;
  } else {
    d += 4, p += 12;
  }
#else
  // One literal at a time, each ending the group when the next is none.
  for (std::ptrdiff_t i = 0; i < kMaxTokenPixels; ++i) {
    const std::uint32_t c = ColourAt<false>(p);
    *d = V ? c ^ d[back] : c;
    ++d, p += 3;
    if (*p == escape) break;
  }
#endif
}

// n pixels (at least one) of one colour, restored, in blocks of kRunBlock: up
// to kRunOverrun more are written. Most runs take one to three blocks; written
// out, each behind a test of its own, they cost less than a loop, whose
// exit after a varying count the processor foresees worse.
template <bool V>
DIDA_INLINE void PutRunBlocksLinear(std::uint32_t* d, std::size_t width, std::uint32_t colour,
                                    std::uint32_t n) {
  const std::ptrdiff_t back = -static_cast<std::ptrdiff_t>(width);
#if !DIDA_PIXEL_SSSE3 && !defined(__SSE2__) && !defined(_M_X64)
  // Without vector registers of its own (32-bit x86 by default), the C
  // library's copy is faster for long runs of zeros, as in DecodeRow.
  if (V && colour == 0 && n >= kLongCopy && n <= width) {
    std::memcpy(d, d + back, n * 4);
    return;
  }
#endif
  const RunColour c = SpreadColour(colour);
  PutRunBlock<V>(d, back, c);
  if (n <= kRunBlock) return;
  PutRunBlock<V>(d + kRunBlock, back, c);
  if (n <= 2 * kRunBlock) return;
  PutRunBlock<V>(d + 2 * kRunBlock, back, c);
  for (std::uint32_t i = 3 * kRunBlock; i < n; i += kRunBlock) PutRunBlock<V>(d + i, back, c);
}

// The faster loop of a colour or palette stream over contiguous rows, from d
// until `limit`, each pixel restored from the one `width` back (V). It
// returns where it stopped: at the stream's stop, before a run it has no
// room for (left in s for the row loop), or where less than one token's
// room remains; the row loop goes on from there.
template <bool V, class Tokens>
std::uint32_t* DecodeLinear(Tokens& tokens, Stream& s, std::uint32_t* d, std::uint32_t* const limit,
                            std::size_t width) {
  const std::uint8_t* p = s.p;
  const std::uint8_t* const end = s.end;
  const std::uint8_t escape = tokens.escape;
  for (;;) {
    // A round of k tokens tests no end: kMaxTokenRead bytes lie after
    // k * kMaxTokenAdvance, and a run's overrun and k * kMaxTokenPixels
    // pixels after runLimit, so only a run that ends past it needs a test.
    // k takes at most half the output's room, which keeps most runs before
    // runLimit, so that they do not end the round.
    const std::ptrdiff_t inRoom = end - p - kMaxTokenRead;
    const std::ptrdiff_t outRoom = limit - d - kRunOverrun;
    if (inRoom < kMaxTokenAdvance || outRoom < 2 * kMaxTokenPixels) break;
    std::size_t k = Least(static_cast<std::size_t>(inRoom) / kMaxTokenAdvance,
                          static_cast<std::size_t>(outRoom) / (2 * kMaxTokenPixels));
    std::uint32_t* const runLimit = limit - kRunOverrun - kMaxTokenPixels * k;
    do {
      if (*p != escape) {
        PutLiterals<V>(p, d, width, escape);
        continue;
      }
      std::uint32_t n;
      const std::uint8_t* at;
      if (tokens.RunAt(p, n, at)) {
        std::uint32_t* const after = d + n;
        const std::uint32_t colour = ColourAt<false>(at);
        if (after <= runLimit) {
          PutRunBlocksLinear<V>(d, width, colour, n);
          d = after;
          continue;
        }
        if (static_cast<std::size_t>(n) + kRunOverrun > static_cast<std::size_t>(limit - d)) {
          s.runColour = colour;
          s.runLeft = n;
          s.p = p;
          return d;
        }
        PutRunBlocksLinear<V>(d, width, colour, n);
        d = after;
        break;  // the rest of the round may not fit
      }
      // What RunAt leaves is a literal E FF G R, or a stop.
      std::uint32_t colour;
      if (tokens.template Next<false>(p, end, colour) != 0) {
        *d = V ? colour ^ d[-static_cast<std::ptrdiff_t>(width)] : colour;
        ++d;
      } else if (tokens.stop != Stop::kNone) {
        s.p = p;
        return d;
      }
    } while (--k != 0);
  }
  s.p = p;
  return d;
}

// Rows that are one line (stride == width, width >= kRunBlock, no horizontal
// filter): the faster loop where it can, the row loop for the rest of a row
// it left, and for runs it had no room for.
template <bool V, class Tokens>
Stop DecodeLinearRows(Tokens tokens, Stream& s, std::uint32_t* pixels, int width, int height) {
  const std::size_t w = static_cast<std::size_t>(width);
  std::uint32_t* const all = pixels + w * static_cast<std::size_t>(height);
  int y = 0;
  while (y < height && tokens.stop == Stop::kNone) {
    std::uint32_t* const start = pixels + w * static_cast<std::size_t>(y);
    std::uint32_t* d = start;
    if (s.runLeft != 0) {
      // The rest of a run the faster loop had no room for.
      const std::uint32_t n = Least(s.runLeft, static_cast<std::uint32_t>(width));
      std::uint32_t prefix = 0;
      if (V && y > 0) {
        PutRun<false, true>(d, d - w, n, s.runColour, prefix);
      } else {
        PutRun<false, false>(d, nullptr, n, s.runColour, prefix);
      }
      s.runLeft -= n;
      d += n;
      if (s.runLeft != 0) {
        ++y;
        continue;
      }
    }
    // Row 0 has no row below: there the vertical filter waits for row 1.
    if (!V) d = DecodeLinear<false>(tokens, s, d, all, w);
    if (V && y == 0) d = DecodeLinear<false>(tokens, s, d, start + w, w);
    if (V && y > 0) d = DecodeLinear<true>(tokens, s, d, all, w);
    const std::size_t done = static_cast<std::size_t>(d - pixels);
    y = static_cast<int>(done / w);
    if (y == height) break;
    const int x = static_cast<int>(done % w);
    if (x == 0 && d != start && tokens.stop == Stop::kNone) continue;  // whole rows: go on
    std::uint32_t* const row = pixels + w * static_cast<std::size_t>(y);
    const bool below = V && y > 0;
    if (tokens.stop != Stop::kNone) {
      std::uint32_t prefix = 0;
      below ? PutRun<false, true>(row + x, row + x - w, width - x, 0, prefix)
            : PutRun<false, false>(row + x, nullptr, width - x, 0, prefix);
    } else if (below) {
      DecodeRow<false, true>(s, tokens, row + x, row + x - w, width - x);
    } else {
      DecodeRow<false, false>(s, tokens, row + x, nullptr, width - x);
    }
    ++y;
  }
  for (; y < height; ++y) {
    std::uint32_t* const row = pixels + w * static_cast<std::size_t>(y);
    if (V && y > 0) {
      ZeroRow<true>(row, row - w, width);
    } else {
      ZeroRow<false>(row, nullptr, width);
    }
  }
  return Finish(s, tokens);
}

template <bool H, bool V, class Tokens>
Stop DecodeRows(Tokens tokens, Stream& s, std::uint32_t* pixels, std::size_t stride, int width,
                int height) {
  for (int y = 0; y < height; ++y) {
    std::uint32_t* row = pixels + y * stride;
    const bool below = V && y > 0;
    if (tokens.stop != Stop::kNone) {
      below ? ZeroRow<true>(row, row - stride, width) : ZeroRow<false>(row, nullptr, width);
    } else if (below) {
      DecodeRow<H, true>(s, tokens, row, row - stride, width);
    } else {
      DecodeRow<H, false>(s, tokens, row, nullptr, width);
    }
  }
  return Finish(s, tokens);
}

template <class Tokens>
Stop DecodeFiltered(const Tokens& tokens, Stream& s, std::uint32_t* pixels, std::size_t stride,
                    int width, int height, bool h, bool v) {
  // PutRunBlock reads a whole block one line back.
  if (!h && stride == static_cast<std::size_t>(width) && width >= static_cast<int>(kRunBlock)) {
    return v ? DecodeLinearRows<true>(tokens, s, pixels, width, height)
             : DecodeLinearRows<false>(tokens, s, pixels, width, height);
  }
  if (h && v) return DecodeRows<true, true>(tokens, s, pixels, stride, width, height);
  if (h) return DecodeRows<true, false>(tokens, s, pixels, stride, width, height);
  if (v) return DecodeRows<false, true>(tokens, s, pixels, stride, width, height);
  return DecodeRows<false, false>(tokens, s, pixels, stride, width, height);
}

// Rows after the stream failed: zeros, restored.
void ZeroRows(std::uint32_t* pixels, std::size_t stride, int width, int from, int height, bool v) {
  for (int y = from; y < height; ++y) {
    std::uint32_t* row = pixels + y * stride;
    v&& y > 0 ? ZeroRow<true>(row, row - stride, width) : ZeroRow<false>(row, nullptr, width);
  }
}

// Encoding 0: one row of 3 x width bytes, all present. `below` is only read
// with the vertical filter.
template <bool H, bool V>
void RawRow(const std::uint8_t* p, std::uint32_t* row, const std::uint32_t* below, int width) {
  std::uint32_t prefix = 0;
  for (int x = 0; x + 1 < width; ++x, p += 3) {
    row[x] = Restore<H, V>(ColourAt<false>(p), prefix, below + x);
  }
  // The last colour may end the buffer: no four-byte load.
  if (width > 0) row[width - 1] = Restore<H, V>(ColourAt<true>(p), prefix, below + width - 1);
}

// Rows are padded to a multiple of four bytes (the last may omit its fill);
// a row cut short fails the stream and counts as zeros like the rest.
template <bool H, bool V>
Stop DecodeRawRows(Stream& s, std::uint32_t* pixels, std::size_t stride, int width, int height) {
  const std::size_t pixelBytes = 3 * static_cast<std::size_t>(width);
  const std::size_t rowBytes = (pixelBytes + 3) & ~static_cast<std::size_t>(3);
  for (int y = 0; y < height; ++y) {
    const std::size_t left = static_cast<std::size_t>(s.end - s.p);
    if (left < pixelBytes) {
      ZeroRows(pixels, stride, width, y, height, V);
      return Stop::kFault;
    }
    std::uint32_t* row = pixels + y * stride;
    if (V && y > 0) {
      RawRow<H, true>(s.p, row, row - stride, width);
    } else {
      RawRow<H, false>(s.p, row, row, width);
    }
    s.p += Least(rowBytes, left);
  }
  return Stop::kEnd;
}

}  // namespace

int DIDA_PIXEL_ENTRY(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows) {
  if (record.bytes == nullptr || record.size < kRecordHeaderSize || stride < 0 || rows < 0) {
    return 0;
  }
  const int width = record.width(), height = record.height();
  if (stride < width || rows < height) return DecodePixelsPlain(record, pixels, stride, rows);
  const int encoding = record.encoding();
  const std::uint8_t* data = record.bytes + kRecordHeaderSize;
  const std::uint8_t* end = record.bytes + record.size;
  // Grey streams carry no delta: their flag 0x01 means colour switching.
  const bool h = (record.flags() & kPicHorizontalDelta) != 0;
  const bool v = (record.flags() & kPicVerticalDelta) != 0;
  const std::size_t s = static_cast<std::size_t>(stride);
  Stop stop = Stop::kFault;
  if (encoding == kEncodingColourRle) {
    Stream in(data, end);
    stop = DecodeFiltered(ColourTokens{record.escape()}, in, pixels, s, width, height, h, v);
  } else if (encoding == kEncodingPaletteRle) {
    const int count = record.tableCount();
    if (static_cast<std::size_t>(end - data) < 4 * static_cast<std::size_t>(count)) {
      ZeroRows(pixels, s, width, 0, height, false);  // no stream at all
      return 0;
    }
    Stream in(data + 4 * count, end);
    stop = DecodeFiltered(PaletteTokens{record.escape(), count, data}, in, pixels, s, width, height,
                          h, v);
  } else if (encoding == kEncodingGreyRle) {
    Stream in(data, end);
    stop = DecodeRows<false, false>(GreyTokens{record.escape(), h}, in, pixels, s, width, height);
  } else {
    Stream in(data, end);
    if (h && v) stop = DecodeRawRows<true, true>(in, pixels, s, width, height);
    if (h && !v) stop = DecodeRawRows<true, false>(in, pixels, s, width, height);
    if (!h && v) stop = DecodeRawRows<false, true>(in, pixels, s, width, height);
    if (!h && !v) stop = DecodeRawRows<false, false>(in, pixels, s, width, height);
  }
  return stop == Stop::kEnd ? 1 : 0;
}
