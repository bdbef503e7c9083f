#include "launcher/WindowArtwork.h"

#include <cstdio>
#include <cstdlib>

#include "archive/ResourceArchive.h"

namespace {

unsigned char* ReadArt(const char* name, const ArtScale& scale, ResourceArchive* extra,
                       int* length) {
  char entry[64];
  ArtEntryName(name, scale.shipped, entry, sizeof entry);
  ResourceArchive* archive = scale.shipped == kBasePercent ? &g_archive : extra;
  return archive ? archive->LoadImageEntry(entry, nullptr, length) : nullptr;
}

std::unique_ptr<DrawSurface> LoadPicture(const char* name, const ArtScale& scale,
                                         ResourceArchive* extra, int minWidth, int minHeight) {
  auto surface = std::make_unique<DrawSurface>();
  int length = 0;
  unsigned char* bytes = ReadArt(name, scale, extra, &length);
  bool loaded = bytes && length > 0 &&
                surface->LoadFromMemory(bytes, static_cast<std::size_t>(length), 0, 0) &&
                surface->bitmap;
  std::free(bytes);
  if (loaded && scale.factor > 1) {
    auto enlarged = std::make_unique<DrawSurface>();
    loaded = enlarged->RepeatOf(*surface, scale.factor) != 0;
    surface = std::move(enlarged);
  }
  if (!loaded || surface->width < minWidth || surface->height < minHeight) surface->Destroy();
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
