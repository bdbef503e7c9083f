#pragma once
// CMainFrame: the launcher's one window. A borderless, shaped pop-up that
// shows the current page's character with two page buttons under it and, on
// request, a panel with the page's eight slots and a caption box beside it.
// Every handler composes into the back buffer first; painting only copies
// the back buffer to the screen.
#include <windows.h>

#include <memory>

#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "imaging/GdiObject.h"
#include "launcher/Blink.h"
#include "launcher/LauncherGeometry.h"

class DrawSurface;
class MaskRegion;
class ResourceArchive;

class CMainFrame : public CFrameWnd {
 public:
  CMainFrame();
  ~CMainFrame() override;

  // The tick that polls the pointer and drives the blink.
  static constexpr UINT_PTR kTimerId = 1;
  // Fires once the monitors have stopped changing for a moment.
  static constexpr UINT_PTR kMonitorsTimerId = 2;
  static constexpr UINT kMonitorsSettleTime = 250;  // ms

  // Creates the (hidden, compact) window and loads everything it draws;
  // FALSE, with nothing loaded, when the window could not be made.
  BOOL CreateLauncher();

  // Apply a layout and compose the back buffer for it; the callers show it.
  void DrawCompact();
  void DrawExpanded();
  void RedrawAll();
  // Redraws the two buttons and, when expanded, the caption box.
  void DrawControls(bool compactFlag);
  // Back-buffer size, window shape and position for a layout.
  void SetLayout(Layout newLayout);
  void MoveForLayout(Layout newLayout);

  // The hot-item update for a client point; true when the hot item changed.
  bool UpdateHot(bool compactFlag, int x, int y);
  // The slot under a panel point, or -1.
  int SlotAt(int x, int y) const;
  // Whether a client point lies on the character's body.
  bool IsOnCharacter(bool compactFlag, int x, int y) const;

  BOOL PreCreateWindow(CREATESTRUCTA& cs) override;

  // Draws the window from now on at the scale for a monitor's DPI (loading
  // the artwork made for it); the character's top-left corner stays at
  // charLeft, charTop. False, and nothing happens, when the scale stays the
  // same; the caller redraws otherwise.
  bool ScaleTo(int dpi);
  const LauncherMetrics& Metrics() const { return metrics; }

  // Screen position of the character area's top-left corner, kept across
  // layout changes and handed back to the settings when the window closes.
  int charLeft = 0;
  int charTop = 0;

 protected:
  int OnCreate(LPCREATESTRUCTW cs);
  void OnPaint();
  BOOL OnEraseBkgnd(HDC hdc);
  void OnLButtonDown(UINT flags, CPoint point);
  void OnLButtonUp(UINT flags, CPoint point);
  void OnMouseMove(UINT flags, CPoint point);
  void OnTimer(UINT_PTR id);
  void OnRButtonDown(UINT flags, CPoint point);
  void OnPageSettings();
  void OnDropFiles(HDROP drop);
  void OnSlotAdd();
  void OnSlotEdit();
  void OnSlotDelete();
  void OnClose();
  BOOL OnQueryEndSession();
  void OnEndSession(BOOL ending);
  void OnDisplayChange();
  void OnSettingChange(UINT_PTR what);
  void OnDpiChanged(UINT_PTR dpis);

 private:
  friend class LauncherWindowProbe;  // the Win32 tests read the state below

  // The current page, also the character column shown.
  int Page() const;
  // Draws the character frame and the blink band at characterX.
  void DrawCharacter(int characterX);
  // False while one of the window's dialogs or boxes is up (it disabled the
  // window): a press or drop that still reaches it then (sent by another
  // program, say) is not acted on, so no second command runs under the first.
  bool TakesInput() const { return ::IsWindowEnabled(m_hWnd) != FALSE; }
  // Makes the back buffer's new contents visible at once.
  void Show();
  // Gives the remembered character position to the settings.
  void HandBackPosition();
  // The end of the session: the settings, with the position, are saved now.
  void SaveForSessionEnd();
  void PlayClick() const;
  // Fills the slot under the drop point with the first dropped file.
  void TakeDroppedFile(HDROP drop);
  // Moves the window onto the monitors (the character's top-left corner
  // stays where it is whenever it can): always when they changed, only when
  // no part of the character is on any after a drag.
  enum class Reach { kWholeOnAMonitor, kAnyPartOnAMonitor };
  void KeepOnMonitors(Reach reach);
  // Loads the artwork for a scale (or, without it, the 100 % artwork at the
  // nearest whole factor) and lays the window out again at its lengths.
  void UseScale(const ArtScale& wanted);
  // Puts the items for a press over a slot, or elsewhere, into the popup
  // menu; false when the menu could not be made or filled whole.
  bool FillContextMenu(bool overSlot);

  unsigned char* clickSound = nullptr;  // a whole WAVE image, played from memory
  int contextSlot = -1;                 // the slot the popup menu was last opened over
  // The popup menu, made with the window and refilled at each right press.
  // Under Wine a USER handle made while another thread of the process
  // destroys a window (the sound library's own, after a click) can be lost
  // at birth; a menu made before the first click is never at that risk.
  CMenu contextMenu;
  bool contextMenuUp = false;  // its loop is running (a press sent into it opens no other)
  GdiObject<HFONT> font;
  Layout panelSide = kLayoutPanelLeft;                // the side the panel opens to
  Layout layout = kLayoutNone;                        // the applied layout
  LauncherMetrics metrics = MetricsAt(kBasePercent);  // every length at the window's scale
  // The artwork of scales other than 100 %, opened when first needed.
  std::unique_ptr<ResourceArchive> extraArchive;
  std::unique_ptr<MaskRegion> characterMask;
  std::unique_ptr<MaskRegion> panelMask;
  BlinkState blink;
  int timerInterval = kTickInterval;  // what the last tick re-armed the timer with
  HotState hotState = kHotIdle;
  int hotItem = -1;
  std::unique_ptr<DrawSurface> panelPicture;
  std::unique_ptr<DrawSurface> buttonsPicture;
  std::unique_ptr<DrawSurface> characterPicture;
  bool compact = true;
  bool dragging = false;  // the system's move loop runs
  std::unique_ptr<DrawSurface> backBuffer;

  DECLARE_MESSAGE_MAP()
};
