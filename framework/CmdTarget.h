#pragma once
// Message maps: each class lists the messages and commands it handles in a
// static table of typed handlers; dispatch walks the table of the class and
// then those of its bases.
#include <windows.h>

#include "framework/Geometry.h"

class CCmdTarget;

// One row of a message map. For WM_COMMAND rows, id is the command id.
struct MessageEntry {
  UINT message;
  UINT id;
  LRESULT (*call)(CCmdTarget& target, WPARAM wParam, LPARAM lParam);
};

struct MessageMap {
  const MessageMap* base;
  const MessageEntry* entries;  // ends with a row whose call is null
};

class CCmdTarget {
 public:
  virtual ~CCmdTarget() = default;

  // The class's own table; overridden by every class that has one.
  virtual const MessageMap* GetMessageMap() const;

  // The first row for (message, id) along the chain of tables, or null.
  const MessageEntry* FindEntry(UINT message, UINT id) const;

  // Runs the handler of command id; FALSE when this target has none.
  virtual BOOL OnCmdMsg(UINT id);

  static const MessageMap kMessageMap;  // the empty root of every chain
};

// Handler adapters: they turn (wParam, lParam) into the handler's typed
// arguments. Use them as the `call` of a row: {WM_PAINT, 0, &OnMsg<&CMainFrame::OnPaint>}.
namespace afx {

template <class C, class R, class... A>
C ClassOf(R (C::*)(A...));

template <auto F>
using Owner = decltype(ClassOf(F));

// void F(): WM_PAINT, WM_CLOSE, commands.
template <auto F>
LRESULT OnMsg(CCmdTarget& t, WPARAM, LPARAM) {
  (static_cast<Owner<F>&>(t).*F)();
  return 0;
}

// void F(UINT flags, CPoint point): mouse messages.
template <auto F>
LRESULT OnMouse(CCmdTarget& t, WPARAM w, LPARAM l) {
  (static_cast<Owner<F>&>(t).*F)(static_cast<UINT>(w), CPoint::FromLParam(l));
  return 0;
}

// void F(UINT_PTR id): WM_TIMER.
template <auto F>
LRESULT OnTimerMsg(CCmdTarget& t, WPARAM w, LPARAM) {
  (static_cast<Owner<F>&>(t).*F)(static_cast<UINT_PTR>(w));
  return 0;
}

// void F(UINT_PTR what): WM_SETTINGCHANGE (the SPI_ code of what changed).
template <auto F>
LRESULT OnWParamMsg(CCmdTarget& t, WPARAM w, LPARAM) {
  (static_cast<Owner<F>&>(t).*F)(static_cast<UINT_PTR>(w));
  return 0;
}

// int F(LPCREATESTRUCTW): WM_CREATE (every window of the framework is a wide one).
template <auto F>
LRESULT OnCreateMsg(CCmdTarget& t, WPARAM, LPARAM l) {
  return (static_cast<Owner<F>&>(t).*F)(reinterpret_cast<LPCREATESTRUCTW>(l));
}

// BOOL F(HDC): WM_ERASEBKGND.
template <auto F>
LRESULT OnHdcMsg(CCmdTarget& t, WPARAM w, LPARAM) {
  return (static_cast<Owner<F>&>(t).*F)(reinterpret_cast<HDC>(w));
}

// BOOL F(): WM_QUERYENDSESSION.
template <auto F>
LRESULT OnBoolMsg(CCmdTarget& t, WPARAM, LPARAM) {
  return (static_cast<Owner<F>&>(t).*F)();
}

// void F(BOOL): WM_ENDSESSION.
template <auto F>
LRESULT OnFlagMsg(CCmdTarget& t, WPARAM w, LPARAM) {
  (static_cast<Owner<F>&>(t).*F)(static_cast<BOOL>(w));
  return 0;
}

// void F(HDROP): WM_DROPFILES.
template <auto F>
LRESULT OnDropMsg(CCmdTarget& t, WPARAM w, LPARAM) {
  (static_cast<Owner<F>&>(t).*F)(reinterpret_cast<HDROP>(w));
  return 0;
}

// LRESULT F(WPARAM, LPARAM): anything else.
template <auto F>
LRESULT OnRawMsg(CCmdTarget& t, WPARAM w, LPARAM l) {
  return (static_cast<Owner<F>&>(t).*F)(w, l);
}

}  // namespace afx

// Declares a class's table inside its body; define the rows in the .cpp as
// `const MessageEntry Class::kMessageEntries[] = {..., {0, 0, nullptr}};`
// followed by DEFINE_MESSAGE_MAP(Class, Base).
#define DECLARE_MESSAGE_MAP()                       \
 public:                                            \
  const MessageMap* GetMessageMap() const override; \
  static const MessageEntry kMessageEntries[];      \
  static const MessageMap kMessageMap;

#define DEFINE_MESSAGE_MAP(Class, Base)                                               \
  const MessageMap Class::kMessageMap = {&Base::kMessageMap, Class::kMessageEntries}; \
  const MessageMap* Class::GetMessageMap() const { return &kMessageMap; }
