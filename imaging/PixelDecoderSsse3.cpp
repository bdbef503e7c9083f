// The decoder with the x86 vector instructions up to SSSE3. The build gives
// this file alone the compiler's SSSE3 option; DecodePixels calls it only
// after asking the processor.
#include "imaging/PixelKernels.h"

#if defined(__SSSE3__) || defined(_M_X64) || defined(_M_IX86)
#define DIDA_PIXEL_SSSE3 1
const bool kPixelSsse3Built = true;
#else
#define DIDA_PIXEL_SSSE3 0
const bool kPixelSsse3Built = false;
#endif

#define DIDA_PIXEL_ENTRY DecodePixelsSsse3
#include "imaging/PixelDecoderBody.inl"
