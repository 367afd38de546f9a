#include "app/style_list.h"

#include <algorithm>
#include <string_view>

#include "ports/settings_defaults.h"

namespace orv {

namespace {

constexpr std::string_view kStylesSection = kStyleCount.sSection;
constexpr std::string_view kCharFormatKey = "CharFormat";
constexpr std::string_view kParaFormatKey = "ParaFormat";
// More than anyone keeps, and few enough that a damaged count costs nothing.
constexpr int32_t kMaxStyles = 1000;

std::string StyleKey(size_t nIndex) { return "style" + std::to_string(nIndex); }

bool SameName(std::string_view a, std::string_view b) {
  // The Windows registry does not tell case apart, so neither do we.
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    return lower(x) == lower(y);
  });
}

}  // namespace

CStyleList::CStyleList(CSettingsStore& settings) : m_settings(settings) { Reload(); }

void CStyleList::Reload() {
  // The style chosen here stays chosen while it exists.
  const std::string sChosen = m_nCurSel >= 0 ? m_names[m_nCurSel] : "";
  m_names.clear();
  const int32_t nCount = std::clamp(ReadSetting(m_settings, kStyleCount), 0, kMaxStyles);
  for (int32_t i = 0; i < nCount; ++i) {
    std::string sName = m_settings.GetString(kStylesSection, StyleKey(i), "");
    if (!sName.empty()) m_names.push_back(std::move(sName));
  }
  const auto chosen = std::find(m_names.begin(), m_names.end(), sChosen);
  SetCurSel(chosen != m_names.end() ? static_cast<int>(chosen - m_names.begin())
                                    : ReadSetting(m_settings, kStyleCurSel));
}

void CStyleList::SetCurSel(int nIndex) {
  if (m_names.empty())
    m_nCurSel = -1;
  else
    m_nCurSel = nIndex >= 0 && nIndex < int(m_names.size()) ? nIndex : 0;
}

void CStyleList::CheckNewName(const std::string& sName) const {
  if (sName.find_first_not_of(" \t") == std::string::npos)
    throw CStyleNameError("A style needs a name.");
  // A style's records live in a section of its name: a separator would put
  // them inside another section, and a section of the program's own would be
  // lost with the style.
  if (sName.find_first_of("/\\") != std::string::npos)
    throw CStyleNameError("A style name cannot hold \"/\" or \"\\\".");
  for (const SSettingInfo& setting : AllSettings())
    if (SameName(sName, setting.sSection))
      throw CStyleNameError("The name \"" + sName +
                            "\" belongs to the program's own settings; choose another.");
  for (const std::string& sOld : m_names)
    if (SameName(sName, sOld))
      throw CStyleNameError("There is a style named \"" + sOld +
                            "\" already; Redefine Style changes it.");
}

void CStyleList::Add(const std::string& sName, const SStyleRecords& records) {
  CheckNewName(sName);
  WriteRecords(sName, records);
  m_settings.SetString(kStylesSection, StyleKey(m_names.size()), sName);
  m_names.push_back(sName);
  WriteSetting(m_settings, kStyleCount, int32_t(m_names.size()));
  m_nCurSel = int(m_names.size()) - 1;
  WriteSetting(m_settings, kStyleCurSel, m_nCurSel);
}

void CStyleList::Redefine(int nIndex, const SStyleRecords& records) {
  if (nIndex < 0 || nIndex >= int(m_names.size())) return;
  WriteRecords(m_names[size_t(nIndex)], records);
}

std::optional<SStyleRecords> CStyleList::Records(int nIndex) const {
  if (nIndex < 0 || nIndex >= int(m_names.size())) return std::nullopt;
  const std::string& sName = m_names[size_t(nIndex)];
  auto charFormat = m_settings.GetBinary(sName, kCharFormatKey);
  auto paraFormat = m_settings.GetBinary(sName, kParaFormatKey);
  if (!charFormat || !paraFormat) return std::nullopt;
  return SStyleRecords{std::move(*charFormat), std::move(*paraFormat)};
}

void CStyleList::Delete(int nIndex) {
  if (nIndex < 0 || nIndex >= int(m_names.size())) return;
  const std::string sName = m_names[size_t(nIndex)];
  m_names.erase(m_names.begin() + nIndex);
  // The Windows edition's list may name a style twice; its records go with the last.
  if (std::find(m_names.begin(), m_names.end(), sName) == m_names.end())
    m_settings.DeleteSection(sName);
  SetCurSel(std::min(nIndex, int(m_names.size()) - 1));
  RewriteList();
}

void CStyleList::WriteRecords(const std::string& sName, const SStyleRecords& records) {
  m_settings.SetBinary(sName, kCharFormatKey, records.charFormat);
  m_settings.SetBinary(sName, kParaFormatKey, records.paraFormat);
}

void CStyleList::RewriteList() {
  m_settings.DeleteSection(kStylesSection);
  WriteSetting(m_settings, kStyleCount, int32_t(m_names.size()));
  WriteSetting(m_settings, kStyleCurSel, std::max(m_nCurSel, 0));
  for (size_t i = 0; i < m_names.size(); ++i)
    m_settings.SetString(kStylesSection, StyleKey(i), m_names[i]);
}

}  // namespace orv
