#include "launcher/WindowArtwork.h"

#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "archive/ResourceArchive.h"

namespace {

std::unique_ptr<DrawSurface> Enlarged(std::unique_ptr<DrawSurface> surface, int factor) {
  if (factor <= 1 || !surface->bitmap) return surface;
  auto enlarged = std::make_unique<DrawSurface>();
  enlarged->RepeatOf(*surface, factor);
  return enlarged;
}

unsigned char* ReadArtFrom(ResourceArchive* archive, const char* name, const ArtScale& scale,
                           int* length) {
  char entry[64];
  ArtEntryName(name, scale.shipped, entry, sizeof entry);
  return archive ? archive->LoadImageEntry(entry, nullptr, length) : nullptr;
}

unsigned char* ReadArt(const char* name, const ArtScale& scale, ResourceArchive* extra,
                       int* length) {
  return ReadArtFrom(scale.shipped == kBasePercent ? &g_archive : extra, name, scale, length);
}

std::unique_ptr<DrawSurface> DecodeArt(unsigned char* bytes, int length, int factor) {
  auto surface = std::make_unique<DrawSurface>();
  bool loaded = bytes && length > 0 &&
                surface->LoadFromMemory(bytes, static_cast<std::size_t>(length), 0, 0) &&
                surface->bitmap;
  std::free(bytes);
  if (!loaded) surface->Destroy();
  return Enlarged(std::move(surface), factor);
}

std::unique_ptr<DrawSurface> LoadPicture(const char* name, const ArtScale& scale,
                                         ResourceArchive* extra, int minWidth, int minHeight) {
  auto surface = LoadArtPicture(name, scale, extra);
  if (surface->width < minWidth || surface->height < minHeight) surface->Destroy();
  return surface;
}

std::unique_ptr<MaskRegion> LoadOutline(const char* name, const ArtScale& scale,
                                        ResourceArchive* extra) {
  auto outline = std::make_unique<MaskRegion>();
  int length = 0;
  unsigned char* bytes = ReadArt(name, scale, extra, &length);
  bool built = bytes && length > 0 &&
               outline->LoadFromMemory(bytes, static_cast<std::size_t>(length)) &&
               outline->Enlarge(scale.factor);
  std::free(bytes);
  if (!built) outline.reset();
  return outline;
}

}  // namespace

bool WindowArtwork::Complete() const {
  return character && character->bitmap && buttons && buttons->bitmap && panel && panel->bitmap &&
         characterOutline && panelOutline;
}

void ArtEntryName(const char* name, int shippedPercent, char* out, int size) {
  if (shippedPercent == kBasePercent) {
    std::snprintf(out, static_cast<std::size_t>(size), "%s", name);
    return;
  }
  const char* dot = name;
  while (*dot && *dot != '.') ++dot;
  std::snprintf(out, static_cast<std::size_t>(size), "%.*s@%d%s", static_cast<int>(dot - name),
                name, shippedPercent, dot);
}

std::unique_ptr<DrawSurface> LoadArtPicture(const char* name, const ArtScale& scale,
                                            ResourceArchive* extra) {
  int length = 0;
  unsigned char* bytes = ReadArt(name, scale, extra, &length);
  return DecodeArt(bytes, length, scale.factor);
}

std::unique_ptr<DrawSurface> LoadPageBackgrounds(const ArtScale& scale, ResourceArchive* extra) {
  int length = 0;
  unsigned char* bytes = ReadArtFrom(extra, "back.tw", scale, &length);
  return DecodeArt(bytes, length, scale.factor);
}

void EnlargeArtwork(WindowArtwork* art, int factor) {
  if (factor <= 1) return;
  for (auto* surface : {&art->character, &art->buttons, &art->panel}) {
    if (*surface) *surface = Enlarged(std::move(*surface), factor);
  }
  for (auto* outline : {&art->characterOutline, &art->panelOutline}) {
    if (*outline && !(*outline)->Enlarge(factor)) outline->reset();
  }
}

WindowArtwork LoadWindowArtwork(const ArtScale& scale, const LauncherMetrics& m,
                                ResourceArchive* extra) {
  WindowArtwork art;
  art.character = LoadPicture("char.tw", scale, extra, m.sheetWidth, m.sheetHeight);
  art.buttons = LoadPicture("buttons.tw", scale, extra, m.characterWidth, 3 * m.buttonHeight);
  art.panel = LoadPicture("panel.tw", scale, extra, m.panelWidth, m.windowHeight);
  art.characterOutline = LoadOutline("mask1.bmp", scale, extra);
  art.panelOutline = LoadOutline("mask2.bmp", scale, extra);
  return art;
}
