#pragma once
// Settings kept in memory: the store of tests and of a command line run
// without a settings file, and the model the INI file store loads and saves.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <variant>
#include <vector>

#include "ports/settings_store.h"

namespace orv {

class CMemorySettingsStore : public CSettingsStore {
 public:
  using TValue = std::variant<int32_t, std::string, std::vector<uint8_t>>;
  using TSection = std::map<std::string, TValue, std::less<>>;
  using TSections = std::map<std::string, TSection, std::less<>>;

  CMemorySettingsStore() = default;
  explicit CMemorySettingsStore(TSections sections) : m_sections(std::move(sections)) {}

  // A value of another kind than the one asked for reads as missing.
  int32_t GetInt(std::string_view sSection, std::string_view sName, int32_t nDefault) override;
  void SetInt(std::string_view sSection, std::string_view sName, int32_t nValue) override;
  std::string GetString(std::string_view sSection, std::string_view sName,
                        std::string_view sDefault) override;
  void SetString(std::string_view sSection, std::string_view sName,
                 std::string_view sValue) override;
  std::optional<std::vector<uint8_t>> GetBinary(std::string_view sSection,
                                                std::string_view sName) override;
  void SetBinary(std::string_view sSection, std::string_view sName,
                 const std::vector<uint8_t>& value) override;
  void DeleteSection(std::string_view sSection) override;

  const TSections& Sections() const { return m_sections; }

 protected:
  // Called after every call that really changed a value.
  virtual void OnChanged() {}

 private:
  const TValue* Find(std::string_view sSection, std::string_view sName) const;
  void Set(std::string_view sSection, std::string_view sName, TValue value);

  TSections m_sections;
};

}  // namespace orv
