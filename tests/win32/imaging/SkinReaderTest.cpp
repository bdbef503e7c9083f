// The skin reader under Wine's imaging component: the small PNGs of
// tests/data/skin (copied beside the test program), every stored form of one
// pattern, and the files it must refuse. Each test runs in a process of its
// own, so "the imaging component is not loaded yet" holds at its start.
#include <gtest/gtest.h>
#include <windows.h>
// after windows.h, whose types it uses
#include <psapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "imaging/SkinReader.h"

namespace {

constexpr int kW = 7, kH = 5;

// Pixel i of every test picture as 0xAARRGGBB; make-pngs.py writes it.
std::uint32_t SkinPixel(int i) {
  static const std::uint32_t kAlphas[7] = {0, 255, 128, 1, 254, 77, 255};
  const std::uint32_t r = (i * 37 + 11) & 255, g = (i * 59 + 23) & 255, b = (i * 83 + 5) & 255;
  return kAlphas[i % 7] << 24 | r << 16 | g << 8 | b;
}

std::wstring ExeFolder() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring exe(path, n);
  return exe.substr(0, exe.find_last_of(L'\\') + 1);
}

std::wstring DataFile(const wchar_t* name) { return ExeFolder() + L"skin-data\\" + name; }

bool CodecLoaded() { return GetModuleHandleW(L"windowscodecs.dll") != nullptr; }

struct Result {
  SkinRefusal refusal;
  std::vector<std::uint32_t> pixels;
};

Result ReadSkin(SkinReader& reader, const std::wstring& path, SkinSize expected = {kW, kH}) {
  Result r;
  r.pixels.assign(static_cast<std::size_t>(expected.width) * expected.height, 0x5A5A5A5Au);
  r.refusal = reader.Read(path.c_str(), expected, r.pixels.data(), r.pixels.size());
  return r;
}

class SkinReaderForms : public ::testing::TestWithParam<const wchar_t*> {};

// Opaque, fully transparent (its colour kept: nothing is premultiplied) and
// partly transparent pixels arrive as stored, whatever the file's form.
TEST_P(SkinReaderForms, GiveThePatternAsBgra) {
  SkinReader reader;
  const Result r = ReadSkin(reader, DataFile(GetParam()));
  ASSERT_EQ(r.refusal, kSkinAccepted);
  for (int i = 0; i < kW * kH; ++i) {
    ASSERT_EQ(r.pixels[i], SkinPixel(i)) << "pixel " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Files, SkinReaderForms,
                         ::testing::Values(L"rgba.png", L"rgba16.png", L"palette.png",
                                           L"interlaced.png"));

TEST(SkinReader, RefusesFilesThatAreCutOrOfAnotherSize) {
  SkinReader reader;
  EXPECT_EQ(ReadSkin(reader, DataFile(L"truncated.png")).refusal, kSkinDamaged);
  EXPECT_EQ(ReadSkin(reader, DataFile(L"rgba.png"), {kW, kH + 1}).refusal, kSkinWrongSize);
  EXPECT_EQ(ReadSkin(reader, DataFile(L"rgba.png"), {kW - 1, kH}).refusal, kSkinWrongSize);
  // A buffer too short for the expected size: no file could be read into it.
  std::vector<std::uint32_t> shortBuffer(kW * kH - 1);
  EXPECT_EQ(
      reader.Read(DataFile(L"rgba.png").c_str(), {kW, kH}, shortBuffer.data(), shortBuffer.size()),
      kSkinWrongSize);
  EXPECT_EQ(ReadSkin(reader, DataFile(L"make-pngs.py")).refusal, kSkinNotPng);
  // The same reader still reads a good file afterwards.
  EXPECT_EQ(ReadSkin(reader, DataFile(L"rgba.png")).refusal, kSkinAccepted);
}

SIZE_T PeakWorkingSet() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
  return counters.PeakWorkingSetSize;
}

// A header that claims 100,000 x 100,000 pixels (40 GB as BGRA) is refused
// from the header alone: at once, without the codec, and without the peak
// working set growing by more than a few pages.
TEST(SkinReader, RefusesAHugeHeaderAtOnceWithoutMemory) {
  SkinReader reader;
  std::vector<std::uint32_t> frame(102 * 113);
  const std::wstring path = DataFile(L"huge-header.png");
  const SIZE_T before = PeakWorkingSet();
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceCounter(&start);
  const SkinRefusal refusal = reader.Read(path.c_str(), {102, 113}, frame.data(), frame.size());
  QueryPerformanceCounter(&end);
  QueryPerformanceFrequency(&frequency);
  const SIZE_T after = PeakWorkingSet();
  const double ms = 1000.0 * (end.QuadPart - start.QuadPart) / frequency.QuadPart;
  std::printf("huge header: %.3f ms, peak working set %llu -> %llu KiB\n", ms,
              static_cast<unsigned long long>(before / 1024),
              static_cast<unsigned long long>(after / 1024));
  EXPECT_EQ(refusal, kSkinWrongSize);
  EXPECT_FALSE(CodecLoaded());
  EXPECT_LT(ms, 100.0);
  EXPECT_LT(after - before, SIZE_T{1} << 20);
}

// Nothing that is not a readable file gets as far as the codec; the first
// file that does loads it.
TEST(SkinReader, RefusesFolderAndMissingFileBeforeTheCodecLoads) {
  const std::wstring folder = ExeFolder() + L"skin-folder-test\\";
  const std::wstring page = folder + L"page1.png";
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(page.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  SkinReader reader;
  const SkinRefusal asFolder = ReadSkin(reader, page).refusal;
  const SkinRefusal missing = ReadSkin(reader, folder + L"page2.png").refusal;
  const SkinRefusal noFolder = ReadSkin(reader, folder + L"absent\\page2.png").refusal;
  RemoveDirectoryW(page.c_str());
  RemoveDirectoryW(folder.c_str());
  EXPECT_EQ(asFolder, kSkinNotAFile);
  EXPECT_EQ(missing, kSkinMissing);
  EXPECT_EQ(noFolder, kSkinMissing);
  EXPECT_FALSE(CodecLoaded());
  EXPECT_EQ(ReadSkin(reader, DataFile(L"rgba.png")).refusal, kSkinAccepted);
  EXPECT_TRUE(CodecLoaded());
}

// Each reason is a sentence of GBK text, different from every other.
TEST(SkinReader, ReasonsAreDistinctGbkTexts) {
  std::vector<std::wstring> seen;
  for (int reason = kSkinMissing; reason <= kSkinNoMemory; ++reason) {
    const char* text = SkinRefusalText(static_cast<SkinRefusal>(reason));
    ASSERT_NE(text, nullptr) << reason;
    wchar_t wide[64];
    const int n = MultiByteToWideChar(936, MB_ERR_INVALID_CHARS, text, -1, wide, 64);
    ASSERT_GT(n, 1) << reason;
    EXPECT_EQ(wide[n - 2], L'。') << reason;
    for (const std::wstring& other : seen) EXPECT_NE(other, wide);
    seen.push_back(wide);
  }
  EXPECT_EQ(seen[kSkinWrongSize - kSkinMissing], L"图片尺寸不对。");
}

}  // namespace
