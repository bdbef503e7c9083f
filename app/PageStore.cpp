#include "app/PageStore.h"

#include "app/SettingsFile.h"

namespace {

// Keys are short; values are cut to the buffer by the profile functions.
const DWORD kKeySize = 1024;
const DWORD kValueSize = 1024;

void LoadSlot(LaunchPage& page, int p, int s) {
  char key[kKeySize];
  char value[kValueSize];
  page.ClearSlot(s);
  FormatSlotKey(key, sizeof key, SlotKey::kExec, p, s);
  g_settings.GetString(key, value, "", kValueSize);
  if (value[0] == '\0') return;
  page.SetExec(s, value);

  FormatSlotKey(key, sizeof key, SlotKey::kComment, p, s);
  g_settings.GetString(key, value, "", kValueSize);
  page.SetComment(s, value);

  FormatSlotKey(key, sizeof key, SlotKey::kIcon, p, s);
  g_settings.GetString(key, value, "", kValueSize);
  // The icon itself is taken when the slot is first drawn (GetIcon).
  page.SetIconSource(s, value);
}

void SaveSlot(const LaunchPage& page, int p, int s) {
  char key[kKeySize];
  if (page.IsUsed(s)) {
    FormatSlotKey(key, sizeof key, SlotKey::kComment, p, s);
    g_settings.WriteString(key, page.GetComment(s));
    FormatSlotKey(key, sizeof key, SlotKey::kIcon, p, s);
    g_settings.WriteString(key, page.GetIconSource(s));
  }
  // An empty slot's comment and icon keys stay in the file untouched: with
  // an empty target they are never read again.
  FormatSlotKey(key, sizeof key, SlotKey::kExec, p, s);
  g_settings.WriteString(key, page.IsUsed(s) ? page.GetExec(s) : "");
}

}  // namespace

void LoadPages(LaunchPage pages[kPageCount]) {
  char key[kKeySize];
  char value[kValueSize];
  for (int p = 0; p < kPageCount; ++p) {
    FormatPageKey(key, sizeof key, p);
    g_settings.GetString(key, value, DefaultPageName(p), kValueSize);
    pages[p].SetName(value);
    for (int s = 0; s < kSlotCount; ++s) LoadSlot(pages[p], p, s);
  }
}

void SavePages(const LaunchPage pages[kPageCount]) {
  char key[kKeySize];
  for (int p = 0; p < kPageCount; ++p) {
    FormatPageKey(key, sizeof key, p);
    g_settings.WriteString(key, pages[p].GetName());
    for (int s = 0; s < kSlotCount; ++s) SaveSlot(pages[p], p, s);
  }
}
