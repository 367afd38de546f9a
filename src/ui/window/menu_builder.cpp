#include "ui/window/menu_builder.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMenuBar>
#include <QMessageBox>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "ports/settings_defaults.h"
#include "shell/web_address.h"
#include "tree/document_commands.h"
#include "ui/app_paths.h"
#include "ui/dialogs/backup_settings_dialog.h"
#include "ui/dialogs/note_icons.h"
#include "ui/dialogs/splash_window.h"
#include "ui/dialogs/tip_dialog.h"
#include "ui/editors/editor_pane.h"
#include "ui/print/print_commands.h"
#include "ui/server_backup_command.h"
#include "ui/update_check.h"
#include "ui/window/builtin_keys.h"
#include "ui/window/main_window.h"
#include "ui/window/note_tree_view.h"
#include "ui/window/shown_as_is.h"

namespace orv {

CMenuBuilder::CMenuBuilder(CMainWindow& window) : m_window(window), m_tree(window.Tree()) {}

void CMenuBuilder::Build() {
  BuildFileMenu();
  BuildEditMenu();
  BuildViewMenu();
  BuildFoldersMenu();
  BuildNotesMenu();
  BuildBookmarksMenu();
  BuildInsertMenu();
  BuildSettingMenu();
  BuildToolsMenu();
  BuildHelpMenu();
  BuildToolBar();
  for (QMenu* pMenu : m_window.menuBar()->findChildren<QMenu*>()) {
    QObject::connect(pMenu, &QMenu::aboutToShow, pMenu, [this, pMenu] { UpdateStates(*pMenu); });
    QObject::connect(pMenu, &QMenu::aboutToHide, pMenu, [this, pMenu] { ReleaseStates(*pMenu); });
  }
}

QAction* CMenuBuilder::Add(QMenu* pMenu, const char* pName, const QString& sText,
                           std::function<void()> run, std::function<bool()> enabled,
                           std::function<bool()> checked, EScope eScope) {
  QAction* pAction = pMenu->addAction(sText);
  pAction->setObjectName(QString::fromUtf8(pName));
  pAction->setCheckable(static_cast<bool>(checked));
  const QList<QKeySequence> keys = KeysOf(pName);
  QWidget* pKeyOwner = nullptr;
  if (!TreeKeys(pName).isEmpty()) eScope = EScope::Tree;
  if (!keys.isEmpty()) {
    pAction->setShortcuts(keys);
    // Keys that mean one thing in the tree and another in an editor (Ctrl+C,
    // Shift+Ins, …) work only where they belong.
    switch (eScope) {
      case EScope::Window:
        break;
      case EScope::Tree:
        pKeyOwner = &m_window.TreeView();
        break;
      case EScope::Editor:
        pKeyOwner = &m_window.Editors();
        break;
      case EScope::Html:
        pKeyOwner = &m_window.Editors().HtmlEditor();
        break;
    }
    if (pKeyOwner) {
      pAction->setShortcutContext(Qt::WidgetWithChildrenShortcut);
      pKeyOwner->addAction(pAction);
    } else {
      m_window.addAction(pAction);
    }
  }
  QObject::connect(pAction, &QAction::triggered, &m_window,
                   [this, run = std::move(run)] { m_window.Guarded(run); });
  m_commands.push_back({pAction, std::move(enabled), std::move(checked)});
  return pAction;
}

QList<QKeySequence> CMenuBuilder::KeysOf(const std::string& sName) const {
  QList<QKeySequence> keys = CommandKeys(m_window.Accelerators(), sName);
  // A command with keys of its own in the tree has them there alone (Shift+Return
  // breaks a line in an editor), with the user's keys beside them.
  for (const QKeySequence& key : TreeKeys(sName))
    if (!keys.contains(key)) keys.append(key);
  return keys;
}

QAction* CMenuBuilder::Command(const QString& sName) const {
  for (const SCommand& command : m_commands)
    if (command.pAction->objectName() == sName) return command.pAction;
  return nullptr;
}

void CMenuBuilder::UpdateStates(const QMenu& menu) {
  // Only the menu being opened: asking the core of every command walks a
  // big folder a hundred times over.
  const QList<QAction*> actions = menu.actions();
  for (const SCommand& command : m_commands) {
    if (!actions.contains(command.pAction)) continue;
    if (command.enabled) command.pAction->setEnabled(command.enabled());
    if (command.checked) command.pAction->setChecked(command.checked());
  }
}

void CMenuBuilder::ReleaseStates(const QMenu& menu) {
  // A disabled action would also swallow its key later, when the command may
  // well be offered; the core commands check for themselves when they run.
  const QList<QAction*> actions = menu.actions();
  for (const SCommand& command : m_commands)
    if (command.enabled && actions.contains(command.pAction)) command.pAction->setEnabled(true);
}

void CMenuBuilder::RunInEditor(const char* pSlot) {
  if (QWidget* pEdit = m_window.Editors().ActiveEdit()) QMetaObject::invokeMethod(pEdit, pSlot);
}

void CMenuBuilder::BuildFileMenu() {
  QMenu* pFile = m_window.menuBar()->addMenu(QObject::tr("&File"));
  Add(pFile, "File - New", QObject::tr("&New"), [this] { m_window.NewDocument(); });
  Add(pFile, "File - Open", QObject::tr("&Open..."), [this] {
    SFileDialog dialog{false, "Orvella Files", "*.orv", "orv", m_window.Doc().PathName()};
    if (std::optional<std::string> path = m_window.m_ui.ChooseFile(dialog))
      m_window.OpenDocument(QString::fromStdString(*path));
  });
  Add(pFile, "File - Save", QObject::tr("&Save"), [this] { m_window.SaveDocument(); });
  Add(pFile, "File - Save As ...", QObject::tr("Save &As..."),
      [this] { m_window.SaveDocumentAs(); });
  Add(pFile, "File - Merge With ...", QObject::tr("&Merge With ..."), [this] {
    m_window.StoreEditorContent();
    RunBranchCommand(m_tree, m_window.m_clipboard, EBranchCommand::Merge);
  });
  BuildFileExchangeMenus(pFile);
  pFile->addSeparator();
  Add(pFile, "File - Properties ...", QObject::tr("P&roperties ..."),
      [this] { m_window.ShowProperties(); });
  Add(pFile, "File - Backup To ...", QObject::tr("&Backup To ..."), [this] {
    m_window.StoreEditorContent();
    BackupTo(m_window.Doc(), m_window.Ui(), m_window.Settings());
  });
  Add(pFile, "File - Backup To Server", QObject::tr("Backup to Ser&ver"),
      [this] { BackupToServer(m_window); });
  Add(pFile, "File - Backup Settings ...", QObject::tr("Backup Se&ttings..."),
      [this] { CBackupSettingsDialog(m_window.Settings(), &m_window).exec(); });
  AddMail(pFile, "File - Zip and E-Mail All File To ...",
          QObject::tr("&Zip and E-Mail All File To ..."), EMailCommand::ZipDocument);
  pFile->addSeparator();
  const auto hasNote = [this] { return m_tree.SelectedNote() != nullptr; };
  Add(
      pFile, "File - Print ...", QObject::tr("&Print..."),
      [this] { PrintSelectedNote(m_window, EPrintTarget::Printer); }, hasNote);
  Add(
      pFile, "File - Print Preview", QObject::tr("Print Pre&view..."),
      [this] { PrintSelectedNote(m_window, EPrintTarget::Preview); }, hasNote);
  Add(
      pFile, "File - Export to PDF ...", QObject::tr("Export to P&DF..."),
      [this] { PrintSelectedNote(m_window, EPrintTarget::Pdf); }, hasNote);
  pFile->addSeparator();
  m_pRecentMenu = pFile->addMenu(QObject::tr("Recent &Files"));
  RebuildRecentMenu();
  pFile->addSeparator();
  Add(pFile, "File - Close", QObject::tr("&Close"), [this] { m_window.CloseDocument(); });
  QAction* pExit = Add(pFile, "File - Exit", QObject::tr("E&xit"), [this] { m_window.close(); });
  pExit->setMenuRole(QAction::QuitRole);
}

void CMenuBuilder::RebuildRecentMenu() {
  if (!m_pRecentMenu) return;
  m_pRecentMenu->clear();
  const std::vector<std::string>& paths = m_window.m_recent.List();
  int nNumber = 1;
  for (const std::string& sPath : paths) {
    QString qsPath = QString::fromStdString(sPath);
    m_pRecentMenu->addAction(QString("&%1 %2").arg(nNumber++).arg(ShownAsIs(qsPath)), &m_window,
                             [this, qsPath] { m_window.OpenDocument(qsPath); });
  }
  m_pRecentMenu->setEnabled(!paths.empty());
}

void CMenuBuilder::BuildViewMenu() {
  QMenu* pView = m_window.menuBar()->addMenu(QObject::tr("&View"));
  m_pToolbarsMenu = pView->addMenu(QObject::tr("&Toolbars"));
  QMenu* pPanels = pView->addMenu(QObject::tr("&Panels"));
  Add(
      pPanels, "View - Panels - Note Tree", QObject::tr("Note &Tree"),
      [this] { m_window.TreeView().setVisible(!m_window.TreeView().isVisible()); }, {},
      [this] { return m_window.TreeView().isVisible(); });
  Add(
      pPanels, "View - Panels - Status Bar", QObject::tr("&Status Bar"),
      [this] { m_window.statusBar()->setVisible(!m_window.statusBar()->isVisible()); }, {},
      [this] { return m_window.statusBar()->isVisible(); });
  BuildViewHtmlMenu(pView);
  pView->addSeparator();
  Add(pView, "View - Focus To Tree", QObject::tr("Focus To T&ree"),
      [this] { m_window.TreeView().setFocus(); });
  Add(pView, "View - Focus To Editor", QObject::tr("Focus To &Editor"), [this] {
    if (QWidget* pEdit = m_window.Editors().ActiveEdit()) pEdit->setFocus();
  });
  Add(
      pView, "View - Full Screen", QObject::tr("F&ull Screen"),
      [this] { m_window.SetFullScreen(!m_window.isFullScreen()); }, {},
      [this] { return m_window.isFullScreen(); });
  pView->addSeparator();
  Add(pView, "Tray - Minimize", QObject::tr("&Minimize to Tray"),
      [this] { m_window.MinimizeToTray(); });
  Add(
      pView, "Tray - Alway on Top", QObject::tr("Always on T&op"),
      [this] { m_window.ToggleTopmost(); }, {},
      [this] { return ReadSetting(m_window.Settings(), kTopmost) != 0; });
}

void CMenuBuilder::BuildViewHtmlMenu(QMenu* pView) {
  QMenu* pHtml = pView->addMenu(QObject::tr("&HTML"));
  for (bool bSource : {false, true}) {
    // Its keys work where the HTML editor is: Ctrl+R is another command's
    // in the rich-text editor.
    Add(
        pHtml, bSource ? "View - HTML - Source" : "View - HTML - Web",
        bSource ? QObject::tr("&Source") : QObject::tr("&Web"),
        [this, bSource] {
          if (m_window.Editors().Kind() == EEditorKind::Html)
            m_window.Editors().HtmlEditor().ShowSource(bSource);
        },
        [this] { return m_window.Editors().Kind() == EEditorKind::Html; },
        [this, bSource] {
          return m_window.Editors().Kind() == EEditorKind::Html &&
                 m_window.Editors().HtmlEditor().IsSourceShown() == bSource;
        },
        EScope::Html);
  }
}

void CMenuBuilder::BuildHelpMenu() {
  QMenu* pHelp = m_window.menuBar()->addMenu(QObject::tr("&Help"));
  Add(pHelp, "Help - Help Contents", QObject::tr("&Help Contents"),
      [this] { m_window.ShowGuide(); });
  Add(pHelp, "Help - Tip of the Day", QObject::tr("&Tip of the Day..."),
      [this] { CTipDlg(m_window.Settings(), m_window.m_paths.TipsFile(), &m_window).Run(); });
  pHelp->addSeparator();
  if (UpdateCheckBuilt())
    Add(pHelp, "Help - Check for Updates", QObject::tr("Check for &Updates..."),
        [this] { CheckForUpdates(m_window, m_window.Settings(), true); });
  // The site's pages are offered only where the program knows its site.
  const std::string sAddress = WebAddress(m_window.Settings());
  if (!sAddress.empty()) {
    const std::pair<const char*, EWebPage> kPages[] = {{"Help - Support", EWebPage::Support},
                                                       {"Help - Web Site", EWebPage::WebSite},
                                                       {"Help - FAQ", EWebPage::Faq},
                                                       {"Help - Forum", EWebPage::Forum}};
    for (const auto& [pName, ePage] : kPages)
      Add(pHelp, pName, QString(pName).section(" - ", 1), [url = WebPageUrl(sAddress, ePage)] {
        QDesktopServices::openUrl(QUrl(QString::fromStdString(url)));
      });
  }
  pHelp->addSeparator();
  QAction* pAbout = Add(pHelp, "Help - About Orvella...", QObject::tr("&About Orvella..."), [this] {
    QMessageBox::about(&m_window, QObject::tr("About Orvella"), AboutText());
  });
  pAbout->setMenuRole(QAction::AboutRole);
}

void CMenuBuilder::BuildToolBar() {
  QToolBar* pBar = m_window.addToolBar(QObject::tr("Standard"));
  pBar->setObjectName("StandardBar");
  auto add = [&](const char* pName, QStyle::StandardPixmap eIcon) {
    QAction* pAction = Command(pName);
    pAction->setIcon(m_window.style()->standardIcon(eIcon));
    pBar->addAction(pAction);
  };
  add("File - New", QStyle::SP_FileIcon);
  add("File - Open", QStyle::SP_DialogOpenButton);
  add("File - Save", QStyle::SP_DialogSaveButton);
  pBar->addSeparator();
  add("Notes - New Note", QStyle::SP_FileDialogNewFolder);
  add("Notes - New Subnote", QStyle::SP_FileDialogDetailedView);
  add("Notes - Delete", QStyle::SP_TrashIcon);
  pBar->addSeparator();
  add("Notes - Move - Up", QStyle::SP_ArrowUp);
  add("Notes - Move - Down", QStyle::SP_ArrowDown);
  add("Notes - Move - Left", QStyle::SP_ArrowLeft);
  add("Notes - Move - Right", QStyle::SP_ArrowRight);
  pBar->addSeparator();
  add("Notes - Navigate - Back", QStyle::SP_ArrowBack);
  add("Notes - Navigate - Forward", QStyle::SP_ArrowForward);
  m_window.RememberToolBar(*pBar, kToolBar);
  // Each bar's toggle is a command a user may give keys to.
  constexpr std::pair<const char*, const char*> kToggles[] = {
      {"StandardBar", "View - Toolbars - Standard"},
      {"TabsBar", "View - Toolbars - Tabs"},
      {"HtmlToolBar", "View - Toolbars - HTML Formatting"},
      {"RtfFormatBar", "View - Toolbars - RTF Formatting"}};
  for (auto [pBarName, pCommand] : kToggles)
    if (auto* pToggled = m_window.findChild<QToolBar*>(pBarName)) {
      pToggled->toggleViewAction()->setObjectName(pCommand);
      m_pToolbarsMenu->addAction(pToggled->toggleViewAction());
    }
  ApplyShortcuts();
}

}  // namespace orv
