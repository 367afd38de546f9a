#include "ui/dialogs/qt_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>

#include "ports/memory_settings.h"
#include "support/test_support.h"
#include "ui/dialog_driver.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/select_icon_dialog.h"
#include "ui/dialogs/select_view_doc_dialog.h"

namespace orv {
namespace {

using test::CDialogDriver;
using test::Press;

class QtUi : public testing::Test {
 protected:
  CMemorySettingsStore m_settings;
  CQtUi m_ui{nullptr, m_settings};
  CDialogDriver m_driver;
};

TEST_F(QtUi, ConfirmReportsYesAndTheTickedBox) {
  m_driver.OnNext<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.text(), "Are you sure ?");
    ASSERT_NE(box.checkBox(), nullptr);
    EXPECT_EQ(box.checkBox()->text(), "Don't ask me again");
    box.checkBox()->setChecked(true);
    Press(box, QDialogButtonBox::Yes);
  });
  const SConfirmAnswer answer = m_ui.AskConfirm("Are you sure ?", "Question");
  EXPECT_TRUE(answer.bYes);
  EXPECT_TRUE(answer.bDontAskAgain);

  m_driver.OnNext<QMessageBox>([](QMessageBox& box) { Press(box, QDialogButtonBox::No); });
  const SConfirmAnswer no = m_ui.AskConfirm("Are you sure", "Question");
  EXPECT_FALSE(no.bYes);
  EXPECT_FALSE(no.bDontAskAgain);
}

TEST_F(QtUi, TextInputGivesTheTextOrNothingOnCancel) {
  m_driver.OnNext<QInputDialog>([](QInputDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), "Orvella");
    EXPECT_EQ(dialog.labelText(), "Enter a new name");
    EXPECT_EQ(dialog.textValue(), "Folder #1");
    EXPECT_EQ(dialog.textEchoMode(), QLineEdit::Normal);
    dialog.setTextValue("Plans ü");
    Press(dialog, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(m_ui.AskText("Enter a new name", "Folder #1", false), "Plans ü");

  // An empty entry is an answer, not a Cancel (the passphrase prompts test Cancel).
  m_driver.OnNext<QInputDialog>([](QInputDialog& dialog) {
    dialog.setTextValue("");
    Press(dialog, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(m_ui.AskText("Enter a new name", "old", false), "");
}

TEST_F(QtUi, MessagesKeepTheirTitleTextAndIcon) {
  m_driver.OnNext<QMessageBox>([](QMessageBox& box) {
    EXPECT_EQ(box.windowTitle(), "Error");
    EXPECT_EQ(box.text(), "Can't open file /x.orv");
    EXPECT_EQ(box.icon(), QMessageBox::Critical);
    Press(box, QDialogButtonBox::Ok);
  });
  m_ui.ShowMessage("Error", "Can't open file /x.orv", EMessageIcon::Error);
}

TEST_F(QtUi, NoteTypeDialogPreselectsAndAnswers) {
  m_driver.OnNext<CSelectViewDocDlg>([](CSelectViewDocDlg& dialog) {
    EXPECT_EQ(dialog.Answer().nType, 1);
    EXPECT_FALSE(dialog.Answer().bMakeDefault);
    dialog.SelectType(0);
    dialog.SetMakeDefault(true);
    Press(dialog, QDialogButtonBox::Ok);
  });
  const auto answer = m_ui.AskNoteType(1);
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->nType, 0);
  EXPECT_TRUE(answer->bMakeDefault);

  // An unknown type offers RTF.
  m_driver.OnNext<CSelectViewDocDlg>([](CSelectViewDocDlg& dialog) {
    EXPECT_EQ(dialog.Answer().nType, 2);
    dialog.reject();
  });
  EXPECT_EQ(m_ui.AskNoteType(100), std::nullopt);
}

TEST_F(QtUi, IconPickerOpensOnTheCurrentIcon) {
  m_driver.OnNext<CSelectIconDialog>([](CSelectIconDialog& dialog) {
    EXPECT_EQ(dialog.SelectedIcon(), 47);
    dialog.SelectIcon(123);
    Press(dialog, QDialogButtonBox::Ok);
  });
  EXPECT_EQ(m_ui.ChooseIcon(47), 123);

  m_driver.OnNext<CSelectIconDialog>([](CSelectIconDialog& dialog) {
    EXPECT_EQ(dialog.SelectedIcon(), 0) << "an unknown icon shows as the default";
    dialog.resize(1200, 700);
    Press(dialog, QDialogButtonBox::Cancel);
  });
  EXPECT_EQ(m_ui.ChooseIcon(999), std::nullopt);

  // The picker keeps the size the user gave it.
  m_driver.OnNext<CSelectIconDialog>([](CSelectIconDialog& dialog) {
    EXPECT_EQ(dialog.size(), QSize(1200, 700));
    dialog.reject();
  });
  m_ui.ChooseIcon(0);
}

TEST_F(QtUi, ColourPickerSpeaksColourReferences) {
  m_driver.OnNext<QColorDialog>([](QColorDialog& dialog) {
    EXPECT_EQ(dialog.currentColor(), QColor(0x11, 0x22, 0x33));
    dialog.setCurrentColor(QColor(0xAA, 0xBB, 0xCC));
    dialog.accept();
  });
  EXPECT_EQ(m_ui.ChooseColor(0x332211), 0xCCBBAA);

  m_driver.OnNext<QColorDialog>([](QColorDialog& dialog) { dialog.reject(); });
  EXPECT_EQ(m_ui.ChooseColor(0), std::nullopt);
}

TEST_F(QtUi, SaveDialogFiltersAndAddsTheDefaultExtension) {
  test::CTempDir dir;
  const QString sDir = QString::fromStdString(dir.Path().string());
  m_driver.OnNext<QFileDialog>([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.nameFilters(), QStringList{"Orvella files (*.orv)"});
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.directory().absolutePath(), sDir);
    // Typed as a user would: selectFile() races the folder's loading.
    dialog.findChild<QLineEdit*>("fileNameEdit")->setText("plans");
    static_cast<QDialog&>(dialog).accept();  // as the Save button does
  });
  const auto sChosen =
      m_ui.ChooseFile({true, "Orvella files", "*.orv", "orv", dir.Path().string()});
  EXPECT_EQ(sChosen, dir.File("plans.orv"));
}

TEST_F(QtUi, ClipboardTextIsNothingWhenEmpty) {
  QGuiApplication::clipboard()->setText("from the clipboard");
  EXPECT_EQ(m_ui.ClipboardText(), "from the clipboard");
  QGuiApplication::clipboard()->clear();
  EXPECT_EQ(m_ui.ClipboardText(), std::nullopt);
}

}  // namespace
}  // namespace orv
