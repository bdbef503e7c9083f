#pragma once
// The shell functions the launcher uses, bound when first called (see
// LateBound.h): a launcher with no filled slot starts without loading the
// shell library at all. Each answers as the shell does when it cannot do the
// job, should the library be missing.
#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

namespace late {

// Null: no icon.
HICON ExtractAssociatedIconA(HINSTANCE instance, char* path, WORD* index);
// SE_ERR_DLLNOTFOUND: reported like any other failure to start a target.
HINSTANCE ShellExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                        const char* directory, int show);
// 0: no file.
UINT DragQueryFileA(HDROP drop, UINT index, char* file, UINT size);
// FALSE, and the point (0, 0).
BOOL DragQueryPoint(HDROP drop, POINT* point);
void DragFinish(HDROP drop);

// How many icons the process has asked the shell for so far (the tests
// count the lookups start-up makes).
long IconExtractions();

}  // namespace late
