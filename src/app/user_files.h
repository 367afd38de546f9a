#pragma once
// The user's own files: their names, and for the command line the folder
// they are in, $XDG_DATA_HOME/Orvella (~/.local/share/Orvella) or the folder
// ORVELLA_HOME names — the folder the desktop app finds through Qt.

#include <string>

namespace orv {

inline constexpr char kShortcutsFileName[] = "Users_Shortcuts.shortcuts";
inline constexpr char kExternalToolsFileName[] = "ExternalTools.ini";
// In the cache folder beside "Temp": archives handed to a mail client, which
// must outlive the program's exit.
inline constexpr char kMailFolderName[] = "Mail";

std::string UserDataDir();
std::string ShortcutsFilePath();
std::string ExternalToolsFilePath();
// "Attachments.stg", where the bytes of every note's attachments are kept.
std::string AttachmentsFilePath();

}  // namespace orv
