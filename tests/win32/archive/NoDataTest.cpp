// A program that carries the index resource but no data resource: names are
// found in the index, yet nothing can be read, and that says nothing.
#include "tests/win32/archive/ArchiveTestSupport.h"

namespace {

class ArchiveEmbeddedWithoutData : public ArchiveWin32Test {};

TEST_F(ArchiveEmbeddedWithoutData, IndexedNamesFailSilentlyMissingNamesAreReported) {
  EXPECT_EQ(archive_.Open(ArchiveMode_Embedded, nullptr, nullptr), 1);
  EXPECT_NE(archive_.FindEntry("char.tw"), 0u);
  EXPECT_EQ(Load("char.tw"), "<none>");
  EXPECT_TRUE(g_boxes.empty());
  EXPECT_EQ(Load("CLICK.WAV"), "<none>");
  ASSERT_EQ(g_boxes.size(), 1u);
  EXPECT_EQ(g_boxes[0].text, MissingText("CLICK.WAV"));
}

}  // namespace
