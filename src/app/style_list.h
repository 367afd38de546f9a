#pragma once
// The rich-text editor's named styles as the settings keep them: the list in
// the section "Styles" ("count", "cursel", "style0", "style1", …) and each
// style's two records in a section named after the style ("CharFormat",
// "ParaFormat"; editors/style_record.h says what they hold).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "ports/settings_store.h"

namespace orv {

// A name that cannot be a style's; the message says why.
class CStyleNameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct SStyleRecords {
  std::vector<uint8_t> charFormat;
  std::vector<uint8_t> paraFormat;
};

class CStyleList {
 public:
  // Reads the list from the settings.
  explicit CStyleList(CSettingsStore& settings);
  // Reads the list again: another window may have changed it.
  void Reload();

  const std::vector<std::string>& Names() const { return m_names; }
  // The style selected in the style box; -1 when there is none.
  int CurSel() const { return m_nCurSel; }
  void SetCurSel(int nIndex);

  // Stores the records under a new name at the end of the list and selects
  // it. A name the settings could not keep apart from another section, or
  // one already in the list, is refused with CStyleNameError and nothing changes.
  void Add(const std::string& sName, const SStyleRecords& records);
  // Replaces the records of the style at nIndex.
  void Redefine(int nIndex, const SStyleRecords& records);
  // The records of the style at nIndex; null when either is missing.
  std::optional<SStyleRecords> Records(int nIndex) const;
  // Removes the style's section and the name, then rewrites the list.
  void Delete(int nIndex);

 private:
  void CheckNewName(const std::string& sName) const;
  void WriteRecords(const std::string& sName, const SStyleRecords& records);
  void RewriteList();

  CSettingsStore& m_settings;
  std::vector<std::string> m_names;
  int m_nCurSel = -1;
};

}  // namespace orv
