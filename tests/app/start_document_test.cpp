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

TEST(StartDocumentTest, CommandLineThenRecentThenAboutThenNew) {
  using enum EStartSource;
  const std::string kAbout = "/usr/share/app/About Orvella.orv", kWork = "/home/u/work.orv";
  const SStartDocument kNew{New, {}};
  const struct {
    std::set<std::string> existing;
    std::string sRecent, sCommandLine;
    std::vector<SStartDocument> choices;
  } cases[] = {
      // The command line alone, even when missing.
      {{kAbout, kWork}, kWork, "/gone.orv", {{CommandLine, "/gone.orv"}}},
      {{kAbout, kWork}, kWork, "", {{Recent, kWork}, {About, kAbout}, kNew}},
      // A recent path lacking the extension text gets it; "orv" anywhere counts.
      {{kWork}, "/home/u/work.", "", {{Recent, kWork}, kNew}},
      {{"/u/orvnotes.txt"}, "/u/orvnotes.txt", "", {{Recent, "/u/orvnotes.txt"}, kNew}},
      {{"/u/plainorv"}, "/u/plain", "", {{Recent, "/u/plainorv"}, kNew}},
      {{}, "/u/deleted.orv", "", {kNew}},
      {{kAbout}, "/u/deleted.orv", "", {{About, kAbout}, kNew}},
      // Not the file "orv" of the current folder, even when there is one.
      {{"orv"}, "", "", {kNew}},
  };
  for (const auto& c : cases) {
    CListedFileSystem fs;
    fs.m_existing = c.existing;
    CMemorySettingsStore settings;
    WriteSetting(settings, kRecentFiles[0], c.sRecent);
    EXPECT_EQ(StartDocumentChoices(c.sCommandLine, settings, kAbout, fs), c.choices) << c.sRecent;
  }
  // Nor is an empty About path.
  CListedFileSystem fs;
  fs.m_existing = {"orv"};
  CMemorySettingsStore settings;
  EXPECT_EQ(StartDocumentChoices({}, settings, "", fs), std::vector{kNew});
}

}  // namespace
}  // namespace orv
