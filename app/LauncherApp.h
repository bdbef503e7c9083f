#pragma once
// The application object: owns the six launch pages and the window settings
// that persist between runs; start-up and shutdown happen here.
#include <windows.h>

#include "framework/WinApp.h"

class LaunchPage;
class DrawSurface;
class CMainFrame;

class CLauncherApp : public CWinApp {
 public:
  CLauncherApp();
  ~CLauncherApp() override;

  // Persistent settings; all zero until start-up reads them.
  int m_nFixedPos = 0;  // non-zero: the window cannot be dragged
  int m_nTopMost = 0;   // non-zero: the window stays above the others
  LaunchPage* m_pPages = nullptr;  // six pages
  int m_nPosY = 0;  // top of the character area on the screen
  int m_nPosX = 0;  // left of the character area on the screen
  int m_nChar = 0;  // current page, also the character shown (0..5)

  BOOL InitInstance() override;
  int ExitInstance() override;

  void LoadPages();
  void SavePages();
  // Writes the window keys, then the pages: at most once per process, by
  // whichever comes first, the end of the session or the exit.
  void SaveSettings();
  // Draws page `page`'s eight icons in a 4 x 2 grid, 37 pixels apart.
  void DrawPageIcons(DrawSurface* surface, int x, int y, int page);
  // Fills a slot from a file, then lets the user edit its comment.
  int AddSlotFromFile(int page, int slot, const char* path, int length);
  // Runs the comment dialog for a slot; the comment changes only on OK with a non-empty text.
  void EditSlotComment(int page, int slot);
  void OnAppAbout();

  // The current page.
  LaunchPage& CurrentPage();

  DECLARE_MESSAGE_MAP()

 private:
  bool m_bSaved = false;
};

// The one application object, as CLauncherApp.
CLauncherApp* TheApp();

// The single-instance guard: null when another instance holds `name` (or the
// semaphore cannot be made); the handle otherwise, kept open for the process's life.
HANDLE CreateSingleInstanceSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                     LONG maximumCount, const char* name);

// Set once the single-instance test has passed; guards saving at exit.
extern int g_bStarted;
