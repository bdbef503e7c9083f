#include "launcher/SkinArtwork.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "archive/ResourceArchive.h"
#include "framework/SystemText.h"
#include "imaging/SkinPicture.h"
#include "imaging/SkinReader.h"

namespace {

using Words = std::vector<std::uint32_t>;
using Bytes = std::vector<std::uint8_t>;

// Surfaces store rows bottom-up, skin pictures top-down: rectangles cross
// over row by row. Callers keep every rectangle inside the surface.
std::size_t Offset(const DrawSurface& s, int x, int y) {
  return static_cast<std::size_t>(s.height - 1 - y) * s.width + x;
}

Words TakeWords(const DrawSurface& s, int x, int y, int w, int h) {
  Words out(static_cast<std::size_t>(w) * h);
  for (int r = 0; r < h; ++r) std::copy_n(s.pixels + Offset(s, x, y + r), w, &out[r * w]);
  return out;
}

void PutWords(DrawSurface& s, int x, int y, int w, int h, const std::uint32_t* words) {
  for (int r = 0; r < h; ++r) std::copy_n(words + r * w, w, s.pixels + Offset(s, x, y + r));
}

void PutMask(DrawSurface& s, int x, int y, int w, int h, const std::uint8_t* bytes) {
  for (int r = 0; r < h; ++r) std::copy_n(bytes + r * w, w, s.mask + Offset(s, x, y + r));
}

bool Holds(const DrawSurface* s, int w, int h) {
  return s && s->bitmap && s->width >= w && s->height >= h;
}

SkinPixels View(const Words& words, int w, int h) { return {words.data(), words.size(), w, h}; }

// One page of the skin, blended over its background.
struct PageSkin {
  bool skinned = false;
  Words frame;
  Bytes mask;
  Words blink;
  SkinRect area = {0, 0, 0, 0};  // empty: the page does not blink
};

class FileReader {
 public:
  FileReader(const std::wstring& dir, const SkinLengths& lengths, int percent, std::string* report)
      : dir_(dir), lengths_(lengths), percent_(percent), report_(report) {}

  // The part's pixels, or false (refusals named in the report).
  bool Read(SkinPart part, int page, Words* out) {
    char name[64];
    if (!SkinFileName(part, page, percent_, name, sizeof name)) return false;
    SkinSize size = SkinPartSize(part, lengths_);
    if (size.width <= 0 || size.height <= 0) return false;
    out->assign(static_cast<std::size_t>(size.width) * size.height, 0);
    std::wstring path = dir_ + gbk::Widen(name);
    SkinRefusal refusal = reader_.Read(path.c_str(), size, out->data(), out->size());
    if (refusal == kSkinAccepted) return true;
    if (refusal != kSkinMissing) {
      const char* reason = SkinRefusalText(refusal);
      *report_ += std::string(name) + "：" + (reason ? reason : "") + "\n";
    }
    return false;
  }

