#include "app/recent_files.h"

#include <algorithm>

#include "ports/settings_defaults.h"

namespace orv {

static_assert(CRecentFiles::kMaxCount == kRecentFiles.size());

CRecentFiles::CRecentFiles(CSettingsStore& store) : m_store(store) {
  for (const SStringSetting& entry : kRecentFiles) {
    std::string sPath = ReadSetting(m_store, entry);
    if (!sPath.empty() && std::find(m_paths.begin(), m_paths.end(), sPath) == m_paths.end())
      m_paths.push_back(std::move(sPath));
  }
}

void CRecentFiles::Add(std::string_view sPath) {
  if (sPath.empty()) return;
  std::erase(m_paths, sPath);
  m_paths.insert(m_paths.begin(), std::string(sPath));
  if (m_paths.size() > kMaxCount) m_paths.resize(kMaxCount);
  Save();
}

void CRecentFiles::Remove(std::string_view sPath) {
  if (std::erase(m_paths, sPath) > 0) Save();
}

void CRecentFiles::Save() {
  // Unused entries are emptied rather than deleted: settings values are never
  // deleted, only the find histories are.
  for (size_t i = 0; i < kRecentFiles.size(); ++i)
    WriteSetting(m_store, kRecentFiles[i], i < m_paths.size() ? m_paths[i] : std::string());
}

}  // namespace orv
