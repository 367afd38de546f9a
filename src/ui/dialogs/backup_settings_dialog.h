#pragma once
// The server backup's account: the WebDAV folder the document goes to, the
// login and the password. "Save settings" keeps them (the password in the
// keyring), "Get backup account" opens the site's registration page.

#include <QDialog>

#include "ports/settings_store.h"

class QLabel;
class QLineEdit;

namespace orv {

class CBackupSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  CBackupSettingsDialog(CSettingsStore& settings, QWidget* pParent = nullptr);

 private:
  void Save();

  CSettingsStore& m_settings;
  QLineEdit* m_pAddress;
  QLineEdit* m_pLogin;
  QLineEdit* m_pPassword;
  QLabel* m_pKeyringNote;
};

}  // namespace orv
