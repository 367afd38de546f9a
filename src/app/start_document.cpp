#include "app/start_document.h"

#include "ports/settings_defaults.h"

namespace orv {

namespace {

// Entries from older versions may lack the extension.
constexpr std::string_view kExtension = "orv";

}  // namespace

std::vector<SStartDocument> StartDocumentChoices(std::string_view sCommandLinePath,
                                                 CSettingsStore& settings,
                                                 const std::string& sAboutDocument,
                                                 CFileSystem& fs) {
  if (!sCommandLinePath.empty())
    return {{EStartSource::CommandLine, std::string(sCommandLinePath)}};

  std::vector<SStartDocument> choices;
  // An empty entry means no recent file; with the extension appended it
  // would name a file "orv" in whatever folder we were started from.
  std::string sRecent = ReadSetting(settings, kRecentFiles[0]);
  if (!sRecent.empty()) {
    if (sRecent.find(kExtension) == std::string::npos) sRecent += kExtension;
    if (fs.Exists(sRecent)) choices.push_back({EStartSource::Recent, sRecent});
  }
  if (!sAboutDocument.empty() && fs.Exists(sAboutDocument))
    choices.push_back({EStartSource::About, sAboutDocument});
  choices.push_back({EStartSource::New, {}});
  return choices;
}

}  // namespace orv
