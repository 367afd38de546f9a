#include "app/user_files.h"

#include <cstdlib>
#include <filesystem>

#include "attachments/attachment_store.h"

namespace orv {

namespace {

std::string Environment(const char* pName) {
  const char* pValue = std::getenv(pName);
  return pValue ? pValue : "";
}

}  // namespace

std::string UserDataDir() {
  const std::string sHome = Environment("ORVELLA_HOME");
  if (!sHome.empty()) {
    std::string sDir = std::filesystem::absolute(sHome).lexically_normal().string();
    while (sDir.size() > 1 && sDir.back() == '/') sDir.pop_back();
    return sDir;
  }
  std::string sData = Environment("XDG_DATA_HOME");
  // The XDG rule: a relative value is ignored.
  if (sData.empty() || sData[0] != '/') sData = Environment("HOME") + "/.local/share";
  return sData + "/Orvella";
}

std::string ShortcutsFilePath() { return UserDataDir() + "/" + kShortcutsFileName; }
std::string ExternalToolsFilePath() { return UserDataDir() + "/" + kExternalToolsFileName; }
std::string AttachmentsFilePath() { return UserDataDir() + "/" + kAttachmentsFileName; }

}  // namespace orv
