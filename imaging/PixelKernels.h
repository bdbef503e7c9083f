#pragma once
// The fast pixel decoder is built twice: for any processor, and with the x86
// vector instructions up to SSSE3, which DecodePixels takes when the
// processor has them. Tests and benchmarks name the kernel they want.

#include <cstdint>

#include "imaging/PictureFormat.h"

enum class PixelKernel : std::uint8_t { kPortable, kSsse3 };

// Whether this build has the kernel and this processor can run it.
bool PixelKernelAvailable(PixelKernel kernel);

// The kernel DecodePixels uses: the fastest available.
PixelKernel BestPixelKernel();

// DecodePixels with the given kernel, which must be available.
int DecodePixelsWith(PixelKernel kernel, const PictureRecord& record, std::uint32_t* pixels,
                     int stride, int rows);

// The two builds of the decoder. The second is only the vector one where
// kPixelSsse3Built says so (x86 compilers); elsewhere it is another portable
// copy, never chosen.
extern const bool kPixelSsse3Built;
int DecodePixelsPortable(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows);
int DecodePixelsSsse3(const PictureRecord& record, std::uint32_t* pixels, int stride, int rows);
