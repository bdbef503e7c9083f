#pragma once
// The pictures and outlines the window draws with, made for one display
// scale: the program's own archive holds them at 100 %, a second archive at
// every other scale the build renders; a scale between them is a rendered
// one with each pixel repeated a whole number of times.
#include <memory>

#include "common/DisplayScale.h"
#include "imaging/DrawSurface.h"
#include "imaging/MaskRegion.h"
#include "launcher/LauncherGeometry.h"

class ResourceArchive;

struct WindowArtwork {
  std::unique_ptr<DrawSurface> character;  // the sheet, with the body mask
  std::unique_ptr<DrawSurface> buttons;
  std::unique_ptr<DrawSurface> panel;  // with the slot wells' mask
  std::unique_ptr<MaskRegion> characterOutline;
  std::unique_ptr<MaskRegion> panelOutline;

  // Every picture and outline is there.
  bool Complete() const;
};

// The archive entry of a picture made for a shipped scale: "char.tw" at
// 100 %, "char@125.tw" at 125 %.
void ArtEntryName(const char* name, int shippedPercent, char* out, int size);

// Loads the artwork for `scale`: from the program's archive at 100 %, else
// from `extra`; each picture enlarged by scale.factor. A picture that cannot
// be had, or is too small for the metrics' copies, stays empty (the window
// goes without it); an outline that cannot be had stays null.
WindowArtwork LoadWindowArtwork(const ArtScale& scale, const LauncherMetrics& m,
                                ResourceArchive* extra);
