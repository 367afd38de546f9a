#include "cli/settings_override.h"

namespace orv::cli {

void CSettingsOverride::Override(const SIntSetting& setting, int32_t nValue) {
  m_overrides[{std::string(setting.sSection), std::string(setting.sName)}] = nValue;
}

int32_t CSettingsOverride::GetInt(std::string_view sSection, std::string_view sName,
                                  int32_t nDefault) {
  auto it = m_overrides.find({std::string(sSection), std::string(sName)});
  return it != m_overrides.end() ? it->second : m_base.GetInt(sSection, sName, nDefault);
}

void CSettingsOverride::SetInt(std::string_view sSection, std::string_view sName, int32_t nValue) {
  m_overrides.erase({std::string(sSection), std::string(sName)});
  m_base.SetInt(sSection, sName, nValue);
}

void CSettingsOverride::DeleteSection(std::string_view sSection) {
  std::erase_if(m_overrides, [&](const auto& entry) { return entry.first.first == sSection; });
  m_base.DeleteSection(sSection);
}

}  // namespace orv::cli
