// The "&Folders" and "Bookmarks" menus.

#include <QMenuBar>
#include <QRegularExpression>

#include "tree/bookmark_commands.h"
#include "tree/folder_commands.h"
#include "ui/window/builtin_keys.h"
#include "ui/window/folder_tab_bar.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"
#include "ui/window/shown_as_is.h"

namespace orv {

void CMenuBuilder::BuildFoldersMenu() {
  m_pFoldersMenu = m_window.menuBar()->addMenu(QObject::tr("&Folders"));
  QMenu* pFolders = m_pFoldersMenu;
  auto folder = [&](QMenu* pMenu, const char* pName, const QString& sText, EFolderCommand e,
                    bool bCheckable = false) {
    std::function<bool()> checked;
    if (bCheckable) checked = [this, e] { return IsChecked(m_tree, e); };
    Add(
        pMenu, pName, sText, [this, e] { RunFolderCommand(m_tree, e); },
        [this, e] { return IsEnabled(m_tree, e); }, checked);
  };
  folder(pFolders, "Folders - New", QObject::tr("&New"), EFolderCommand::New);
  folder(pFolders, "Folders - Rename", QObject::tr("&Rename"), EFolderCommand::Rename);
  folder(pFolders, "Folders - Delete", QObject::tr("&Delete"), EFolderCommand::Delete);
  folder(pFolders, "Folders - Set Icon", QObject::tr("Set &Icon"), EFolderCommand::SetIcon);
  pFolders->addSeparator();
  folder(pFolders, "Folders - Move Left", QObject::tr("Move &Left"), EFolderCommand::MoveLeft);
  folder(pFolders, "Folders - Move Right", QObject::tr("Move &Right"), EFolderCommand::MoveRight);
  folder(pFolders, "Folders - Make First", QObject::tr("Make &First"), EFolderCommand::MakeFirst);
  folder(pFolders, "Folders - Make Last", QObject::tr("&Make Last"), EFolderCommand::MakeLast);
  pFolders->addSeparator();
  QMenu* pAdvanced = pFolders->addMenu(QObject::tr("Advanced..."));
  Add(pAdvanced, "Folders - Advanced - New S&hared Folder ...",
      QObject::tr("New S&hared Folder ..."), [this] { m_window.NewSharedFolder(); });
  Add(pAdvanced, "Folders - Advanced - Export to Orvella File ...",
      QObject::tr("&Export to Orvella File ..."), [this] {
        m_window.StoreEditorContent();
        RunBranchCommand(m_tree, m_window.m_clipboard, EBranchCommand::ExportFolder);
      });
  AddMail(pAdvanced, "Folders - Advanced - Zip And E-Mail To ...",
          QObject::tr("&Zip And E-Mail To ..."), EMailCommand::ZipFolder);
  QMenu* pSort = pAdvanced->addMenu(QObject::tr("Sort by Name"));
  folder(pSort, "Folders - Advanced - Sort by Name - Asscending", QObject::tr("A&csending"),
         EFolderCommand::SortAscending);
  folder(pSort, "Folders - Advanced - Sort by Name - Descending", QObject::tr("De&scending"),
         EFolderCommand::SortDescending);
  folder(pFolders, "Folders - Show Hidden Notes", QObject::tr("Show &Hidden Notes"),
         EFolderCommand::ShowHidden, true);
  m_window.Tabs().SetContextMenu(pFolders);

  // The keyboard's way through the tabs; not items of the menu.
  for (auto [pName, nStep] :
       {std::pair{"Folders - Next Folder", 1}, std::pair{"Folders - Previous Folder", -1}}) {
    auto* pAction = new QAction(&m_window);
    pAction->setObjectName(pName);
    pAction->setShortcuts(CommandKeys(m_window.Accelerators(), pName));
    m_window.addAction(pAction);
    QObject::connect(pAction, &QAction::triggered, &m_window,
                     [this, nBy = nStep] { m_window.Tabs().StepFolder(nBy); });
  }
}

void CMenuBuilder::BuildBookmarksMenu() {
  QMenu* pBookmarks = m_window.menuBar()->addMenu(QObject::tr("&Bookmarks"));
  QMenu* pSet = pBookmarks->addMenu(QObject::tr("&Set Bookmark"));
  QMenu* pGoTo = pBookmarks->addMenu(QObject::tr("&Go To Bookmark"));
  for (int k = 0; k < static_cast<int>(kBookmarkCount); ++k) {
    std::string sSet = "Bookmarks - Set Bookmark - " + std::to_string(k);
    std::string sGoTo = "Bookmarks - Go To Bookmark - " + std::to_string(k);
    Add(pSet, sSet.c_str(), QString("&%1").arg(k), [this, k] { SetBookmark(m_tree, k); });
    QAction* pAction = Add(
        pGoTo, sGoTo.c_str(), QString("&%1").arg(k), [this, k] { GoToBookmark(m_tree, k); },
        [this, k] { return IsGoToBookmarkEnabled(m_window.Doc(), k); });
    // The item names the bookmark's folder, so its text follows the document.
    QObject::connect(pGoTo, &QMenu::aboutToShow, pAction, [this, pAction, k] {
      // The menu shows the key itself, so the text drops its own copy of it;
      // past the mnemonic "&k" comes the folder's name, shown as it is.
      QString sText = QString::fromStdString(GoToBookmarkMenuText(m_window.Doc(), k));
      sText.remove(QRegularExpression(" {7}Ctrl\\+\\d"));
      pAction->setText(sText.left(2) + ShownAsIs(sText.mid(2)));
    });
  }
}

}  // namespace orv
