#pragma once
// Builds the main window's menus and tool bar. Every item is a command with
// its display name ("Notes - Move - Up"), menu text, keys and a core command
// behind it; enabling and check marks are asked of the core as a menu opens.

#include <QAction>
#include <QMenu>
#include <functional>
#include <vector>

#include "attachments/archive_mail.h"
#include "exchange/exchange_commands.h"
#include "tree/branch_commands.h"
#include "tree/note_commands.h"
#include "tree/note_order_commands.h"

namespace orv {

class CMainWindow;
class CNoteTree;

class CMenuBuilder {
 public:
  explicit CMenuBuilder(CMainWindow& window);

  void Build();
  QAction* Command(const QString& sName) const;
  void RebuildRecentMenu();

 private:
  // Where a command's keys work.
  enum class EScope { Window, Tree, Editor, Html };

  struct SCommand {
    QAction* pAction;
    std::function<bool()> enabled;
    std::function<bool()> checked;
  };

  QAction* Add(QMenu* pMenu, const char* pName, const QString& sText, std::function<void()> run,
               std::function<bool()> enabled = {}, std::function<bool()> checked = {},
               EScope eScope = EScope::Window);
  // One item for a core command of each kind, enabled as the core says.
  void AddNote(QMenu* pMenu, const char* pName, const QString& sText, ENoteCommand e);
  void AddOrder(QMenu* pMenu, const char* pName, const QString& sText, EOrderCommand e);
  void AddBranch(QMenu* pMenu, const char* pName, const QString& sText, EBranchCommand e);
  void AddExchange(QMenu* pMenu, const char* pName, const QString& sText, EExchangeCommand e);
  void AddMail(QMenu* pMenu, const char* pName, const QString& sText, EMailCommand e);
  // Enabling and check marks of a menu's items, asked of the core as it
  // opens; released as it closes.
  void UpdateStates(const QMenu& menu);
  void ReleaseStates(const QMenu& menu);

  void BuildFileMenu();
  void BuildFileExchangeMenus(QMenu* pFile);
  void BuildEditMenu();
  void BuildEditAdvancedMenu(QMenu* pEdit);
  void BuildFindMenu(QMenu* pEdit);
  // The case commands again in the rich-text editor's context menu.
  void BuildRichTextContextMenu();
  void BuildViewMenu();
  void BuildViewHtmlMenu(QMenu* pView);
  void BuildFoldersMenu();
  void BuildNotesMenu();
  void BuildNotesAdvancedMenu(QMenu* pNotes);
  void BuildNotesExchangeMenus(QMenu* pAdvanced);
  void BuildBookmarksMenu();
  void BuildInsertMenu();
  void BuildSettingMenu();
  void BuildToolsMenu();
  void BuildHelpMenu();
  void BuildToolBar();

  // Rich text and HTML show sCaption (the link itself without one); plain
  // text holds the link itself.
  void InsertLink(const QString& sLink, const QString& sCaption = {});
  void InsertInternalLink();
  void InsertFileLink();
  void RunInEditor(const char* pSlot);
  // Replaces the open editor's selection by what apply makes of it.
  void ApplyToSelection(std::string (*apply)(std::string_view), bool bReselect);
  void CalculateSelection();
  void GoToLine();
  // A command's keys: the built-in ones, the user's and the tree's own.
  QList<QKeySequence> KeysOf(const std::string& sName) const;
  // The shortcuts dialog; its keys go to the file and onto the commands at once.
  void EditShortcuts();
  void ApplyShortcuts();

  CMainWindow& m_window;
  CNoteTree& m_tree;
  std::vector<SCommand> m_commands;
  QMenu* m_pRecentMenu = nullptr;
  QMenu* m_pFoldersMenu = nullptr;
  QMenu* m_pNotesMenu = nullptr;
  QMenu* m_pToolbarsMenu = nullptr;
};

}  // namespace orv
