// The "&Insert" menu: links of every kind, the date and time, templates.

#include <QDateTime>
#include <QLocale>
#include <QMenuBar>

#include "ports/settings_defaults.h"
#include "tree/note_links.h"
#include "ui/app_paths.h"
#include "ui/dialogs/internal_link_dialog.h"
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

void CMenuBuilder::InsertLink(const QString& sLink, const QString& sCaption) {
  CEditorPane& editors = m_window.Editors();
  if (editors.Kind() == EEditorKind::Rich || editors.Kind() == EEditorKind::Html) {
    static_cast<CRichTextEdit*>(editors.ActiveEdit())
        ->InsertLink(sLink, sCaption.isEmpty() ? sLink : sCaption);
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
  InsertLink(QString::fromStdString(FileLink(*path)));
}

void CMenuBuilder::InsertInternalLink() {
  CInternalLinkDialog dialog(m_tree, QString::fromStdString(m_window.Editors().SelectedText()),
                             &m_window);
  if (dialog.exec() == QDialog::Accepted)
    InsertLink(QString::fromStdString(dialog.Link()), dialog.Caption());
}

}  // namespace orv
