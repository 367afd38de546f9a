#include "ui/dialogs/qt_ui.h"

#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "ports/settings_defaults.h"
#include "ui/dialogs/colour_ref.h"
#include "ui/dialogs/select_icon_dialog.h"
#include "ui/dialogs/select_view_doc_dialog.h"

namespace orv {

namespace {

QString ToQ(const std::string& s) { return QString::fromStdString(s); }

QMessageBox::Icon ToBoxIcon(EMessageIcon eIcon) {
  switch (eIcon) {
    case EMessageIcon::Information:
      return QMessageBox::Information;
    case EMessageIcon::Warning:
      return QMessageBox::Warning;
    case EMessageIcon::Error:
      return QMessageBox::Critical;
    case EMessageIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// Messages name tags ("<SCRIPT>", "<HR>"), files and notes: shown as they
// are, never read as markup.
void ShowAsWritten(QMessageBox& box) { box.setTextFormat(Qt::PlainText); }

std::optional<std::string> NonEmpty(const QString& s) {
  if (s.isEmpty()) return std::nullopt;
  return s.toStdString();
}

}  // namespace

namespace {

std::optional<std::string> AskLine(QWidget* pParent, const QString& sTitle,
                                   const std::string& sCaption, const std::string& sInitial,
                                   bool bSecret) {
  bool bOk = false;
  const QString sText = QInputDialog::getText(pParent, sTitle, QString::fromStdString(sCaption),
                                              bSecret ? QLineEdit::Password : QLineEdit::Normal,
                                              QString::fromStdString(sInitial), &bOk);
  if (!bOk) return std::nullopt;
  return sText.toStdString();
}

}  // namespace

std::optional<std::string> CQtUi::AskText(const std::string& sCaption, const std::string& sInitial,
                                          bool bSecret) {
  return AskLine(m_pParent, "Orvella", sCaption, sInitial, bSecret);
}

std::optional<std::string> CQtUi::AskPassphrase(const std::string& sCaption,
                                                const std::string& sPath) {
  // The file's name in the title: at start-up no window says yet which
  // document is being opened.
  return AskLine(m_pParent, QFileInfo(ToQ(sPath)).fileName() + " - Orvella", sCaption, "", true);
}

void ShowMessageAsWritten(QWidget* pParent, const std::string& sTitle, const std::string& sText,
                          EMessageIcon eIcon) {
  QMessageBox box(ToBoxIcon(eIcon), ToQ(sTitle), ToQ(sText), QMessageBox::Ok, pParent);
  ShowAsWritten(box);
  box.exec();
}

void CQtUi::ShowMessage(const std::string& sTitle, const std::string& sText, EMessageIcon eIcon) {
  ShowMessageAsWritten(m_pParent, sTitle, sText, eIcon);
}

SConfirmAnswer CQtUi::AskConfirm(const std::string& sText, const std::string& sCaption) {
  QMessageBox box(QMessageBox::Question, ToQ(sCaption), ToQ(sText),
                  QMessageBox::Yes | QMessageBox::No, m_pParent);
  ShowAsWritten(box);
  box.setDefaultButton(QMessageBox::Yes);
  box.setCheckBox(new QCheckBox(QObject::tr("Don't ask me again")));
  const bool bYes = box.exec() == QMessageBox::Yes;
  return {bYes, box.checkBox()->isChecked()};
}

std::optional<int> CQtUi::AskChoice(const std::string& sText,
                                    const std::vector<std::string>& answers) {
  QMessageBox box(QMessageBox::Question, "Question", ToQ(sText), QMessageBox::NoButton, m_pParent);
  ShowAsWritten(box);
  std::vector<QAbstractButton*> buttons;
  buttons.reserve(answers.size());
  for (const std::string& sAnswer : answers)
    buttons.push_back(box.addButton(ToQ(sAnswer), QMessageBox::AcceptRole));
  if (!buttons.empty()) box.setEscapeButton(buttons.back());
  box.exec();
  auto it = std::find(buttons.begin(), buttons.end(), box.clickedButton());
  if (it == buttons.end()) return std::nullopt;
  return static_cast<int>(it - buttons.begin());
}

std::optional<std::string> CQtUi::ChooseFolder(const std::string& sTitle,
                                               const std::string& sStart) {
  return NonEmpty(QFileDialog::getExistingDirectory(m_pParent, ToQ(sTitle), ToQ(sStart)));
}

std::optional<int> CQtUi::ChooseIcon(int nCurrent) {
  CSelectIconDialog dialog(nCurrent, m_pParent);
  const QSize size(ReadSetting(m_settings, kIconDialogWidth),
                   ReadSetting(m_settings, kIconDialogHeight));
  if (!size.isEmpty()) dialog.resize(size.expandedTo(dialog.minimumSizeHint()));
  const bool bOk = dialog.exec() == QDialog::Accepted;
  WriteSetting(m_settings, kIconDialogWidth, dialog.width());
  WriteSetting(m_settings, kIconDialogHeight, dialog.height());
  if (!bOk) return std::nullopt;
  return dialog.SelectedIcon();
}

std::optional<int32_t> CQtUi::ChooseColor(int32_t nCurrent) {
  const QColor colour = QColorDialog::getColor(ToQColor(nCurrent), m_pParent);
  if (!colour.isValid()) return std::nullopt;
  return ToColorRef(colour);
}

std::optional<SNoteTypeAnswer> CQtUi::AskNoteType(int32_t nCurrent) {
  CSelectViewDocDlg dialog(nCurrent, m_pParent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Answer();
}

std::optional<std::string> CQtUi::ChooseFile(const SFileDialog& request) {
  QFileDialog dialog(m_pParent);
  dialog.setAcceptMode(request.bSave ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.bSave ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (!request.sPattern.empty()) {
    dialog.setNameFilter(ToQ(request.sFilterName + " (" + request.sPattern + ")"));
  }
  dialog.setDefaultSuffix(ToQ(request.sDefaultExtension));
  const QString sStart = ToQ(request.sStart);
  if (QFileInfo(sStart).isDir()) {
    dialog.setDirectory(sStart);
  } else if (!sStart.isEmpty()) {
    dialog.selectFile(sStart);
  }
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return NonEmpty(files.front());
}

std::optional<std::string> CQtUi::ClipboardText() {
  return NonEmpty(QGuiApplication::clipboard()->text());
}

}  // namespace orv
