#pragma once
// The per-user settings: sections of named integers, strings and binary
// values, each read with its default. The desktop app keeps them with
// QSettings, the command line in an INI file, tests in memory; the names are
// the same everywhere. settings_defaults.h holds every name and its default.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

class CSettingsStore {
 public:
  virtual ~CSettingsStore() = default;
  virtual int32_t GetInt(std::string_view sSection, std::string_view sName, int32_t nDefault) = 0;
  virtual void SetInt(std::string_view sSection, std::string_view sName, int32_t nValue) = 0;
  virtual std::string GetString(std::string_view sSection, std::string_view sName,
                                std::string_view sDefault) = 0;
  virtual void SetString(std::string_view sSection, std::string_view sName,
                         std::string_view sValue) = 0;
  virtual std::optional<std::vector<uint8_t>> GetBinary(std::string_view sSection,
                                                        std::string_view sName) = 0;
  virtual void SetBinary(std::string_view sSection, std::string_view sName,
                         const std::vector<uint8_t>& value) = 0;
  virtual void DeleteSection(std::string_view sSection) = 0;
};

}  // namespace orv
