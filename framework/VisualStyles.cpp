#include "framework/VisualStyles.h"

#include <windows.h>

#include "framework/WinApp.h"
#include "resources/resource.h"

namespace {

HANDLE MakeContext() {
  HMODULE module = AfxGetInstanceHandle();
  wchar_t path[MAX_PATH];
  DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return INVALID_HANDLE_VALUE;
  ACTCTXW context = {};
  context.cbSize = sizeof context;
  context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  context.lpSource = path;
  context.hModule = module;
  context.lpResourceName = MAKEINTRESOURCEW(IDR_CONTROLS_MANIFEST);
  return ::CreateActCtxW(&context);
}

}  // namespace

void ActivateVisualStyles() {
  // Made once, kept for the life of the process: every thread that shows a
  // dialog activates the same context.
  static const HANDLE context = MakeContext();
  static thread_local bool active = false;
  if (active || context == INVALID_HANDLE_VALUE) return;
  ULONG_PTR cookie = 0;
  active = ::ActivateActCtx(context, &cookie) != FALSE;
}
