#include "imaging/CpuFeatures.h"

#if defined(_MSC_VER) && (defined(_M_IX86) || defined(_M_X64))
#include <intrin.h>
#define DIDA_CPUID_MSVC 1
#elif defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#define DIDA_CPUID_GNU 1
#endif

bool CpuHasSsse3() {
  // Leaf 1: ECX bit 9 is SSSE3. Every system that runs this program saves
  // the vector registers these instructions use.
  constexpr unsigned kSsse3 = 1u << 9;
#if DIDA_CPUID_MSVC
  int regs[4];
  __cpuid(regs, 1);
  return (static_cast<unsigned>(regs[2]) & kSsse3) != 0;
#elif DIDA_CPUID_GNU
  unsigned eax, ebx, ecx, edx;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (ecx & kSsse3) != 0;
#else
  return false;
#endif
}
