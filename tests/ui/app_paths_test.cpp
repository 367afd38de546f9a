#include "ui/app_paths.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <filesystem>

#include "support/test_support.h"
#include "ui/qt_settings_store.h"

namespace orv {
namespace {

using test::CTempDir;
using test::WriteWholeFile;

// Sets ORVELLA_HOME (or unsets it, for a null value) for one test.
class CHomeVariable {
 public:
  explicit CHomeVariable(const QByteArray& value) {
    value.isNull() ? qunsetenv(kName) : qputenv(kName, value);
  }
  ~CHomeVariable() { m_old.isNull() ? qunsetenv(kName) : qputenv(kName, m_old); }

 private:
  static constexpr const char* kName = "ORVELLA_HOME";
  const QByteArray m_old = qEnvironmentVariableIsSet(kName) ? qgetenv(kName) : QByteArray();
};

TEST(AppPathsTest, StandardLocationsWithoutHome) {
  CHomeVariable home{QByteArray()};
  const CAppPaths paths;
  const QString sData = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
  const QString sCache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
  EXPECT_EQ(paths.DataDir(), sData + "/Orvella");
  EXPECT_EQ(paths.LogFile(), sData + "/Orvella/Logs/log.txt");
  EXPECT_EQ(paths.AttDir(), sCache + "/Orvella/Att");
  EXPECT_EQ(paths.TempDir(), sCache + "/Orvella/Temp");
  // Where QSettings keeps them on Linux, INI text under the ".conf" name.
  EXPECT_EQ(paths.SettingsFile().toStdString(),
            QSettings(QSettings::UserScope, "Orvella", "Orvella").fileName().toStdString());
  // Run from the build tree, the resources are the build's own.
  EXPECT_EQ(QFileInfo(paths.AboutDocument()).canonicalFilePath(),
            QFileInfo(ORVELLA_ABOUT).canonicalFilePath());
}

TEST(AppPathsTest, HomePutsEverythingWritableUnderOneFolder) {
  CTempDir dir;
  const QString sRoot = QString::fromStdString(dir.Path().string());
  CHomeVariable home(sRoot.toUtf8());
  const CAppPaths paths;
  EXPECT_EQ(paths.DataDir(), sRoot);
  EXPECT_EQ(paths.LogsDir(), sRoot + "/Logs");
  EXPECT_EQ(paths.TempDir(), sRoot + "/Temp");
  EXPECT_EQ(paths.SettingsFile(), sRoot + "/Orvella.conf");
  EXPECT_EQ(paths.ShortcutsFile(), sRoot + "/Users_Shortcuts.shortcuts");
  EXPECT_EQ(CQtSettingsStore().FileName(), sRoot + "/Orvella.conf");

  EXPECT_TRUE(paths.CreateFolders());
  EXPECT_TRUE(paths.CreateFolders());  // existing folders are fine
  for (const QString& sDir :
       {paths.LogsDir(), paths.AttDir(), paths.TempDir(), paths.RecoveryDir()})
    EXPECT_TRUE(QFileInfo(sDir).isDir()) << sDir.toStdString();
  // Copies of the user's documents: nobody else may look in.
  EXPECT_EQ(QFileInfo(paths.RecoveryDir()).permissions() &
                (QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther),
            QFile::Permissions());
}

TEST(AppPathsTest, EmptyTempKeepsTheFolderAndWhatLinksPointTo) {
  CTempDir dir;
  CHomeVariable home(QByteArray::fromStdString(dir.File("home")));
  const CAppPaths paths;
  ASSERT_TRUE(paths.CreateFolders());
  const std::filesystem::path temp = paths.TempDir().toStdString();
  std::filesystem::create_directories(temp / "mail" / "deep");
  WriteWholeFile((temp / "mail" / "deep" / "a.txt").string(), "x");
  WriteWholeFile((temp / ".hidden").string(), "x");
  std::filesystem::create_directories(dir.Path() / "outside");
  WriteWholeFile(dir.File("outside/keep.txt"), "x");
  std::filesystem::create_directory_symlink(dir.Path() / "outside", temp / "link");

  paths.EmptyTemp();
  EXPECT_TRUE(std::filesystem::is_directory(temp));
  EXPECT_TRUE(std::filesystem::is_empty(temp));
  EXPECT_TRUE(std::filesystem::exists(dir.File("outside/keep.txt")));
}

}  // namespace
}  // namespace orv
