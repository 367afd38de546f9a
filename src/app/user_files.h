#pragma once
// Where the user's own files live, for the desktop app and the command line
// alike: $XDG_DATA_HOME/Orvella (~/.local/share/Orvella), or the folder
// ORVELLA_HOME names (tests, portable use).

#include <string>

namespace orv {

std::string UserDataDir();
std::string ShortcutsFilePath();
std::string ExternalToolsFilePath();

}  // namespace orv
