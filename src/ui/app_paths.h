#pragma once
// Where the desktop app keeps its files. Read-only resources ("About
// Orvella.orv", "tips.txt") come with the install, or from the build tree when
// run uncopied; the user's own files live in $XDG_DATA_HOME/Orvella, scratch
// files in $XDG_CACHE_HOME/Orvella/Temp (mailed archives in .../Mail),
// copies of attachments to open in $XDG_CACHE_HOME/Orvella/Att, settings in
// ~/.config/Orvella.
// ORVELLA_HOME, when set, puts the user's files, the scratch folder and the
// settings under that one folder (tests, portable use).

#include <QString>

namespace orv {

class CAppPaths {
 public:
  // Reads the environment and the standard locations once.
  CAppPaths();

  QString ResourceDir() const { return m_sResourceDir; }
  QString AboutDocument() const;
  QString TipsFile() const;

  QString DataDir() const { return m_sDataDir; }
  QString LogsDir() const;
  QString LogFile() const;
  QString AttDir() const { return m_sAttDir; }
  QString AttachmentsFile() const;
  QString ShortcutsFile() const;
  QString ExternalToolsFile() const;
  QString TempDir() const { return m_sTempDir; }
  QString MailDir() const { return m_sMailDir; }
  QString SettingsFile() const { return m_sSettingsFile; }

  // Makes the writable folders; ones that exist already are fine. False when
  // one could not be made.
  bool CreateFolders() const;
  // Deletes what is inside the scratch folder, keeping the folder.
  void EmptyTemp() const;

 private:
  QString m_sResourceDir;
  QString m_sDataDir;
  QString m_sTempDir;
  QString m_sAttDir;
  QString m_sMailDir;
  QString m_sSettingsFile;
};

}  // namespace orv
