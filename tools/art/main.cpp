// dida-art: the art pipeline's own steps between the SVG renders and the
// picture tool. It composes the character sheet with its blink bands, makes
// the hit-test masks from the renders and the layout, checks the panel
// against what the launcher expects of it, and writes the outline bitmaps.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tools/art/ArtImage.h"
#include "tools/art/ArtLayout.h"
#include "tools/art/OutlineBmp.h"

namespace {

using art::Image;

int Fail(const std::string& message) {
  std::fprintf(stderr, "dida-art: %s\n", message.c_str());
  return 1;
}

bool Load(const std::string& path, int channels, int width, int height, Image* out,
          std::string* error) {
  if (!art::ReadPng(path, channels, out, error)) return false;
  if (out->width != width || out->height != height) {
    *error = path + ": expected " + std::to_string(width) + " x " + std::to_string(height) +
             ", got " + std::to_string(out->width) + " x " + std::to_string(out->height);
    return false;
  }
  return true;
}

// A variant with the eyes (half) closed may differ from the open frame only
// inside the blink area: the launcher overlays just that rectangle.
bool CheckEyesInBlinkArea(const Image& open, const Image& variant, const art::Rect& area,
                          const std::string& name, std::string* error) {
  int count = 0, minX = open.width, minY = open.height, maxX = -1, maxY = -1;
  for (int y = 0; y < open.height; ++y) {
    for (int x = 0; x < open.width; ++x) {
      if (area.Contains(x, y) || std::memcmp(open.At(x, y), variant.At(x, y), 3) == 0) continue;
      ++count;
      if (x < minX) minX = x;
      if (y < minY) minY = y;
      if (x > maxX) maxX = x;
      if (y > maxY) maxY = y;
    }
  }
  if (count == 0) return true;
  char text[256];
  std::snprintf(text, sizeof text,
                "%s: %d pixels outside the blink area (%d,%d) %dx%d change, within x %d..%d, "
                "y %d..%d; keep the eyes inside it",
                name.c_str(), count, area.x, area.y, area.width, area.height, minX, maxX, minY,
                maxY);
  *error = text;
  return false;
}

// sheet OUT.png OUTMASK.png then, per page: OPEN.png HALF.png CLOSED.png BODY.png
int ComposeSheet(int argc, char** argv) {
  if (argc != 2 + 4 * art::kPageCount) return Fail("sheet: wrong number of arguments");
  Image sheet(art::kSheetWidth, art::kSheetHeight, 3);
  Image mask(art::kSheetWidth, art::kSheetHeight, 1);
  std::string error;
  for (int page = 0; page < art::kPageCount; ++page) {
    char** files = argv + 2 + 4 * page;
    Image open, half, closed, body;
    if (!Load(files[0], 3, art::kColumnWidth, art::kFrameHeight, &open, &error) ||
        !Load(files[1], 3, art::kColumnWidth, art::kFrameHeight, &half, &error) ||
        !Load(files[2], 3, art::kColumnWidth, art::kFrameHeight, &closed, &error) ||
        !Load(files[3], 4, art::kColumnWidth, art::kFrameHeight, &body, &error)) {
      return Fail(error);
    }
    const art::Rect& area = art::kBlinkArea[page];
    if (!CheckEyesInBlinkArea(open, half, area, files[1], &error) ||
        !CheckEyesInBlinkArea(open, closed, area, files[2], &error)) {
      return Fail(error);
    }
    const int left = page * art::kColumnWidth;
    for (int y = 0; y < art::kFrameHeight; ++y) {
      for (int x = 0; x < art::kColumnWidth; ++x) {
        std::memcpy(sheet.At(left + x, y), open.At(x, y), 3);
        *mask.At(left + x, y) = body.At(x, y)[3] >= 128 ? 255 : 0;
      }
    }
    // Each band repeats the frame rows from the blink area's top down, with
    // the closed (band 1) or half-closed (band 2) eyes inside the area, so
    // the band's own x and row offsets match the frame's.
    const Image* bandEyes[2] = {&closed, &half};
    for (int band = 0; band < 2; ++band) {
      const int top = art::kFrameHeight + band * art::kBandHeight;
      for (int j = 0; j < art::kBandHeight; ++j) {
        const int frameY = area.y + j;
        for (int x = 0; x < art::kColumnWidth; ++x) {
          const Image& source = area.Contains(x, frameY) ? *bandEyes[band] : open;
          std::memcpy(sheet.At(left + x, top + j), source.At(x, frameY), 3);
          *mask.At(left + x, top + j) = *mask.At(left + x, frameY);
        }
      }
    }
  }
  if (!art::WritePng(argv[0], sheet, &error) || !art::WritePng(argv[1], mask, &error)) {
    return Fail(error);
  }
  return 0;
}

bool InWell(int x, int y) {
  for (int left : art::kWellLeft) {
    for (int top : art::kWellTop) {
      if (art::Rect{left, top, art::kWellSize, art::kWellSize}.Contains(x, y)) return true;
    }
  }
  return false;
}

// panel PANEL.png OUTMASK.png: checks the caption box and writes the mask
// (zero exactly in the slot wells).
int MakePanelMask(int argc, char** argv) {
  if (argc != 2) return Fail("panel: expected PANEL.png OUTMASK.png");
  Image panel;
  std::string error;
  if (!Load(argv[0], 3, art::kPanelWidth, art::kPanelHeight, &panel, &error)) return Fail(error);
  const art::Rect& box = art::kCaptionRestore;
  for (int y = box.y; y < box.y + box.height; ++y) {
    for (int x = box.x + 1; x < box.x + box.width; ++x) {
      if (std::memcmp(panel.At(x, y), panel.At(box.x, y), 3) != 0) {
        return Fail(std::string(argv[0]) + ": caption box row " + std::to_string(y) +
                    " changes colour at x " + std::to_string(x) +
                    "; rows of x 20..145, y 15..46 must be plain");
      }
    }
  }
  Image mask(art::kPanelWidth, art::kPanelHeight, 1);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) *mask.At(x, y) = InWell(x, y) ? 0 : 255;
  }
  if (!art::WritePng(argv[1], mask, &error)) return Fail(error);
  return 0;
}

// outline WIDTH HEIGHT OUT.bmp
int WriteOutline(int argc, char** argv) {
  if (argc != 3) return Fail("outline: expected WIDTH HEIGHT OUT.bmp");
  const int width = std::atoi(argv[0]);
  const int height = std::atoi(argv[1]);
  if (width <= 0 || width > 4096 || height <= 0 || height > 4096) {
    return Fail("outline: size out of range");
  }
  std::vector<uint8_t> bytes = art::BuildOutlineBmp(width, height, art::kOutlineRadius);
  FILE* file = std::fopen(argv[2], "wb");
  if (!file) return Fail(std::string(argv[2]) + ": cannot create");
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !ok) return Fail(std::string(argv[2]) + ": write failed");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: dida-art sheet OUT.png OUTMASK.png {OPEN HALF CLOSED BODY}.png x 6\n"
      "       dida-art panel PANEL.png OUTMASK.png\n"
      "       dida-art outline WIDTH HEIGHT OUT.bmp\n";
  if (argc < 2) {
    std::fputs(usage, stderr);
    return 2;
  }
  const std::string command = argv[1];
  if (command == "sheet") return ComposeSheet(argc - 2, argv + 2);
  if (command == "panel") return MakePanelMask(argc - 2, argv + 2);
  if (command == "outline") return WriteOutline(argc - 2, argv + 2);
  std::fputs(usage, stderr);
  return 2;
}
