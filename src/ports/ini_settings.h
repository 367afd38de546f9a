#pragma once
// Settings kept in an INI file (the command line's --settings FILE); the text
// form is described in ini_format.h. The file is read once when the store is
// made and written back by Flush, which replaces it in one rename so that a
// crash or a full disk never leaves half a settings file.

#include <string>

#include "base/file_system.h"
#include "ports/ini_format.h"
#include "ports/memory_settings.h"

namespace orv {

class CIniSettingsStore : public CMemorySettingsStore {
 public:
  // A missing file is an empty store. Throws CSettingsError for a file that
  // is not settings and CIoError for one that cannot be read.
  explicit CIniSettingsStore(std::string sPath, CFileSystem& fs = CFileSystem::Default());
  // Flushes what has not been written; a failure here can only be traced,
  // so callers that care call Flush themselves.
  ~CIniSettingsStore() override;
  CIniSettingsStore(const CIniSettingsStore&) = delete;
  CIniSettingsStore& operator=(const CIniSettingsStore&) = delete;

  // Writes the file if anything changed since it was read or last written.
  // On failure the old file stays as it was and the changes stay pending.
  void Flush();

 protected:
  void OnChanged() override { m_bDirty = true; }

 private:
  std::string m_sPath;
  CFileSystem& m_fs;
  bool m_bDirty = false;
};

}  // namespace orv
