#include "ui/qt_settings_store.h"

#include "ui/app_paths.h"

namespace orv {

namespace {

QString Key(std::string_view sSection, std::string_view sName) {
  return QString::fromUtf8(sSection.data(), qsizetype(sSection.size())) + '/' +
         QString::fromUtf8(sName.data(), qsizetype(sName.size()));
}

bool IsBinary(const QVariant& value) { return value.typeId() == QMetaType::QByteArray; }

}  // namespace

CQtSettingsStore::CQtSettingsStore() : CQtSettingsStore(CAppPaths().SettingsFile()) {}

CQtSettingsStore::CQtSettingsStore(const QString& sFile)
    : m_settings(sFile, QSettings::IniFormat) {}

int32_t CQtSettingsStore::GetInt(std::string_view sSection, std::string_view sName,
                                 int32_t nDefault) {
  // The INI file keeps numbers as text: any text that is a 32-bit number is one.
  const QVariant value = m_settings.value(Key(sSection, sName));
  if (!value.isValid() || IsBinary(value)) return nDefault;
  // QVariant's own conversion wraps numbers beyond 32 bits.
  bool bOk = false;
  const int nValue = value.toString().toInt(&bOk);
  return bOk ? nValue : nDefault;
}

void CQtSettingsStore::SetInt(std::string_view sSection, std::string_view sName, int32_t nValue) {
  m_settings.setValue(Key(sSection, sName), nValue);
}

std::string CQtSettingsStore::GetString(std::string_view sSection, std::string_view sName,
                                        std::string_view sDefault) {
  const QVariant value = m_settings.value(Key(sSection, sName));
  if (!value.isValid() || IsBinary(value) || !value.canConvert<QString>())
    return std::string(sDefault);
  return value.toString().toStdString();
}

void CQtSettingsStore::SetString(std::string_view sSection, std::string_view sName,
                                 std::string_view sValue) {
  m_settings.setValue(Key(sSection, sName),
                      QString::fromUtf8(sValue.data(), qsizetype(sValue.size())));
}

std::optional<std::vector<uint8_t>> CQtSettingsStore::GetBinary(std::string_view sSection,
                                                                std::string_view sName) {
  const QVariant value = m_settings.value(Key(sSection, sName));
  if (!IsBinary(value)) return std::nullopt;
  const QByteArray bytes = value.toByteArray();
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

void CQtSettingsStore::SetBinary(std::string_view sSection, std::string_view sName,
                                 const std::vector<uint8_t>& value) {
  m_settings.setValue(Key(sSection, sName), QByteArray(reinterpret_cast<const char*>(value.data()),
                                                       qsizetype(value.size())));
}

void CQtSettingsStore::DeleteSection(std::string_view sSection) {
  // QSettings takes an empty group for "everything".
  if (sSection.empty()) return;
  m_settings.remove(QString::fromUtf8(sSection.data(), qsizetype(sSection.size())));
}

bool CQtSettingsStore::Sync() {
  m_settings.sync();
  return m_settings.status() == QSettings::NoError;
}

}  // namespace orv
