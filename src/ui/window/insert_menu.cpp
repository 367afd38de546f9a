// The "&Insert" menu: links of every kind, the date and time, templates.

#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QTextEdit>

#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "ui/app_paths.h"
#include "ui/editors/editor_pane.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"

namespace orv {

void CMenuBuilder::BuildInsertMenu() {
  QMenu* pInsert = m_window.menuBar()->addMenu(QObject::tr("&Insert"));
  auto hasEditor = [this] { return m_window.Editors().ActiveEdit() != nullptr; };
  auto isRich = [this] { return m_window.Editors().Kind() == EEditorKind::Rich; };
  Add(
      pInsert, "Insert - Date and Time", QObject::tr("&Date and Time"),
      [this] {
        m_window.Editors().InsertText(
            QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat));
      },
      hasEditor);
  pInsert->addSeparator();
  Add(
      pInsert, "Insert - Internal Hyperlink ...", QObject::tr("&Internal Hyperlink ..."),
      [this] { InsertInternalLink(); }, isRich);
  Add(
      pInsert, "Insert - Web Hyperlink ...", QObject::tr("&Web Hyperlink ..."),
      [this] {
        if (auto link = m_window.m_ui.AskText("Please enter a hyperlink (https://www.example.com)",
                                              "", false))
          InsertLink(QString::fromStdString(*link));
      },
      hasEditor);
  Add(
      pInsert, "Insert - E-Mail Link ...", QObject::tr("&E-Mail Link ..."),
      [this] {
        if (auto mail =
                m_window.m_ui.AskText("Please enter a email (someone@example.com)", "", false))
          InsertLink("mailto:" + QString::fromStdString(*mail));
      },
      hasEditor);
  Add(
      pInsert, "Insert - Link to File...", QObject::tr("Link to &File..."),
      [this] { InsertFileLink(); }, hasEditor);
  pInsert->addSeparator();
  QMenu* pTemplate = pInsert->addMenu(QObject::tr("&Template"));
  auto templates = [&](const char* pName, const QString& sText, ETemplateCommand e) {
    Add(pTemplate, pName, sText,
        [this, e] { RunTemplateCommand(m_tree, e, m_window.m_paths.DataDir().toStdString()); });
  };
  templates("Insert - Template - Insert Folder", QObject::tr("Insert &Folder..."),
            ETemplateCommand::InsertFolder);
  templates("Insert - Template - Save Folder", QObject::tr("Save Current &Folder As Template"),
            ETemplateCommand::SaveFolder);
  templates("Insert - Template - Insert Note", QObject::tr("&Insert..."),
            ETemplateCommand::InsertNote);
  templates("Insert - Template - Save Note", QObject::tr("&Save Current As Template"),
            ETemplateCommand::SaveNote);
}

void CMenuBuilder::InsertLink(const QString& sLink) {
  CEditorPane& editors = m_window.Editors();
  if (editors.Kind() == EEditorKind::Rich || editors.Kind() == EEditorKind::Html) {
    auto* pEdit = qobject_cast<QTextEdit*>(editors.ActiveEdit());
    pEdit->textCursor().insertHtml(
        QString("<a href=\"%1\">%2</a>").arg(sLink.toHtmlEscaped(), sLink.toHtmlEscaped()));
  } else {
    editors.InsertText(sLink);
  }
}

void CMenuBuilder::InsertFileLink() {
  CSettingsStore& settings = m_window.Settings();
  SFileDialog dialog{false, "All files", "*", "", ReadSetting(settings, kLinkedFile)};
  std::optional<std::string> path = m_window.m_ui.ChooseFile(dialog);
  if (!path) return;
  WriteSetting(settings, kLinkedFile, *path);
  InsertLink("file:///" + QString::fromStdString(*path).replace(' ', "%20"));
}

void CMenuBuilder::InsertInternalLink() {
  QDialog dialog(&m_window);
  dialog.setWindowTitle(QObject::tr("Internal Hyperlink"));
  auto* pFolder = new QComboBox(&dialog);
  for (const auto& pTree : m_tree.Folders().m_folders)
    pFolder->addItem(QString::fromStdString(pTree->m_sFolderName));
  pFolder->setCurrentIndex(m_tree.CurrentIndex());
  auto* pNote = new QLineEdit(&dialog);
  if (XMLelement* pSelected = m_tree.SelectedNote())
    pNote->setText(QString::fromStdString(GetProperty(*pSelected, "name")));
  auto* pText = new QLineEdit(QString::fromStdString(m_window.Editors().SelectedText()), &dialog);
  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  auto* pLayout = new QFormLayout(&dialog);
  pLayout->addRow(QObject::tr("&Folder:"), pFolder);
  pLayout->addRow(QObject::tr("&Note:"), pNote);
  pLayout->addRow(QObject::tr("&Text:"), pText);
  pLayout->addRow(pButtons);
  std::optional<std::string> link;
  QObject::connect(pButtons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  QObject::connect(pButtons, &QDialogButtonBox::accepted, &dialog, [&] {
    link = MakeInternalLink(m_tree, pFolder->currentIndex(), pNote->text().toStdString(),
                            pText->text().toStdString());
    if (link) dialog.accept();
  });
  if (dialog.exec() == QDialog::Accepted && link) InsertLink(QString::fromStdString(*link));
}

}  // namespace orv
