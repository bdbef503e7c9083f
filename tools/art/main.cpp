// dida-art: the art pipeline's own steps between the SVG renders and the
// picture tool. It composes the character sheet with its blink bands and
// the sheet of page backgrounds, makes the hit-test masks from the renders
// and the layout, checks the panel and the buttons against what the
// launcher expects of them, and writes the outline bitmaps. Every length
// comes from the launcher's own metrics at the scale given (--scale P, in
// percent; 100 by default).

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "launcher/LauncherGeometry.h"
#include "tools/art/ArtImage.h"
#include "tools/art/CharacterSheet.h"
#include "tools/art/OutlineBmp.h"

namespace {

using art::Image;
using Files = std::vector<std::string>;

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

// sheet OUT.png OUTMASK.png then, per page: OPEN.png HALF.png CLOSED.png BODY.png
int ComposeSheet(const LauncherMetrics& m, const Files& files) {
  if (files.size() != 2 + 4 * kPageCount) return Fail("sheet: wrong number of arguments");
  Image sheet(m.sheetWidth, m.sheetHeight, 3);
  Image mask(m.sheetWidth, m.sheetHeight, 1);
  std::string error;
  for (int page = 0; page < kPageCount; ++page) {
    const std::string* names = &files[2 + 4 * page];
    art::PageRenders r;
    const int w = m.characterWidth, h = m.frameHeight;
    if (!Load(names[0], 3, w, h, &r.open, &error) || !Load(names[1], 3, w, h, &r.half, &error) ||
        !Load(names[2], 3, w, h, &r.closed, &error) || !Load(names[3], 4, w, h, &r.body, &error)) {
      return Fail(error);
    }
    if (m.blinkArea[page].top + m.bandHeight > h) return Fail("sheet: a band passes the frame");
    if (!art::EyesStayInBlinkArea(m, page, r.open, r.half, names[1], &error) ||
        !art::EyesStayInBlinkArea(m, page, r.open, r.closed, names[2], &error)) {
      return Fail(error);
    }
    art::PlacePage(m, page, r, &sheet, &mask);
  }
  if (!art::WritePng(files[0], sheet, &error) || !art::WritePng(files[1], mask, &error)) {
    return Fail(error);
  }
  return 0;
}

// backs OUT.png BG.png x 6: the page backgrounds side by side, one frame each.
int ComposeBacks(const LauncherMetrics& m, const Files& files) {
  if (files.size() != 1 + kPageCount) return Fail("backs: wrong number of arguments");
  Image sheet(m.sheetWidth, m.frameHeight, 3);
  std::string error;
  for (int page = 0; page < kPageCount; ++page) {
    Image back;
    if (!Load(files[1 + page], 3, m.characterWidth, m.frameHeight, &back, &error)) {
      return Fail(error);
    }
    for (int y = 0; y < m.frameHeight; ++y) {
      std::memcpy(sheet.At(page * m.characterWidth, y), back.At(0, y), 3 * size_t(back.width));
    }
  }
  if (!art::WritePng(files[0], sheet, &error)) return Fail(error);
  return 0;
}

bool InWell(const LauncherMetrics& m, int x, int y) {
  for (const BoxRect& w : m.wells) {
    if (x >= w.left && x < w.right && y >= w.top && y < w.bottom) return true;
  }
  return false;
}

// panel PANEL.png OUTMASK.png: checks the caption box (the launcher restores
// it from captionSourceX, so its rows must be plain from there) and writes
// the mask, zero exactly in the slot wells.
int MakePanelMask(const LauncherMetrics& m, const Files& files) {
  if (files.size() != 2) return Fail("panel: expected PANEL.png OUTMASK.png");
  Image panel;
  std::string error;
  if (!Load(files[0], 3, m.panelWidth, m.windowHeight, &panel, &error)) return Fail(error);
  const BoxRect& box = m.captionBox;
  for (int y = box.top; y < box.bottom; ++y) {
    for (int x = m.captionSourceX + 1; x < box.right; ++x) {
      if (std::memcmp(panel.At(x, y), panel.At(m.captionSourceX, y), 3) != 0) {
        return Fail(files[0] + ": caption box row " + std::to_string(y) + " changes colour at x " +
                    std::to_string(x) + "; rows of x " + std::to_string(m.captionSourceX) + ".." +
                    std::to_string(box.right - 1) + ", y " + std::to_string(box.top) + ".." +
                    std::to_string(box.bottom - 1) + " must be plain");
      }
    }
  }
  Image mask(m.panelWidth, m.windowHeight, 1);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) *mask.At(x, y) = InWell(m, x, y) ? 0 : 255;
  }
  if (!art::WritePng(files[1], mask, &error)) return Fail(error);
  return 0;
}

