#pragma once
// The most recently used documents, newest first, as the File menu lists them
// and start-up reopens the first. Kept in the settings store as "File1" to
// "File4" of "Recent File List"; every change is written through at once.

#include <string>
#include <string_view>
#include <vector>

#include "ports/settings_store.h"

namespace orv {

class CRecentFiles {
 public:
  static constexpr size_t kMaxCount = 4;

  // Reads the list; empty and repeated entries are dropped.
  explicit CRecentFiles(CSettingsStore& store);

  // Puts sPath first, removing an earlier mention; the oldest entry beyond
  // kMaxCount falls off. An empty path is ignored.
  void Add(std::string_view sPath);
  void Remove(std::string_view sPath);
  const std::vector<std::string>& List() const { return m_paths; }

 private:
  void Save();

  CSettingsStore& m_store;
  std::vector<std::string> m_paths;
};

}  // namespace orv
