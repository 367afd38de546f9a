#pragma once
// The tip of the day: tips, one a line, in "tips.txt" beside the program.
// Where the next tip starts is kept in "FilePos" of the "Tip" section, so
// each start goes on where the last stopped; "TimeStamp" notices a changed
// file, which then starts from its top. Blank lines and lines that start
// with ';' are not tips.

#include <cstdint>
#include <string>

#include "base/file_system.h"
#include "ports/settings_store.h"

namespace orv {

inline constexpr const char* kTipHeading = "Did you know...";
inline constexpr const char* kTipsFileMissing =
    "Tips file does not exist in the prescribed directory";
inline constexpr const char* kTipsFileTrouble = "Trouble reading the tips file";

enum class ETipsState {
  Ready,
  Missing,  // no tips file
  Trouble,  // it could not be read, or holds no tip
};

class CTipsFile {
 public:
  // Reads the file and the tip the last close left next.
  CTipsFile(CSettingsStore& settings, const std::string& sPath,
            CFileSystem& fs = CFileSystem::Default());

  ETipsState State() const { return m_eState; }
  // The tip shown now; empty unless Ready.
  const std::string& Tip() const { return m_sTip; }
  // Moves on to the next tip, from the top again after the last.
  void Next();
  // Remembers where the next showing goes on and whether tips show at start-up.
  void Close(bool bShowAtStartUp);

 private:
  CSettingsStore& m_settings;
  ETipsState m_eState = ETipsState::Ready;
  std::string m_sText;
  std::string m_sStamp;
  size_t m_nNext = 0;  // where the tip after the one shown starts looking
  std::string m_sTip;
};

}  // namespace orv
