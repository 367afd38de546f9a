// The "&Insert" menu: the date and time, links of every kind, templates.

#include <QMenuBar>

#include "ports/settings_defaults.h"
#include "tree/note_links.h"
#include "ui/app_paths.h"
#include "ui/dialogs/date_dialog.h"
#include "ui/dialogs/internal_link_dialog.h"
#include "ui/dialogs/month_cal_dialog.h"
#include "ui/editors/editor_pane.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"

namespace orv {

void CMenuBuilder::BuildInsertMenu() {
  QMenu* pInsert = m_window.menuBar()->addMenu(QObject::tr("&Insert"));
  auto hasEditor = [this] { return m_window.Editors().ActiveEdit() != nullptr; };
  auto isRich = [this] { return m_window.Editors().Kind() == EEditorKind::Rich; };
  auto canEdit = [this] { return m_window.Editors().CanEdit(); };
  // The keys reach a command whatever is shown: a read-only note takes no date.
  auto insertDate = [this](auto ask) {
    if (!m_window.Editors().CanEdit()) return;
    if (std::optional<QString> sText = ask(m_window.Settings(), &m_window))
      m_window.Editors().InsertText(*sText);
  };
  Add(
      pInsert, "Insert - Date and Time", QObject::tr("&Date and Time ..."),
      [insertDate] { insertDate(&CDateDialog::Ask); }, canEdit);
  Add(
      pInsert, "Insert - Custom Date", QObject::tr("Custom Da&te ..."),
      [insertDate] { insertDate(&CMonthCalDlg::Ask); }, canEdit);
  // The dialogs' "at once" boxes hide the dialogs for good; here they can be undone.
  for (const auto& [pText, pSetting] :
       {std::pair{QT_TR_NOOP("Date and Time at Once"), &kDefaultInsDate},
        std::pair{QT_TR_NOOP("Custom Date at Once"), &kDefaultInsCustomDate}}) {
    QAction* pAtOnce = pInsert->addAction(QObject::tr(pText));
    pAtOnce->setCheckable(true);
    const SIntSetting& setting = *pSetting;
    QObject::connect(pInsert, &QMenu::aboutToShow, pAtOnce, [this, pAtOnce, &setting] {
      pAtOnce->setChecked(ReadSetting(m_window.Settings(), setting) != 0);
    });
    QObject::connect(pAtOnce, &QAction::toggled, pAtOnce, [this, &setting](bool bOn) {
      WriteSetting(m_window.Settings(), setting, bOn ? 1 : 0);
    });
  }
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
