#pragma once
// The application object: owns the six launch pages and the window settings
// that persist between runs; start-up and shutdown happen here.
#include <windows.h>

#include <memory>

#include "framework/WinApp.h"

class LaunchPage;
class DrawSurface;
class CMainFrame;

struct LauncherMetrics;

class CLauncherApp : public CWinApp {
 public:
  CLauncherApp();
  ~CLauncherApp() override;

  // Persistent settings; all zero until start-up reads them.
  int m_nFixedPos = 0;             // non-zero: the window cannot be dragged
  int m_nTopMost = 0;              // non-zero: the window stays above the others
  LaunchPage* m_pPages = nullptr;  // six pages
  int m_nPosY = 0;                 // top of the character area on the screen
  int m_nPosX = 0;                 // left of the character area on the screen
  int m_nChar = 0;                 // current page, also the character shown (0..5)

  BOOL InitInstance() override;
  int ExitInstance() override;

  void LoadPages();
  void SavePages();
  // Writes the window keys, then the pages, in one save of the settings
  // file (SettingsFile::BeginSave); FALSE when the file could not be written.
  BOOL WriteSettings();
  // The end of the session: the settings are saved now, before the system
  // is answered, and not again unless the end is refused; a failure goes
  // unreported.
  void SaveForSessionEnd();
  // The end of the session was refused after all: the next exit saves again
  // and reports a failure as any exit does.
  void SessionGoesOn();

  // Until start-up has made the window and read the settings, a close waits
  // and nothing is saved (there is nothing of the user's to save yet).
  bool IsStartedUp() const { return m_bStartedUp; }
  void DeferClose() { m_bCloseDeferred = true; }
  // The last step of start-up: from now on the launcher runs; a close that
  // arrived during start-up (inside one of its boxes) is carried out now.
  void FinishStartUp();
  // Every page takes and draws its icons at this size from now on.
  void SetIconSize(int pixels);
  // Draws page `page`'s eight icons in their wells, at the metrics' icon size.
  void DrawPageIcons(DrawSurface* surface, const LauncherMetrics& metrics, int panelX, int page);
  // Fills a slot from a file, then lets the user edit its comment.
  int AddSlotFromFile(int page, int slot, const char* path, int length);
  // Runs the comment dialog for a slot; the comment changes only on OK with a non-empty text.
  void EditSlotComment(int page, int slot);
  void OnAppAbout();

  // The current page.
  LaunchPage& CurrentPage();

  DECLARE_MESSAGE_MAP()

 private:
  // Start-up's window: made and stored as the main window, or null (and no
  // main window) when it could not be made.
  CMainFrame* CreateMainFrame();
  // Saves unless a save has run already; FALSE only when this one failed.
  BOOL SaveOnce();
  void ReportUnsavedSettings();

  // The launcher window, owned for the whole run; it outlives its window.
  std::unique_ptr<CMainFrame> m_pFrame;
  bool m_bStartedUp = false;
  bool m_bCloseDeferred = false;
  bool m_bSaved = false;
  bool m_bSessionEnding = false;
};

// The one application object, as CLauncherApp. The launcher window never
// tests it for null: the application makes the window and outlives it.
CLauncherApp* TheApp();

// The single-instance guard: null when another instance holds `name` (or the
// semaphore cannot be made); the handle otherwise, kept open for the process's life.
HANDLE CreateSingleInstanceSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, const char* name);

// Set once the single-instance test has passed; guards saving at exit.
extern int g_bStarted;
