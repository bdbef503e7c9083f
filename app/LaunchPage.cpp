#include "app/LaunchPage.h"

#include <cstdlib>
#include <cstring>

#include "app/core/PathText.h"
#include "common/HeapString.h"
#include "framework/LateShell.h"
#include "framework/ModuleState.h"

namespace {

IconReleaseHook g_iconReleaseHook = nullptr;

// The shell's association lookup reads and rewrites a MAX_PATH path in place.
const std::size_t kIconPathSize = 264;

// Replaces *field with a copy of text (null stays null). The copy comes
// first: text may be the field's own string.
void Replace(char** field, const char* text) {
  char* copy = DupString(text);
  std::free(*field);
  *field = copy;
}

void ReleaseIcon(HICON icon) {
  if (!icon || icon == StockSlotIcon()) return;
  if (g_iconReleaseHook) {
    g_iconReleaseHook(icon);
  } else {
    DestroyIcon(icon);
  }
}

// Asks the shell for the icon associated with path, working on a copy in
// buffer, which the call may rewrite to the file it took the icon from. A
// path too long for the buffer is never cut short to a different file: it
// gets no icon.
HICON ExtractIntoBuffer(const char* path, char (&buffer)[kIconPathSize], int pixels) {
  buffer[0] = '\0';
  if (!path || std::strlen(path) >= MAX_PATH) return nullptr;
  std::memcpy(buffer, path, std::strlen(path) + 1);
  return late::AssociatedIconAt(g_hInstance, buffer, sizeof buffer, pixels);
}

}  // namespace

HICON StockSlotIcon() { return LoadIconA(nullptr, IDI_WINLOGO); }

IconReleaseHook SetIconReleaseHook(IconReleaseHook hook) {
  IconReleaseHook previous = g_iconReleaseHook;
  g_iconReleaseHook = hook;
  return previous;
}

LaunchPage::LaunchPage() : m_name(nullptr) { std::memset(m_slots, 0, sizeof m_slots); }

LaunchPage::~LaunchPage() {
  std::free(m_name);
  m_name = nullptr;
  ClearAll();
}

LaunchSlot* LaunchPage::Slot(int slot) {
  return slot >= 0 && slot < kSlotCount ? &m_slots[slot] : nullptr;
}

const LaunchSlot* LaunchPage::Slot(int slot) const {
  return slot >= 0 && slot < kSlotCount ? &m_slots[slot] : nullptr;
}

void LaunchPage::ClearAll() {
  for (int slot = 0; slot < kSlotCount; ++slot) ClearSlot(slot);
}

int LaunchPage::IsUsed(int slot) const {
  const LaunchSlot* s = Slot(slot);
  return s && s->exec ? 1 : 0;
}

int LaunchPage::SetFromFile(int slot, const char* path) {
  LaunchSlot* s = Slot(slot);
  if (!s) return 0;
  ClearSlot(slot);
  if (!path) return 0;

  TextSpan title = FileTitleSpan(path, IsGbkLeadByte);
  s->comment = static_cast<char*>(std::malloc(title.length + 1));
  if (s->comment) {
    std::memcpy(s->comment, path + title.begin, title.length);
    s->comment[title.length] = '\0';
  }
  s->exec = DupString(path);

  char buffer[kIconPathSize];
  s->icon = ExtractIntoBuffer(path, buffer, m_iconSize);
  if (s->icon) {
    s->iconSource = DupString(buffer);
  } else {
    s->icon = StockSlotIcon();
  }
  return 1;
}

HICON LaunchPage::LoadSlotIcon(int slot, const char* source) {
  LaunchSlot* s = Slot(slot);
  if (!s) return nullptr;
  // Meant for slots without an icon; one held already would otherwise leak.
  ReleaseIcon(s->icon);
  char buffer[kIconPathSize];
  s->icon = ExtractIntoBuffer(source, buffer, m_iconSize);
  if (!s->icon) s->icon = StockSlotIcon();
  return s->icon;
}

void LaunchPage::ClearSlot(int slot) {
  LaunchSlot* s = Slot(slot);
  if (!s) return;
  std::free(s->comment);
  std::free(s->exec);
  std::free(s->iconSource);
  ReleaseIcon(s->icon);
  std::memset(s, 0, sizeof *s);
}

void LaunchPage::DrawSlotIcon(HDC hdc, int x, int y, int slot) {
  HICON icon = GetIcon(slot);
  if (icon) DrawIconEx(hdc, x, y, icon, m_iconSize, m_iconSize, 0, nullptr, DI_NORMAL);
}

void LaunchPage::SetIconSize(int pixels) {
  if (pixels <= 0 || pixels == m_iconSize) return;
  m_iconSize = pixels;
  // Taken again at the new size when next drawn, or by idle time.
  for (LaunchSlot& s : m_slots) {
    ReleaseIcon(s.icon);
    s.icon = nullptr;
  }
}

bool LaunchPage::TakeNextIcon() {
  for (int slot = 0; slot < kSlotCount; ++slot) {
    if (m_slots[slot].exec && !m_slots[slot].icon) {
      GetIcon(slot);
      return true;
    }
  }
  return false;
}

void LaunchPage::SetName(const char* text) { Replace(&m_name, text); }

const char* LaunchPage::GetComment(int slot) const {
  const LaunchSlot* s = Slot(slot);
  return s ? s->comment : nullptr;
}

void LaunchPage::SetComment(int slot, const char* text) {
  if (LaunchSlot* s = Slot(slot)) Replace(&s->comment, text);
}

const char* LaunchPage::GetExec(int slot) const {
  const LaunchSlot* s = Slot(slot);
  return s ? s->exec : nullptr;
}

void LaunchPage::SetExec(int slot, const char* text) {
  if (LaunchSlot* s = Slot(slot)) Replace(&s->exec, text);
}

const char* LaunchPage::GetIconSource(int slot) const {
  const LaunchSlot* s = Slot(slot);
  return s ? s->iconSource : nullptr;
}

void LaunchPage::SetIconSource(int slot, const char* text) {
  if (LaunchSlot* s = Slot(slot)) Replace(&s->iconSource, text);
}

HICON LaunchPage::GetIcon(int slot) {
  LaunchSlot* s = Slot(slot);
  if (!s) return nullptr;
  // Index 0 of the stored source, whenever this happens: the slot shows
  // the same icon and keeps the same source as if it were taken at start-up.
  if (s->exec && !s->icon) LoadSlotIcon(slot, s->iconSource);
  return s->icon;
}
