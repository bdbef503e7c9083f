#pragma once
// Every message box of the system goes through ShowMessageBox, so that a test
// can answer boxes (and read their texts) instead of a person.
#include <windows.h>

using MessageBoxHook = int (*)(HWND owner, const char* text, const char* caption, UINT type);

// MessageBoxW with the GBK texts converted, unless a hook is installed; then
// the hook's answer (given the GBK texts), with the owner disabled as the
// real box would leave it.
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

// Installs hook (null restores the real box) and returns the previous one.
MessageBoxHook SetMessageBoxHook(MessageBoxHook hook);

// The framework's box: owned as framework/ModalOwner.h says (the main window,
// or the dialog it has up), caption the application title
// "dida", and the exclamation icon added to OK and OK/Cancel boxes that name
// no icon.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT helpId = 0);
