#include "ui/dialogs/file_properties_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>

#include "ports/memory_settings.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/qt_ui.h"

namespace orv {
namespace {

using test::Press;

// The passphrase prompts and messages answered through the real dialogs.
class FilePropertiesDlg : public testing::Test {
 protected:
  FilePropertiesDlg() { m_doc.OnNewDocument(); }

  // The next dialog is the secret prompt `sCaption`, answered with `answer` (nullopt: Cancel).
  void Prompt(const QString& sCaption, std::optional<QString> answer) {
    m_driver.OnNext<QInputDialog>([=](QInputDialog& dialog) {
      EXPECT_EQ(dialog.labelText(), sCaption);
      EXPECT_EQ(dialog.textEchoMode(), QLineEdit::Password);
      dialog.setTextValue(answer.value_or("never sent"));
      Press(dialog, answer ? QDialogButtonBox::Ok : QDialogButtonBox::Cancel);
    });
  }
  void Message(const QString& sText) {
    m_driver.OnNext<QMessageBox>([=](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), "Information");
      EXPECT_EQ(box.text(), sText);
      Press(box, QDialogButtonBox::Ok);
    });
  }

  CMemorySettingsStore m_settings;
  CQtUi m_ui{nullptr, m_settings};
  COrvellaDoc m_doc{m_ui, m_settings};
  test::CDialogDriver m_driver;
};

TEST_F(FilePropertiesDlg, TickingTheBoxAsksTwiceAndProtectsOnOk) {
  CFilePropertiesDlg dialog(m_doc, m_ui);
  EXPECT_FALSE(dialog.ProtectBox().isChecked());
  Prompt("Enter a passphrase", "seven77");
  Prompt("Repeat a passphrase", "seven77");
  Message("The file will be crypted by press OK with 7 byte encoding");
  dialog.ProtectBox().click();
  EXPECT_TRUE(dialog.ProtectBox().isChecked());
  EXPECT_FALSE(m_doc.IsEncrypted()) << "nothing changes before OK";

  dialog.accept();
  EXPECT_TRUE(m_doc.IsEncrypted());
  EXPECT_EQ(m_doc.Passphrase(), "seven77");
  EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(FilePropertiesDlg, AFailedPromptLeavesTheBoxClear) {
  CFilePropertiesDlg dialog(m_doc, m_ui);
  Prompt("Enter a passphrase", "abcde");
  Prompt("Repeat a passphrase", "abcdf");
  Message("Please enter a two equal passstrings");
  dialog.ProtectBox().click();
  EXPECT_FALSE(dialog.ProtectBox().isChecked());

  Prompt("Enter a passphrase", std::nullopt);
  dialog.ProtectBox().click();
  EXPECT_FALSE(dialog.ProtectBox().isChecked());

  dialog.reject();
  EXPECT_FALSE(m_doc.IsEncrypted());
  EXPECT_FALSE(m_doc.IsModified());
}

TEST_F(FilePropertiesDlg, ProtectionComesOffOnlyWithThePassphrase) {
  m_doc.SetProtection("secret");
  CFilePropertiesDlg dialog(m_doc, m_ui);
  EXPECT_TRUE(dialog.ProtectBox().isChecked());

  Prompt("Enter a previous passphrase", "wrong");
  Message("please eneter a valid passphrase.");
  dialog.ProtectBox().click();
  EXPECT_TRUE(dialog.ProtectBox().isChecked());

  Prompt("Enter a previous passphrase", std::nullopt);
  dialog.ProtectBox().click();
  EXPECT_TRUE(dialog.ProtectBox().isChecked()) << "Cancel keeps protection on";

  Prompt("Enter a previous passphrase", "secret");
  Message("Crypto will disabled by press OK");
  dialog.ProtectBox().click();
  EXPECT_FALSE(dialog.ProtectBox().isChecked());

  dialog.accept();
  EXPECT_FALSE(m_doc.IsEncrypted());
  EXPECT_EQ(m_doc.Passphrase(), "");
}

TEST_F(FilePropertiesDlg, ShowsWhatTheDocumentHolds) {
  CFilePropertiesDlg dialog(m_doc, m_ui);
  QStringList texts;
  for (const QLabel* pLabel : dialog.findChildren<QLabel*>()) texts << pLabel->text();
  EXPECT_TRUE(texts.contains("(untitled)")) << texts.join('|').toStdString();
  EXPECT_TRUE(texts.contains("not saved yet")) << texts.join('|').toStdString();
  EXPECT_EQ(texts.count("1"), 2) << "one folder holding one note";
}

}  // namespace
}  // namespace orv
