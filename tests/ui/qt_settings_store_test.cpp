#include "ui/qt_settings_store.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/test_support.h"

namespace orv {
namespace {

using test::CTempDir;
using TBytes = std::vector<uint8_t>;

class QtSettingsStoreTest : public ::testing::Test {
 protected:
  QString File() const { return QString::fromStdString(m_dir.File("Orvella.conf")); }
  CTempDir m_dir;
};

TEST_F(QtSettingsStoreTest, ValuesSurviveTheFileWithTheirNames) {
  const std::string kStrings[] = {"",
                                  "Grüße, ☃ «x»",
                                  "@ByteArray(not binary)",
                                  "a=b; c # d [e]",
                                  "two\nlines\tand \"quotes\" \\ back",
                                  "  padded  "};
  const TBytes kFont{0, 1, 0xFF, '\n', '=', 0x80, 0};
  {
    CQtSettingsStore store(File());
    store.SetInt("Settings", "Main Frame State", 1);
    store.SetInt("Settings", "iNumBackCopies", INT_MIN);
    store.SetInt("General", "x", INT_MAX);
    for (size_t i = 0; i < std::size(kStrings); ++i)
      store.SetString("Recent File List", "File" + std::to_string(i + 1), kStrings[i]);
    store.SetBinary("Settings", "treeFont", kFont);
    store.SetBinary("Settings", "emptyFont", {});
    ASSERT_TRUE(store.Sync());
  }
  CQtSettingsStore store(File());
  EXPECT_EQ(store.GetInt("Settings", "Main Frame State", 2), 1);
  EXPECT_EQ(store.GetInt("Settings", "iNumBackCopies", 2), INT_MIN);
  EXPECT_EQ(store.GetInt("General", "x", 0), INT_MAX);
  EXPECT_EQ(store.GetInt("Settings", "Main Frame  State", 7), 7);  // names are exact
  for (size_t i = 0; i < std::size(kStrings); ++i)
    EXPECT_EQ(store.GetString("Recent File List", "File" + std::to_string(i + 1), "none"),
              kStrings[i]);
  EXPECT_EQ(store.GetBinary("Settings", "treeFont"), kFont);
  EXPECT_EQ(store.GetBinary("Settings", "emptyFont"), TBytes{});
  EXPECT_EQ(store.GetBinary("Settings", "missing"), std::nullopt);
}

TEST_F(QtSettingsStoreTest, OtherKindsReadAsMissing) {
  CQtSettingsStore store(File());
  store.SetString("Settings", "word", "abc");
  store.SetString("Settings", "big", "4294967296");
  store.SetBinary("Settings", "bytes", {'4', '2'});
  EXPECT_EQ(store.GetInt("Settings", "word", 9), 9);
  EXPECT_EQ(store.GetInt("Settings", "big", 9), 9);
  EXPECT_EQ(store.GetInt("Settings", "bytes", 9), 9);
  EXPECT_EQ(store.GetString("Settings", "bytes", "def"), "def");
  EXPECT_EQ(store.GetBinary("Settings", "word"), std::nullopt);
}

TEST_F(QtSettingsStoreTest, DeleteSectionRemovesOnlyThatSection) {
  {
    CQtSettingsStore store(File());
    store.SetInt("FindHistory", "CountHistories", 2);
    store.SetString("FindHistory", "0", "needle");
    store.SetInt("AdvancedFindHistory", "CountHistories", 1);
    store.SetInt("Settings", "iDefType", 0);
    store.DeleteSection("FindHistory");
    store.DeleteSection("");  // not "everything"
    store.DeleteSection("No Such Section");
  }
  CQtSettingsStore store(File());
  EXPECT_EQ(store.GetInt("FindHistory", "CountHistories", -1), -1);
  EXPECT_EQ(store.GetString("FindHistory", "0", "gone"), "gone");
  EXPECT_EQ(store.GetInt("AdvancedFindHistory", "CountHistories", -1), 1);
  EXPECT_EQ(store.GetInt("Settings", "iDefType", 2), 0);
}

TEST_F(QtSettingsStoreTest, UnwritableFileIsReported) {
  test::WriteWholeFile(m_dir.File("plain"), "x");
  CQtSettingsStore store(QString::fromStdString(m_dir.File("plain/Orvella.conf")));
  store.SetInt("Settings", "iDefIcon", 3);
  EXPECT_FALSE(store.Sync());
}

}  // namespace
}  // namespace orv
