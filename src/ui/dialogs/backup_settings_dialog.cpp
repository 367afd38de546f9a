#include "ui/dialogs/backup_settings_dialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "shell/server_backup.h"
#include "shell/web_address.h"
#include "ui/backup_password.h"

namespace orv {

namespace {

const char* const kNoKeyring =
    "No keyring answers on this desktop: the password is not kept, and each backup asks for it.";

}  // namespace

CBackupSettingsDialog::CBackupSettingsDialog(CSettingsStore& settings, QWidget* pParent)
    : QDialog(pParent),
      m_settings(settings),
      m_pAddress(new QLineEdit(this)),
      m_pLogin(new QLineEdit(this)),
      m_pPassword(new QLineEdit(this)),
      m_pKeyringNote(new QLabel(tr(kNoKeyring), this)) {
  setWindowTitle(tr("Backup Settings"));
  const SBackupAccount account = ReadBackupAccount(settings);
  m_pAddress->setText(QString::fromStdString(account.sAddress));
  m_pAddress->setPlaceholderText("https://cloud.example/remote.php/dav/files/me/Notes");
  m_pLogin->setText(QString::fromStdString(account.sLogin));
  m_pPassword->setEchoMode(QLineEdit::Password);
  const std::optional<std::string> password = LoadBackupPassword(account);
  m_pPassword->setText(QString::fromStdString(password.value_or("")));
  m_pKeyringNote->setWordWrap(true);
  m_pKeyringNote->setVisible(false);

  auto* pButtons = new QDialogButtonBox(this);
  connect(pButtons->addButton(tr("Save settings"), QDialogButtonBox::AcceptRole),
          &QPushButton::clicked, this, &CBackupSettingsDialog::Save);
  connect(pButtons->addButton(QDialogButtonBox::Close), &QPushButton::clicked, this,
          &QDialog::reject);
  // The site's registration page, where the program knows its site.
  if (const std::string sSite = WebAddress(settings); !sSite.empty()) {
    const QUrl page(QString::fromStdString(WebPageUrl(sSite, EWebPage::Register)));
    connect(pButtons->addButton(tr("Get backup account"), QDialogButtonBox::HelpRole),
            &QPushButton::clicked, this, [page] { QDesktopServices::openUrl(page); });
  }
  auto* pLayout = new QFormLayout(this);
  pLayout->addRow(tr("WebDAV folder:"), m_pAddress);
  pLayout->addRow(tr("Login:"), m_pLogin);
  pLayout->addRow(tr("Password:"), m_pPassword);
  pLayout->addRow(m_pKeyringNote);
  pLayout->addRow(pButtons);
  resize(520, sizeHint().height());
}

void CBackupSettingsDialog::Save() {
  const SBackupAccount account{m_pAddress->text().trimmed().toStdString(),
                               m_pLogin->text().trimmed().toStdString(),
                               m_pPassword->text().toStdString()};
  if (!account.sAddress.empty() && !IsAllowedHttpUrl(account.sAddress)) {
    QMessageBox::warning(this, tr("Warning"),
                         tr("The folder's address must begin with https://, so that the "
                            "password and the notes travel enciphered."));
    return;
  }
  WriteBackupAccount(m_settings, account);
  if (!StoreBackupPassword(account) && !account.sPassword.empty()) {
    m_pKeyringNote->setVisible(true);
    // Taller for the note, as wide as before: adjustSize() would fold the
    // wrapped note, and the address with it, into a narrow column.
    const int nHeight = heightForWidth(width());
    resize(width(), nHeight > 0 ? nHeight : sizeHint().height());
    return;
  }
  accept();
}

}  // namespace orv