// buttons BUTTONS.png: the launcher draws each button's state from its own
// part of the picture, left of buttonSplit or from it on. The columns either
// side of the split must be one colour from top to bottom, so that neither
// button's drawing reaches into the other's part.
int CheckButtons(const LauncherMetrics& m, const Files& files) {
  if (files.size() != 1) return Fail("buttons: expected BUTTONS.png");
  Image buttons;
  std::string error;
  if (!Load(files[0], 3, m.characterWidth, 3 * m.buttonHeight, &buttons, &error)) {
    return Fail(error);
  }
  for (int x : {m.buttonSplit - 1, m.buttonSplit}) {
    for (int y = 0; y < buttons.height; ++y) {
      if (std::memcmp(buttons.At(x, y), buttons.At(m.buttonSplit, 0), 3) != 0) {
        return Fail(files[0] + ": column " + std::to_string(x) + " is not plain at y " +
                    std::to_string(y) + "; the buttons must leave a gap around x " +
                    std::to_string(m.buttonSplit));
      }
    }
  }
  return 0;
}

// outline character|panel OUT.bmp
int WriteOutline(const LauncherMetrics& m, const Files& files) {
  if (files.size() != 2 || (files[0] != "character" && files[0] != "panel")) {
    return Fail("outline: expected character|panel OUT.bmp");
  }
  const int width = files[0] == "character" ? m.characterWidth : m.panelWidth;
  std::vector<uint8_t> bytes = art::BuildOutlineBmp(width, m.windowHeight, m.outlineRadius);
  FILE* file = std::fopen(files[1].c_str(), "wb");
  if (!file) return Fail(files[1] + ": cannot create");
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !ok) return Fail(files[1] + ": write failed");
  return 0;
}

// Splits the arguments after the command into files and the scale; false
// for a missing, malformed or unsupported scale.
bool ParseArguments(int argc, char** argv, Files* files, int* percent) {
  *percent = kBasePercent;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--scale") != 0) {
      files->push_back(argv[i]);
      continue;
    }
    if (++i == argc) return false;
    char* end = nullptr;
    const long value = std::strtol(argv[i], &end, 10);
    if (*end != '\0' || value < kBasePercent || value > kMaxScalePercent) return false;
    *percent = int(value);
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const char* usage =
      "usage: dida-art sheet OUT.png OUTMASK.png {OPEN HALF CLOSED BODY}.png x 6 [--scale P]\n"
      "       dida-art backs OUT.png BACKGROUND.png x 6 [--scale P]\n"
      "       dida-art panel PANEL.png OUTMASK.png [--scale P]\n"
      "       dida-art buttons BUTTONS.png [--scale P]\n"
      "       dida-art outline character|panel OUT.bmp [--scale P]\n"
      "P: the display scale in percent, 100 to 500 (default 100)\n";
  Files files;
  int percent = kBasePercent;
  if (argc < 2 || !ParseArguments(argc - 2, argv + 2, &files, &percent)) {
    std::fputs(usage, stderr);
    return 2;
  }
  const LauncherMetrics m = MetricsAt(percent);
  const std::string command = argv[1];
  if (command == "sheet") return ComposeSheet(m, files);
  if (command == "backs") return ComposeBacks(m, files);
  if (command == "panel") return MakePanelMask(m, files);
  if (command == "buttons") return CheckButtons(m, files);
  if (command == "outline") return WriteOutline(m, files);
  std::fputs(usage, stderr);
  return 2;
}
