#pragma once
// CPaintDC: BeginPaint in the constructor, EndPaint in the destructor.
#include <windows.h>

class CPaintDC {
 public:
  explicit CPaintDC(HWND wnd) : m_wnd(wnd), m_hDC(::BeginPaint(wnd, &m_ps)) {}
  ~CPaintDC() { ::EndPaint(m_wnd, &m_ps); }
  CPaintDC(const CPaintDC&) = delete;
  CPaintDC& operator=(const CPaintDC&) = delete;

  HDC GetSafeHdc() const { return m_hDC; }
  const PAINTSTRUCT& PaintStruct() const { return m_ps; }

 private:
  HWND m_wnd;
  PAINTSTRUCT m_ps = {};
  HDC m_hDC;
};
