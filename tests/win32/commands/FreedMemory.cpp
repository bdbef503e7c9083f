// Makes use of a freed launcher window fail every time instead of now and
// then: freed blocks are overwritten with 0xDD, and the blocks of the frames
// a test watches are never handed out again, so a handler that runs on after
// its window was destroyed reads garbage pointers and faults. (Only watched
// blocks: any other block of a frame's size, a file's text for one, is
// freed as usual.) A fault then ends
// the test program at once with a message (no crash dialog to wait for).
// The kept blocks are listed, so a test can also see a write into one.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "launcher/MainFrame.h"
#include "tests/win32/commands/CommandsTestSupport.h"

namespace {

constexpr std::size_t kHeader = 16;  // keeps the blocks 16-byte aligned

LONG WINAPI ReportFault(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD* r = info->ExceptionRecord;
  std::fprintf(stderr, "FATAL: exception 0x%08lx at %p (a freed object used?)\n",
               static_cast<unsigned long>(r->ExceptionCode), r->ExceptionAddress);
  std::fflush(stderr);
  ::TerminateProcess(::GetCurrentProcess(), 99);
  return EXCEPTION_EXECUTE_HANDLER;
}

// Never freed; plain arrays, so that recording a block allocates nothing.
unsigned char* g_freedFrames[64];
int g_freedFrameCount = 0;
const void* g_watchedFrames[64];
int g_watchedFrameCount = 0;

// Whether p is a watched frame's block; it is watched no longer.
bool TakeWatched(const void* p) {
  for (int i = 0; i < g_watchedFrameCount; ++i) {
    if (g_watchedFrames[i] != p) continue;
    g_watchedFrames[i] = g_watchedFrames[--g_watchedFrameCount];
    return true;
  }
  return false;
}

const bool g_installed = [] {
  ::SetUnhandledExceptionFilter(&ReportFault);
  return true;
}();

}  // namespace

void* operator new(std::size_t size) {
  auto* block = static_cast<unsigned char*>(std::malloc(size + kHeader));
  if (!block) throw std::bad_alloc();
  std::memcpy(block, &size, sizeof size);
  return block + kHeader;
}

void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return ::operator new(size);
  } catch (...) {
    return nullptr;
  }
}

void operator delete(void* p) noexcept {
  if (!p) return;
  unsigned char* block = static_cast<unsigned char*>(p) - kHeader;
  std::size_t size;
  std::memcpy(&size, block, sizeof size);
  std::memset(p, 0xDD, size);
  if (size == sizeof(CMainFrame) && TakeWatched(p)) {  // kept poisoned, never reused
    if (g_freedFrameCount < 64) g_freedFrames[g_freedFrameCount++] = static_cast<unsigned char*>(p);
    return;
  }
  std::free(block);
}

void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }

void WatchFrame(const CMainFrame* frame) {
  if (frame && g_watchedFrameCount < 64) g_watchedFrames[g_watchedFrameCount++] = frame;
}

int FreedFrames() { return g_freedFrameCount; }

int BytesWrittenAfterFree() {
  int written = 0;
  for (int i = 0; i < g_freedFrameCount; ++i) {
    for (std::size_t b = 0; b < sizeof(CMainFrame); ++b) {
      if (g_freedFrames[i][b] != 0xDD) ++written;
    }
  }
  return written;
}
