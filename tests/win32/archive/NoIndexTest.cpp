// A program that carries the data resource but no index resource: the
// archive opens without an index and every read is reported missing.
#include "tests/win32/archive/ArchiveTestSupport.h"

namespace {

class ArchiveEmbeddedWithoutIndex : public ArchiveWin32Test {};

TEST_F(ArchiveEmbeddedWithoutIndex, EveryReadIsReportedMissing) {
  EXPECT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 0);
  EXPECT_FALSE(archive_.IndexLoaded());
  Write(ExeDir() + "char.tw", "TW01 loose");  // never consulted in this mode
  ImageSize size{-1, -1};
  EXPECT_EQ(Load("char.tw"), "<none>");
  EXPECT_EQ(Load("_head.txt"), "<none>");
  EXPECT_EQ(archive_.LoadImageEntry("mask1.bmp", &size), nullptr);
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  ASSERT_EQ(g_boxes.size(), 3u);
  EXPECT_EQ(g_boxes[0].text, MissingText("char.tw"));
  EXPECT_EQ(g_boxes[1].text, MissingText("_head.txt"));
  EXPECT_EQ(g_boxes[2].text, MissingText("mask1.bmp"));
}

}  // namespace
