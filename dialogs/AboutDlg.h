#pragma once
// CAboutDlg: the About box; it shows its template and exchanges nothing.
#include "framework/Dialog.h"
#include "resources/resource.h"

class CAboutDlg : public CDialog {
 public:
  enum { IDD = IDD_ABOUTBOX };

  CAboutDlg();
  ~CAboutDlg() override;
};
