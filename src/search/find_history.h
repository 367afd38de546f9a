#pragma once
// The texts the find dialogs offer again: at most ten, oldest first, kept in
// each dialog's own settings section as "CountHistories" and the entries
// named "0", "1", … .

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "ports/settings_store.h"

namespace orv {

inline constexpr std::string_view kFindNodeHistorySection = "FindHistory";
inline constexpr std::string_view kAdvancedFindHistorySection = "AdvancedFindHistory";

// What a search for a text already in the history does to it.
enum class EHistoryRepeat {
  KeepPlace,     // the advanced dialog: the history stays as it is
  MoveToNewest,  // the folder dialog: the text becomes the newest, held once
};

class CFindHistory {
 public:
  static constexpr size_t kMaxEntries = 10;

  // Replaces the entries by the section's; a count out of range reads only
  // the newest ten that can be there.
  void Load(CSettingsStore& settings, std::string_view sSection);
  // The section is written anew: nothing of an older, longer history stays.
  void Save(CSettingsStore& settings, std::string_view sSection) const;

  // A search for sText: appended unless the rule keeps an entry already
  // there; the oldest goes when there are more than ten.
  void Add(std::string_view sText, EHistoryRepeat eRepeat);

  const std::vector<std::string>& Entries() const { return m_entries; }
  // The drop-down's items: from the second-newest back to the oldest (the
  // newest stands in the edit).
  std::vector<std::string> DropDownItems() const;
  // The text the edit shows after a search; empty for an empty history.
  std::string Newest() const { return m_entries.empty() ? std::string() : m_entries.back(); }

 private:
  std::vector<std::string> m_entries;
};

}  // namespace orv
