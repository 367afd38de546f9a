#include "ui/app_paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "app/user_files.h"
#include "attachments/attachment_store.h"

namespace orv {

namespace {

const char kAppFolder[] = "Orvella";

QString FindResourceDir() {
  // bin/orvella -> share/orvella when installed under a prefix.
  QString sInstalled =
      QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/orvella");
  if (QFileInfo(sInstalled).isDir()) return sInstalled;
  return QStringLiteral(ORVELLA_BUILD_RESOURCES);
}

QString Under(QStandardPaths::StandardLocation eLocation, const QString& sRest) {
  return QStandardPaths::writableLocation(eLocation) + "/" + kAppFolder + sRest;
}

}  // namespace

CAppPaths::CAppPaths() : m_sResourceDir(FindResourceDir()) {
  const QString sHome = qEnvironmentVariable("ORVELLA_HOME");
  if (!sHome.isEmpty()) {
    const QString sRoot = QDir::cleanPath(QDir(sHome).absolutePath());
    m_sDataDir = sRoot;
    m_sTempDir = sRoot + "/Temp";
    m_sAttDir = sRoot + "/Att";
    m_sMailDir = sRoot + "/" + kMailFolderName;
    m_sSettingsFile = sRoot + "/Orvella.conf";
  } else {
    m_sDataDir = Under(QStandardPaths::GenericDataLocation, {});
    m_sTempDir = Under(QStandardPaths::GenericCacheLocation, "/Temp");
    m_sAttDir = Under(QStandardPaths::GenericCacheLocation, "/Att");
    m_sMailDir = Under(QStandardPaths::GenericCacheLocation, QString("/") + kMailFolderName);
    // The file QSettings(UserScope, "Orvella", "Orvella") uses on Linux.
    m_sSettingsFile = Under(QStandardPaths::GenericConfigLocation, "/Orvella.conf");
  }
}

QString CAppPaths::AboutDocument() const { return m_sResourceDir + "/About Orvella.orv"; }
QString CAppPaths::TipsFile() const { return m_sResourceDir + "/tips.txt"; }
QString CAppPaths::LogsDir() const { return m_sDataDir + "/Logs"; }
QString CAppPaths::LogFile() const { return LogsDir() + "/log.txt"; }
QString CAppPaths::AttachmentsFile() const { return m_sDataDir + "/" + kAttachmentsFileName; }
QString CAppPaths::ShortcutsFile() const { return m_sDataDir + "/" + kShortcutsFileName; }
QString CAppPaths::ExternalToolsFile() const { return m_sDataDir + "/" + kExternalToolsFileName; }

bool CAppPaths::CreateFolders() const {
  bool bAll = true;
  for (const QString& sDir : {m_sDataDir, LogsDir(), AttDir(), m_sTempDir})
    bAll = QDir().mkpath(sDir) && bAll;
  return bAll;
}

void CAppPaths::EmptyTemp() const {
  QDir temp(m_sTempDir);
  if (m_sTempDir.isEmpty() || !temp.exists()) return;
  const auto entries =
      temp.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  for (const QFileInfo& entry : entries) {
    // A link is removed itself; what it points to is not ours.
    if (entry.isDir() && !entry.isSymLink())
      QDir(entry.filePath()).removeRecursively();
    else
      QFile::remove(entry.filePath());
  }
}

}  // namespace orv
