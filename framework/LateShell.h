#pragma once
// The shell functions the launcher uses, bound when first called (see
// LateBound.h): a launcher with no filled slot starts without loading the
// shell library at all. Paths are GBK here; the wide functions get them
// converted (see SystemText.h). Each answers as the shell does when it cannot
// do the job, should the library be missing.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

namespace late {

// The icon associated with path, a GBK path in a buffer of size bytes, which
// the shell may rewrite to the file it took the icon from (path stays as it
// was when that file's name has no GBK form or does not fit). Null: no icon.
HICON AssociatedIcon(HINSTANCE instance, char* path, DWORD size, WORD* index);
// The same icon at pixels x pixels: at 32 the shell's own answer; at other
// sizes taken again from the file the shell named, from the image made for
// that size or the nearest larger one, so the icon is never blown up from
// 32 pixels when the file holds better. Falls back to the 32-pixel icon.
HICON AssociatedIconAt(HINSTANCE instance, char* path, DWORD size, int pixels);
// ShellExecute with GBK texts. SE_ERR_DLLNOTFOUND: reported like any other
// failure to start a target.
HINSTANCE Execute(HWND owner, const char* verb, const char* file, const char* parameters,
                  const char* directory, int show);
// How many files the drop holds; 0 without the shell.
UINT DroppedFileCount(HDROP drop);
// Dropped file index in GBK into file (size bytes, terminator included): its
// length, or 0 when there is none or it does not fit. *withoutGbk tells
// whether it was refused because a character of its name has no GBK form.
UINT DroppedFile(HDROP drop, UINT index, char* file, UINT size, bool* withoutGbk);
// FALSE, and the point (0, 0).
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

// How many icons the process has asked the shell for so far (the tests
// count the lookups start-up makes).
long IconExtractions();

}  // namespace late
