#pragma once
// CWinApp: the one application object. The entry point runs InitInstance,
// then the message loop, then ExitInstance, whose result is the exit code.
#include <windows.h>

#include "framework/CmdTarget.h"

class CWnd;

class CWinApp : public CCmdTarget {
 public:
  explicit CWinApp(const char* appName);
  ~CWinApp() override;

  const char* m_pszAppName;
  HINSTANCE m_hInstance = nullptr;
  CWnd* m_pMainWnd = nullptr;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int ExitInstance();
  virtual int Run();  // the message loop, ended by WM_QUIT

  // Kept for the start-up sequence; nothing to enable on current systems.
  static BOOL Enable3dControlsStatic() { return TRUE; }

 protected:
  // ID_APP_EXIT: closes the main window the way its close box would.
  void OnAppExit();

  DECLARE_MESSAGE_MAP()

 private:
  int m_exitCode = 0;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
// Kept for the start-up sequence; this framework hosts no ActiveX controls.
inline void AfxEnableControlContainer() {}

// The framework's entry point: call from WinMain.
int AfxWinMain(HINSTANCE instance, int showCommand);
