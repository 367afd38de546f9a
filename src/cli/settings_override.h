#pragma once
// The settings of one run: a settings store with some integers replaced for
// this run only, so that an option such as `save --backups N` never reaches
// the user's settings file.

#include <map>
#include <string>
#include <utility>

#include "ports/settings_defaults.h"
#include "ports/settings_store.h"

namespace orv::cli {

class CSettingsOverride : public CSettingsStore {
 public:
  explicit CSettingsOverride(CSettingsStore& base) : m_base(base) {}

  void Override(const SIntSetting& setting, int32_t nValue);

  int32_t GetInt(std::string_view sSection, std::string_view sName, int32_t nDefault) override;
  // A value set during the run replaces the override and reaches the store.
  void SetInt(std::string_view sSection, std::string_view sName, int32_t nValue) override;
  std::string GetString(std::string_view sSection, std::string_view sName,
                        std::string_view sDefault) override {
    return m_base.GetString(sSection, sName, sDefault);
  }
  void SetString(std::string_view sSection, std::string_view sName,
                 std::string_view sValue) override {
    m_base.SetString(sSection, sName, sValue);
  }
  std::optional<std::vector<uint8_t>> GetBinary(std::string_view sSection,
                                                std::string_view sName) override {
    return m_base.GetBinary(sSection, sName);
  }
  void SetBinary(std::string_view sSection, std::string_view sName,
                 const std::vector<uint8_t>& value) override {
    m_base.SetBinary(sSection, sName, value);
  }
  void DeleteSection(std::string_view sSection) override;

 private:
  using TKey = std::pair<std::string, std::string>;

  CSettingsStore& m_base;
  std::map<TKey, int32_t> m_overrides;
};

}  // namespace orv::cli
