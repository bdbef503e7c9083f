#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>

#include "tests/win32/app/ModelTestSupport.h"

namespace {

TEST(SettingsFileBind, NamesTheFileAfterTheExecutable) {
  std::string module = ModulePath();
  ASSERT_EQ(".exe", module.substr(module.size() - 4));
  SettingsFile settings;
  settings.Bind("param");
  EXPECT_EQ(module.substr(0, module.size() - 4) + ".ini", settings.GetPath());
  EXPECT_STREQ("param", settings.GetSection());
  settings.Bind(nullptr);
  EXPECT_STREQ("setup", settings.GetSection());
  // Binding reads and writes nothing.
  EXPECT_FALSE(FileExists(settings.GetPath()));
}

TEST(SettingsFileBind, RefusesAPathLongerThanItsBuffer) {
  SettingsFile settings;
  std::string longPath(MAX_PATH, 'a');
  EXPECT_FALSE(settings.BindTo(longPath.c_str(), "param"));
  EXPECT_FALSE(settings.WriteString("Char", "1"));
  EXPECT_EQ(7, settings.GetInt("Char", 7));
}

TEST(SettingsFileValues, IntegersRoundTripAsDecimalText) {
  std::string path = FreshTempPath("ints.ini");
  SettingsFile settings;
  ASSERT_TRUE(settings.BindTo(path.c_str(), "param"));
  const int values[] = {0, -20, 5000, 2, INT_MAX, INT_MIN};
  for (int v : values) {
    settings.WriteInt("PosX", v);
    EXPECT_EQ(v, settings.GetInt("PosX", 12345)) << v;
    char text[32];
    settings.GetString("PosX", text, "", sizeof text);
    EXPECT_EQ(std::to_string(v), text);
  }
  settings.WriteInt("PosY", -20);
  EXPECT_EQ("[param]\r\nPosX=-2147483648\r\nPosY=-20\r\n", ReadFileBytes(path));
}

TEST(SettingsFileValues, NullValueRemovesTheKey) {
  std::string path = FreshTempPath("remove.ini");
  SettingsFile settings;
  ASSERT_TRUE(settings.BindTo(path.c_str(), "param"));
  settings.WriteInt("PosX", 5);
  settings.WriteString("Page1", "name");
  EXPECT_TRUE(settings.WriteString("PosX", nullptr));
  EXPECT_EQ(77, settings.GetInt("PosX", 77));
  char text[16];
  EXPECT_EQ(4, settings.GetString("PosX", text, "dflt", sizeof text));
  EXPECT_STREQ("dflt", text);
  EXPECT_EQ("[param]\r\nPage1=name\r\n", ReadFileBytes(path));
}

TEST(SettingsFileValues, MissingFileYieldsDefaultsAndStaysMissing) {
  std::string path = FreshTempPath("missing.ini");
  SettingsFile settings;
  ASSERT_TRUE(settings.BindTo(path.c_str(), nullptr));
  EXPECT_EQ(-3, settings.GetInt("Char", -3));
  char text[16];
  settings.GetString("Page1", text, "default", sizeof text);
  EXPECT_STREQ("default", text);
  EXPECT_FALSE(FileExists(path));
  settings.WriteInt("Char", 4);
  EXPECT_EQ("[setup]\r\nChar=4\r\n", ReadFileBytes(path));
}

TEST(SettingsFileValues, LongValuesAreCutToTheReadBuffer) {
  std::string path = FreshTempPath("long-value.ini");
  SettingsFile settings;
  ASSERT_TRUE(settings.BindTo(path.c_str(), "param"));
  std::string value(2000, 'v');
  settings.WriteString("Exec1-1", value.c_str());
  char buffer[1024 + 16];
  std::memset(buffer, '#', sizeof buffer);
  EXPECT_EQ(1023, settings.GetString("Exec1-1", buffer, "", 1024));
  EXPECT_EQ(std::string(1023, 'v'), buffer);
  for (std::size_t i = 1024; i < sizeof buffer; ++i) ASSERT_EQ('#', buffer[i]);
}

TEST(SettingsFileValues, UnboundReadsGiveDefaultsAndWritesNothing) {
  SettingsFile settings{};
  char text[8];
  EXPECT_EQ(3, settings.GetString("Page1", text, "abc", sizeof text));
  EXPECT_STREQ("abc", text);
  EXPECT_FALSE(settings.WriteString("Page1", "x"));
}

}  // namespace
