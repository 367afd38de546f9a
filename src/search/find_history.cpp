#include "search/find_history.h"

#include <algorithm>

namespace orv {
namespace {
constexpr std::string_view kCountName = "CountHistories";
}  // namespace

void CFindHistory::Load(CSettingsStore& settings, std::string_view sSection) {
  m_entries.clear();
  const int32_t nCount = std::max(settings.GetInt(sSection, kCountName, 0), 0);
  const int32_t nFirst = std::max(nCount - static_cast<int32_t>(kMaxEntries), 0);
  for (int32_t i = nFirst; i < nCount; ++i)
    m_entries.push_back(settings.GetString(sSection, std::to_string(i), ""));
}

void CFindHistory::Save(CSettingsStore& settings, std::string_view sSection) const {
  settings.DeleteSection(sSection);
  for (size_t i = 0; i < m_entries.size(); ++i)
    settings.SetString(sSection, std::to_string(i), m_entries[i]);
  settings.SetInt(sSection, kCountName, static_cast<int32_t>(m_entries.size()));
}

void CFindHistory::Add(std::string_view sText, EHistoryRepeat eRepeat) {
  const auto it = std::find(m_entries.begin(), m_entries.end(), sText);
  if (it != m_entries.end()) {
    if (eRepeat == EHistoryRepeat::KeepPlace) return;
    m_entries.erase(it);
  }
  m_entries.emplace_back(sText);
  if (m_entries.size() > kMaxEntries) m_entries.erase(m_entries.begin());
}

std::vector<std::string> CFindHistory::DropDownItems() const {
  if (m_entries.size() < 2) return {};
  return {m_entries.rbegin() + 1, m_entries.rend()};
}

}  // namespace orv