 private:
  SkinReader reader_;
  const std::wstring& dir_;
  SkinLengths lengths_;
  int percent_;
  std::string* report_;
};

PageSkin ReadPage(FileReader& files, int page, const Words& background, int w, int h) {
  PageSkin skin;
  Words open, blink;
  if (!files.Read(kSkinPage, page, &open)) return skin;
  skin.frame.resize(open.size());
  skin.mask.resize(open.size());
  if (!BlendSkinPicture(View(open, w, h), View(background, w, h), skin.frame.data(),
                        skin.frame.size()) ||
      !SkinHitMask(View(open, w, h), skin.mask.data(), skin.mask.size())) {
    return skin;
  }
  skin.skinned = true;
  if (files.Read(kSkinPageBlink, page, &blink)) {
    skin.blink.resize(blink.size());
    if (!BlendSkinPicture(View(blink, w, h), View(background, w, h), skin.blink.data(),
                          skin.blink.size()) ||
        !SkinBlinkArea(View(skin.frame, w, h), View(skin.blink, w, h), &skin.area)) {
      skin.area = {0, 0, 0, 0};
    }
  }
  return skin;
}

// The sheet with taller blink bands: frames and bands copied over, pixels
// and mask.
std::unique_ptr<DrawSurface> WithBandHeight(const DrawSurface& sheet, const LauncherMetrics& m,
                                            int bandHeight) {
  auto taller = std::make_unique<DrawSurface>();
  if (!taller->Create(m.sheetWidth, m.frameHeight + 2 * bandHeight)) return nullptr;
  taller->AllocMask();
  if (!taller->mask) return nullptr;
  const int w = m.sheetWidth;
  auto copyRows = [&](int from, int to, int rows) {
    PutWords(*taller, 0, to, w, rows, TakeWords(sheet, 0, from, w, rows).data());
    if (!sheet.mask) return;
    for (int r = 0; r < rows; ++r)
      std::copy_n(sheet.mask + Offset(sheet, 0, from + r), w,
                  taller->mask + Offset(*taller, 0, to + r));
  };
  copyRows(0, 0, m.frameHeight);
  copyRows(m.frameHeight, m.frameHeight, m.bandHeight);
  copyRows(m.frameHeight + m.bandHeight, m.frameHeight + bandHeight, m.bandHeight);
  return taller;
}

// A skinned page into the sheet: its frame and mask, and both blink bands
// (the rows from the blink area's top down, the blink picture inside it).
void PutPage(DrawSurface& sheet, const LauncherMetrics& m, int page, const PageSkin& skin) {
  const int w = m.characterWidth, h = m.frameHeight, left = page * w;
  PutWords(sheet, left, 0, w, h, skin.frame.data());
  if (sheet.mask) PutMask(sheet, left, 0, w, h, skin.mask.data());
  const SkinRect& a = skin.area;
  if (a.right <= a.left || a.bottom <= a.top) return;
  Words band(static_cast<std::size_t>(w) * m.bandHeight, 0);
  for (int j = 0; j < m.bandHeight && a.top + j < h; ++j) {
    for (int x = 0; x < w; ++x) {
      const int y = a.top + j;
      const bool inside = x >= a.left && x < a.right && y < a.bottom;
      band[j * w + x] = (inside ? skin.blink : skin.frame)[y * w + x];
    }
  }
  for (int b = 0; b < 2; ++b)
    PutWords(sheet, left, h + b * m.bandHeight, w, m.bandHeight, band.data());
}

void ApplyPages(FileReader& files, WindowArtwork* art, LauncherMetrics* m,
                const DrawSurface& background) {
  const int w = m->characterWidth, h = m->frameHeight;
  if (!Holds(art->character.get(), m->sheetWidth, m->sheetHeight)) return;
  const bool ownBackground = Holds(&background, m->sheetWidth, h);
  PageSkin pages[kPageCount];
  int bandHeight = m->bandHeight;
  for (int page = 0; page < kPageCount; ++page) {
    // Without the backgrounds, the built-in frame is what the skin covers.
    Words under = TakeWords(ownBackground ? background : *art->character, page * w, 0, w, h);
    pages[page] = ReadPage(files, page, under, w, h);
    const SkinRect& a = pages[page].area;
    bandHeight = std::max(bandHeight, a.bottom - a.top);
  }
  if (bandHeight > m->bandHeight) {
    auto taller = WithBandHeight(*art->character, *m, bandHeight);
    if (!taller) return;
    art->character = std::move(taller);
    m->bandHeight = bandHeight;
    m->sheetHeight = h + 2 * bandHeight;
  }
  for (int page = 0; page < kPageCount; ++page) {
    if (!pages[page].skinned) continue;
    PutPage(*art->character, *m, page, pages[page]);
    const SkinRect& a = pages[page].area;
    m->blinkArea[page] = {a.left, a.top, a.right, a.bottom};
  }
}

// The panel or the buttons: the skin blended over the built-in picture.
void ApplyOver(FileReader& files, SkinPart part, DrawSurface* picture, int w, int h) {
  Words skin;
  if (!Holds(picture, w, h) || !files.Read(part, 0, &skin)) return;
  Words built = TakeWords(*picture, 0, 0, w, h);
  Words out(built.size());
  if (BlendSkinPicture(View(skin, w, h), View(built, w, h), out.data(), out.size()))
    PutWords(*picture, 0, 0, w, h, out.data());
}

}  // namespace

bool SkinFolder::Find(SkinFolder* out) {
  const char* programDir = g_archive.programDir ? g_archive.programDir : "";
  std::wstring dir = gbk::Widen(programDir) + L"skin";
  DWORD attributes = ::GetFileAttributesW(dir.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
    return false;
  out->dir_ = dir + L"\\";
  return true;
}

bool SkinFolder::HasFilesAt(int percent) const {
  for (int part = kSkinPage; part <= kSkinButtons; ++part) {
    for (int page = 0; page < kPageCount; ++page) {
      char name[64];
      if (!SkinFileName(static_cast<SkinPart>(part), page, percent, name, sizeof name)) continue;
      std::wstring path = dir_ + gbk::Widen(name);
      if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
      if (part >= kSkinPanel) break;  // one file, whatever the page
    }
  }
  return false;
}

void SkinFolder::Apply(WindowArtwork* art, LauncherMetrics* m, const DrawSurface& background,
                       std::string* report) const {
  SkinLengths lengths = {m->characterWidth, m->frameHeight, m->panelWidth, m->windowHeight};
  FileReader files(dir_, lengths, m->percent, report);
  ApplyPages(files, art, m, background);
  ApplyOver(files, kSkinPanel, art->panel.get(), m->panelWidth, m->windowHeight);
  ApplyOver(files, kSkinButtons, art->buttons.get(), m->characterWidth, 3 * m->buttonHeight);
}

std::string SkinReportMessage(const std::string& report) {
  if (report.empty()) return report;
  return "皮肤文件夹中的下列文件没有使用，已改用内置图片：\n\n" + report;
}
