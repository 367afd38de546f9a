#include "ports/memory_settings.h"

namespace orv {

const CMemorySettingsStore::TValue* CMemorySettingsStore::Find(std::string_view sSection,
                                                               std::string_view sName) const {
  auto itSection = m_sections.find(sSection);
  if (itSection == m_sections.end()) return nullptr;
  auto itValue = itSection->second.find(sName);
  return itValue == itSection->second.end() ? nullptr : &itValue->second;
}

void CMemorySettingsStore::Set(std::string_view sSection, std::string_view sName, TValue value) {
  auto itSection = m_sections.find(sSection);
  if (itSection == m_sections.end())
    itSection = m_sections.emplace(std::string(sSection), TSection{}).first;
  TSection& section = itSection->second;
  auto itValue = section.find(sName);
  if (itValue == section.end()) {
    section.emplace(std::string(sName), std::move(value));
  } else if (itValue->second != value) {
    itValue->second = std::move(value);
  } else {
    return;
  }
  OnChanged();
}

int32_t CMemorySettingsStore::GetInt(std::string_view sSection, std::string_view sName,
                                     int32_t nDefault) {
  const TValue* pValue = Find(sSection, sName);
  const auto* pInt = pValue ? std::get_if<int32_t>(pValue) : nullptr;
  return pInt ? *pInt : nDefault;
}

void CMemorySettingsStore::SetInt(std::string_view sSection, std::string_view sName,
                                  int32_t nValue) {
  Set(sSection, sName, nValue);
}

std::string CMemorySettingsStore::GetString(std::string_view sSection, std::string_view sName,
                                            std::string_view sDefault) {
  const TValue* pValue = Find(sSection, sName);
  const auto* pString = pValue ? std::get_if<std::string>(pValue) : nullptr;
  return pString ? *pString : std::string(sDefault);
}

void CMemorySettingsStore::SetString(std::string_view sSection, std::string_view sName,
                                     std::string_view sValue) {
  Set(sSection, sName, std::string(sValue));
}

std::optional<std::vector<uint8_t>> CMemorySettingsStore::GetBinary(std::string_view sSection,
                                                                    std::string_view sName) {
  const TValue* pValue = Find(sSection, sName);
  const auto* pBytes = pValue ? std::get_if<std::vector<uint8_t>>(pValue) : nullptr;
  if (!pBytes) return std::nullopt;
  return *pBytes;
}

void CMemorySettingsStore::SetBinary(std::string_view sSection, std::string_view sName,
                                     const std::vector<uint8_t>& value) {
  Set(sSection, sName, value);
}

void CMemorySettingsStore::DeleteSection(std::string_view sSection) {
  auto itSection = m_sections.find(sSection);
  if (itSection == m_sections.end()) return;
  m_sections.erase(itSection);
  OnChanged();
}

}  // namespace orv
