// Makes use of a launcher frame whose window is gone fail every time instead
// of now and then. The frame outlives its window (its owner deletes it
// later), but once the window's last message has run nothing may touch it
// but its cleared handle: a handler whose nested loop saw the window closed
// must end without drawing, moving or recording anything. So the frame's
// bytes, all but the handle, are then kept aside and overwritten with 0xDD:
// a handler that runs on reads garbage pointers and faults, and a write shows
// as a changed byte. Freed blocks of every kind are overwritten with 0xDD too.
// A fault ends the test program at once with a message (no crash dialog to
// wait for).
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
  std::fprintf(stderr, "FATAL: exception 0x%08lx at %p (a freed or windowless frame used?)\n",
               static_cast<unsigned long>(r->ExceptionCode), r->ExceptionAddress);
  std::fflush(stderr);
  ::TerminateProcess(::GetCurrentProcess(), 99);
  return EXCEPTION_EXECUTE_HANDLER;
}

// One poisoned frame at a time, with its bytes as they were.
CMainFrame* g_poisoned = nullptr;
unsigned char g_kept[sizeof(CMainFrame)];
int g_poisonedCount = 0;

// Where the frame's handle lies in it: the one field left readable.
std::size_t HandleOffset(const CMainFrame* frame) {
  return static_cast<std::size_t>(reinterpret_cast<const unsigned char*>(&frame->m_hWnd) -
                                  reinterpret_cast<const unsigned char*>(frame));
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
  std::free(block);
}

void operator delete(void* p, const std::nothrow_t&) noexcept { ::operator delete(p); }
void operator delete(void* p, std::size_t) noexcept { ::operator delete(p); }

void PoisonFrame(CMainFrame* frame) {
  auto* bytes = reinterpret_cast<unsigned char*>(frame);
  const std::size_t handle = HandleOffset(frame);
  std::memcpy(g_kept, bytes, sizeof g_kept);
  std::memset(bytes, 0xDD, handle);
  std::memset(bytes + handle + sizeof(HWND), 0xDD, sizeof g_kept - handle - sizeof(HWND));
  g_poisoned = frame;
  ++g_poisonedCount;
}

int PoisonedFrames() { return g_poisonedCount; }

int BytesWrittenAfterPoison() {
  if (!g_poisoned) return 0;
  const auto* bytes = reinterpret_cast<const unsigned char*>(g_poisoned);
  const std::size_t handle = HandleOffset(g_poisoned);
  int written = 0;
  for (std::size_t b = 0; b < sizeof g_kept; ++b) {
    // The handle was null when the frame was poisoned, and must stay so.
    const unsigned char expected = b >= handle && b < handle + sizeof(HWND) ? 0 : 0xDD;
    if (bytes[b] != expected) ++written;
  }
  return written;
}

void RestorePoisonedFrame() {
  if (g_poisoned) std::memcpy(reinterpret_cast<unsigned char*>(g_poisoned), g_kept, sizeof g_kept);
  g_poisoned = nullptr;
}
