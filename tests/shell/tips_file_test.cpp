#include "shell/tips_file.h"

#include <gtest/gtest.h>

#include <vector>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "support/test_support.h"

namespace orv::test {
namespace {

class TipsFileTest : public testing::Test {
 protected:
  // The tips shown by opening the file and pressing Next nCount - 1 times.
  std::vector<std::string> Shown(size_t nCount) {
    CTipsFile tips(m_settings, m_sPath);
    std::vector<std::string> shown;
    for (size_t i = 0; i < nCount && tips.State() == ETipsState::Ready; ++i) {
      if (i) tips.Next();
      shown.push_back(tips.Tip());
    }
    tips.Close(true);
    return shown;
  }

  CTempDir m_dir;
  std::string m_sPath = m_dir.File("tips.txt");
  CMemorySettingsStore m_settings;
};

TEST_F(TipsFileTest, SkipsBlankAndCommentLinesAndWrapsAround) {
  WriteWholeFile(m_sPath, "; the tips\r\nOne\r\n\r\n   \r\n  Two  \r\n;not this\r\nThree");
  EXPECT_EQ(Shown(5), (std::vector<std::string>{"One", "Two", "Three", "One", "Two"}));
}

TEST_F(TipsFileTest, EachShowingGoesOnWhereTheLastStopped) {
  WriteWholeFile(m_sPath, "One\nTwo\nThree\n");
  EXPECT_EQ(Shown(2), (std::vector<std::string>{"One", "Two"}));
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"Three"}));
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"One"}));
  EXPECT_EQ(ReadSetting(m_settings, kTipStartUp), 1);
  CTipsFile(m_settings, m_sPath).Close(false);
  EXPECT_EQ(ReadSetting(m_settings, kTipStartUp), 0);
}

TEST_F(TipsFileTest, AChangedFileOrAStrayOffsetStartsFromATipsStart) {
  WriteWholeFile(m_sPath, "One\nTwo\nThree\n");
  Shown(2);
  WriteWholeFile(m_sPath, "Alpha\nBeta\nGamma\nDelta\n");
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"Alpha"}));
  // An offset into the middle of "Beta", and one past the end.
  WriteSetting(m_settings, kTipFilePos, 8);
  EXPECT_EQ(Shown(1), (std::vector<std::string>{"Gamma"}));
  for (int32_t nPos : {-5, 1000}) {
    WriteSetting(m_settings, kTipFilePos, nPos);
    EXPECT_EQ(Shown(1), (std::vector<std::string>{"Alpha"}));
  }
}

TEST_F(TipsFileTest, MissingEmptyAndUnreadableFiles) {
  EXPECT_EQ(CTipsFile(m_settings, m_sPath).State(), ETipsState::Missing);
  WriteWholeFile(m_sPath, "; only a comment\n\n");
  EXPECT_EQ(CTipsFile(m_settings, m_sPath).State(), ETipsState::Trouble);
  std::filesystem::remove(m_sPath);
  std::filesystem::create_directory(m_sPath);
  CTipsFile folder(m_settings, m_sPath);
  EXPECT_EQ(folder.State(), ETipsState::Trouble);
  EXPECT_EQ(folder.Tip(), "");
  // Only the start-up choice is kept from a file that gave no tip.
  folder.Close(false);
  EXPECT_EQ(ReadSetting(m_settings, kTipStartUp), 0);
  EXPECT_EQ(ReadSetting(m_settings, kTipTimeStamp), "");
}

}  // namespace
}  // namespace orv::test
