#pragma once
// A skin: the user's own pictures in a folder `skin` beside the program,
// laid over the built-in artwork. Each file is optional and untrusted; one
// that is refused leaves the built-in picture in its place, and is named
// with its reason in the report the window shows once at start-up.
#include <windows.h>

#include <string>
#include <utility>

#include "launcher/LauncherGeometry.h"
#include "launcher/WindowArtwork.h"

class ResourceArchive;
class SkinReader;

class SkinFolder {
 public:
  SkinFolder() = default;
  // The skin in `dir` (ending with a separator).
  explicit SkinFolder(std::wstring dir) : dir_(std::move(dir)) {}

  // The folder beside the program, when there is one: a single
  // GetFileAttributes, nothing else is looked for without it.
  static bool Find(SkinFolder* out);

  // Whether any of the skin's files is made for the scale.
  bool HasFilesAt(int percent) const;

  // Lays the files made for m.percent over `art` (made for m, with the page
  // backgrounds for it from `background`): the pages' frames, hit masks
  // and blink bands, the panel and the buttons. m's blink areas and band
  // height follow the skin: a skinned page without a blink picture does not
  // blink. Every refused file is added to `report`, one line each.
  void Apply(WindowArtwork* art, LauncherMetrics* m, const DrawSurface& background,
             std::string* report) const;

 private:
  std::wstring dir_;  // ends with a separator
};

// The start-up message for the lines of a report; empty for none.
std::string SkinReportMessage(const std::string& report);
