#pragma once
// What the processor can run, asked of the processor itself, so that the
// question needs no platform and the 32-bit program still runs on processors
// older than its vector code.

// True on x86 processors with SSSE3 (and so SSE2); false elsewhere.
bool CpuHasSsse3();
