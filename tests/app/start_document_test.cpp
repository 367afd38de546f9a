#include "app/start_document.h"

#include <gtest/gtest.h>

#include <ostream>
#include <set>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "support/test_support.h"

namespace orv {

void PrintTo(const SStartDocument& doc, std::ostream* pOut) {
  *pOut << "{" << static_cast<int>(doc.eSource) << ", \"" << doc.sPath << "\"}";
}

namespace {

// Only the listed paths exist.
class CListedFileSystem : public test::CFaultyFileSystem {
 public:
  bool Exists(const std::string& sPath) override { return m_existing.contains(sPath); }
  std::set<std::string> m_existing;
};

class StartDocumentTest : public ::testing::Test {
 protected:
  void SetRecent(const std::string& sPath) { WriteSetting(m_settings, kRecentFiles[0], sPath); }
  std::vector<SStartDocument> Choices(std::string_view sCommandLine = {}) {
    return StartDocumentChoices(sCommandLine, m_settings, kAbout, m_fs);
  }

  const std::string kAbout = "/usr/share/app/About Orvella.orv";
  const SStartDocument kNew{EStartSource::New, {}};
  CListedFileSystem m_fs;
  CMemorySettingsStore m_settings;
};

TEST_F(StartDocumentTest, CommandLineIsTheOnlyChoiceEvenWhenMissing) {
  m_fs.m_existing = {kAbout, "/home/u/work.orv"};
  SetRecent("/home/u/work.orv");
  EXPECT_EQ(Choices("/nowhere/gone.orv"),
            (std::vector<SStartDocument>{{EStartSource::CommandLine, "/nowhere/gone.orv"}}));
}

TEST_F(StartDocumentTest, RecentThenAboutThenNew) {
  m_fs.m_existing = {kAbout, "/home/u/work.orv"};
  SetRecent("/home/u/work.orv");
  EXPECT_EQ(Choices(),
            (std::vector<SStartDocument>{
                {EStartSource::Recent, "/home/u/work.orv"}, {EStartSource::About, kAbout}, kNew}));
}

TEST_F(StartDocumentTest, RecentLackingTheExtensionTextGetsItAppended) {
  m_fs.m_existing = {"/home/u/work.orv", "/home/u/orvnotes.txt", "/home/u/plainorv"};
  SetRecent("/home/u/work.");
  EXPECT_EQ(Choices().front(), (SStartDocument{EStartSource::Recent, "/home/u/work.orv"}));
  // "orv" anywhere in the path counts.
  SetRecent("/home/u/orvnotes.txt");
  EXPECT_EQ(Choices().front().sPath, "/home/u/orvnotes.txt");
  SetRecent("/home/u/plain");
  EXPECT_EQ(Choices().front().sPath, "/home/u/plainorv");
}

TEST_F(StartDocumentTest, DeletedRecentAndMissingAboutGiveNewDocument) {
  SetRecent("/home/u/deleted.orv");
  EXPECT_EQ(Choices(), std::vector<SStartDocument>{kNew});
  m_fs.m_existing = {kAbout};
  EXPECT_EQ(Choices(), (std::vector<SStartDocument>{{EStartSource::About, kAbout}, kNew}));
}

TEST_F(StartDocumentTest, EmptyRecentEntryIsNoRecentFile) {
  // Not the file "orv" of the current folder, even when there is one.
  m_fs.m_existing = {"orv"};
  SetRecent("");
  EXPECT_EQ(Choices(), std::vector<SStartDocument>{kNew});
  EXPECT_EQ(StartDocumentChoices({}, m_settings, "", m_fs), std::vector<SStartDocument>{kNew});
}

}  // namespace
}  // namespace orv
