#pragma once
// Which document start-up shows first: the one named on the command line,
// else the most recently used one, else the "About Orvella.orv" guide, else a
// new empty document.

#include <string>
#include <string_view>
#include <vector>

#include "base/file_system.h"
#include "ports/settings_store.h"

namespace orv {

enum class EStartSource {
  CommandLine,  // failing to open it stops start-up
  Recent,
  About,
  New,  // sPath is empty
};

struct SStartDocument {
  EStartSource eSource;
  std::string sPath;
  bool operator==(const SStartDocument&) const = default;
};

// The documents to try, in order, until one opens. A command-line path is the
// only choice when given. Otherwise the list ends with a new document, so a
// recent file that exists but no longer opens falls through to the guide.
std::vector<SStartDocument> StartDocumentChoices(std::string_view sCommandLinePath,
                                                 CSettingsStore& settings,
                                                 const std::string& sAboutDocument,
                                                 CFileSystem& fs = CFileSystem::Default());

}  // namespace orv
