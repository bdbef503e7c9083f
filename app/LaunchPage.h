#pragma once
// A launch page: a name and eight shortcut slots. A slot holds a target path,
// a comment, the path of the file its icon came from, and the icon itself;
// it is used exactly when its target is set. Every string is the slot's own
// heap copy (malloc'd); slot arguments are indices 0 to 7.
//
// A slot read from the settings file takes its icon only when the icon is
// first wanted (drawn or read): asking the shell for 48 icons would hold up
// the start, while the window shows none of them until the panel opens.
#include <windows.h>

#include "app/core/PageKeys.h"

struct LaunchSlot {
  char* comment;     // shown while the pointer is over the slot
  char* exec;        // the target; null for an empty slot
  char* iconSource;  // the file the icon came from; null when none was found
  HICON icon;        // extracted (owned) or the shared stock icon (not owned);
                     // null in a used slot whose icon has not been taken yet
};

class LaunchPage {
 public:
  LaunchPage();
  ~LaunchPage();
  LaunchPage(const LaunchPage&) = delete;
  LaunchPage& operator=(const LaunchPage&) = delete;

  // Empties all eight slots; the name stays.
  void ClearAll();
  int IsUsed(int slot) const;

  // Fills the slot from a file: comment from the file name, target the path,
  // icon from the shell's association. Returns 1 (0 only for a bad slot or a
  // null path, which leave the slot empty).
  int SetFromFile(int slot, const char* path);

  // Takes the slot's icon at index 0 of source, or the stock icon when none
  // can be had there; the icon source field is not changed.
  HICON LoadSlotIcon(int slot, const char* source);

  // Frees the slot's strings and releases its icon (never the stock one).
  void ClearSlot(int slot);

  // Draws the slot's icon at the icon size, taking it first if need be; an
  // empty slot draws nothing.
  void DrawSlotIcon(HDC hdc, int x, int y, int slot);

  // The size icons are taken and drawn at (32 until set). A new size gives
  // up the icons held; they are taken again at that size.
  void SetIconSize(int pixels);
  int IconSize() const { return m_iconSize; }

  // Takes the icon of the first used slot that has none yet; false when
  // every used slot has its icon.
  bool TakeNextIcon();

  const char* GetName() const { return m_name; }
  void SetName(const char* text);
  const char* GetComment(int slot) const;
  void SetComment(int slot, const char* text);
  const char* GetExec(int slot) const;
  void SetExec(int slot, const char* text);
  const char* GetIconSource(int slot) const;
  void SetIconSource(int slot, const char* text);
  // The slot's icon, taken from its icon source first if need be; null for
  // an empty slot.
  HICON GetIcon(int slot);
  void RunSlot(HWND owner, int slot) const;

 private:
  LaunchSlot* Slot(int slot);
  const LaunchSlot* Slot(int slot) const;

  char* m_name;
  int m_iconSize = 32;
  LaunchSlot m_slots[kSlotCount];
};

// The icon every slot shows when no icon of its own could be had. Shared by
// the system: never destroyed.
HICON StockSlotIcon();

// Slots release the icons they own through one function, DestroyIcon unless
// a hook is installed (tests watch which handles go). Returns the previous.
using IconReleaseHook = BOOL (*)(HICON icon);
IconReleaseHook SetIconReleaseHook(IconReleaseHook hook);
