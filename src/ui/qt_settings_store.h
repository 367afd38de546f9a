#pragma once
// The desktop app's settings: an INI file kept by QSettings, at
// ~/.config/Orvella/Orvella.conf or $ORVELLA_HOME/Orvella.conf. Sections are
// groups; names with spaces ("Main Frame State") are escaped by QSettings and
// read back as written.

#include <QSettings>
#include <QString>

#include "ports/settings_store.h"

namespace orv {

class CQtSettingsStore : public CSettingsStore {
 public:
  // The user's settings file (CAppPaths::SettingsFile).
  CQtSettingsStore();
  explicit CQtSettingsStore(const QString& sFile);

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

  // Writes pending changes now (QSettings also does so later and on
  // destruction); false when the file could not be written.
  bool Sync();
  QString FileName() const { return m_settings.fileName(); }

 private:
  QSettings m_settings;
};

}  // namespace orv
