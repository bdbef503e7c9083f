#pragma once
// Points and rectangles with the Win32 layout, so they pass straight to the API.
#include <windows.h>
#include <windowsx.h>

struct CPoint : POINT {
  CPoint() : POINT{0, 0} {}
  CPoint(int px, int py) : POINT{px, py} {}
  // Window messages pack a point into lParam as two signed 16-bit halves.
  static CPoint FromLParam(LPARAM lp) { return CPoint(GET_X_LPARAM(lp), GET_Y_LPARAM(lp)); }
};

struct CRect : RECT {
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }
};
