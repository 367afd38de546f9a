// The "&Notes" menu: every note command of the core, with its enabling rule
// and check mark.

#include <QMenuBar>

#include "tree/note_appearance.h"
#include "tree/note_commands.h"
#include "tree/note_navigation.h"
#include "tree/note_order_commands.h"
#include "tree/note_protection.h"
#include "ui/dialogs/find_node_dialog.h"
#include "ui/window/main_window.h"
#include "ui/window/menu_builder.h"
#include "ui/window/note_tree_view.h"

namespace orv {

void CMenuBuilder::AddNote(QMenu* pMenu, const char* pName, const QString& sText, ENoteCommand e) {
  Add(
      pMenu, pName, sText, [this, e] { RunNoteCommand(m_tree, e); },
      [this, e] { return IsEnabled(m_tree, e); });
}

void CMenuBuilder::AddOrder(QMenu* pMenu, const char* pName, const QString& sText,
                            EOrderCommand e) {
  Add(
      pMenu, pName, sText, [this, e] { RunOrderCommand(m_tree, e); },
      [this, e] { return IsEnabled(m_tree, e); });
}

void CMenuBuilder::AddBranch(QMenu* pMenu, const char* pName, const QString& sText,
                             EBranchCommand e) {
  Add(
      pMenu, pName, sText, [this, e] { RunBranchCommand(m_tree, m_window.m_clipboard, e); },
      [this, e] { return IsEnabled(m_tree, m_window.m_clipboard, e); });
}

void CMenuBuilder::BuildNotesMenu() {
  m_pNotesMenu = m_window.menuBar()->addMenu(QObject::tr("&Notes"));
  QMenu* pNotes = m_pNotesMenu;
  auto navigate = [&](QMenu* pMenu, const char* pName, const QString& sText, ENavigateCommand e) {
    Add(
        pMenu, pName, sText,
        [this, e] {
          // Only an empty history beeps; the other moves just stop at the ends.
          if (!RunNavigateCommand(m_tree, e) &&
              (e == ENavigateCommand::Back || e == ENavigateCommand::Forward))
            m_window.Beep();
        },
        [this, e] { return IsEnabled(m_tree, e); });
  };
  auto look = [&](QMenu* pMenu, const char* pName, const QString& sText, EAppearanceCommand e,
                  bool bCheckable) {
    std::function<bool()> checked;
    if (bCheckable) checked = [this, e] { return IsChecked(m_tree, e); };
    Add(
        pMenu, pName, sText, [this, e] { RunAppearanceCommand(m_tree, e); },
        [this, e] { return IsEnabled(m_tree, e); }, checked);
  };

  AddNote(pNotes, "Notes - New Note", QObject::tr("New &Note"), ENoteCommand::NewNote);
  AddNote(pNotes, "Notes - Insert Before", QObject::tr("&Before"), ENoteCommand::InsertBefore);
  AddNote(pNotes, "Notes - New Subnote", QObject::tr("New &Subnote"), ENoteCommand::NewSubnote);
  AddNote(pNotes, "Notes - Add Child Note From Selection",
          QObject::tr("Add Chi&ld Note From Selection"), ENoteCommand::SubnoteFromSelection);
  AddNote(pNotes, "Notes - Rename", QObject::tr("&Rename"), ENoteCommand::Rename);
  AddNote(pNotes, "Notes - Delete", QObject::tr("&Delete"), ENoteCommand::Delete);
  QMenu* pMove = pNotes->addMenu(QObject::tr("&Move"));
  AddNote(pMove, "Notes - Move - Up", QObject::tr("&Up"), ENoteCommand::MoveUp);
  AddNote(pMove, "Notes - Move - Down", QObject::tr("&Down"), ENoteCommand::MoveDown);
  AddNote(pMove, "Notes - Move - Left", QObject::tr("&Left"), ENoteCommand::MoveLeft);
  AddNote(pMove, "Notes - Move - Right", QObject::tr("&Right"), ENoteCommand::MoveRight);
  QMenu* pNavigate = pNotes->addMenu(QObject::tr("&Navigate"));
  navigate(pNavigate, "Notes - Navigate - Up", QObject::tr("&Up"), ENavigateCommand::Up);
  navigate(pNavigate, "Notes - Navigate - Down", QObject::tr("&Down"), ENavigateCommand::Down);
  navigate(pNavigate, "Notes - Navigate - Left", QObject::tr("&Left"), ENavigateCommand::Left);
  navigate(pNavigate, "Notes - Navigate - Right", QObject::tr("&Right"), ENavigateCommand::Right);
  pNavigate->addSeparator();
  navigate(pNavigate, "Notes - Navigate - Back", QObject::tr("&Back"), ENavigateCommand::Back);
  navigate(pNavigate, "Notes - Navigate - Forward", QObject::tr("&Forward"),
           ENavigateCommand::Forward);
  navigate(pNavigate, "Notes - Navigate - Parent", QObject::tr("To &Parent Note"),
           ENavigateCommand::Parent);
  navigate(pNavigate, "Notes - Navigate - Root", QObject::tr("To &Root Node"),
           ENavigateCommand::ToRoot);
  QMenu* pCollapse = pNotes->addMenu(QObject::tr("&Collapse"));
  AddOrder(pCollapse, "Notes - Collapse - Collapse Subnotes", QObject::tr("Collapse &Subnotes"),
           EOrderCommand::CollapseSubnotes);
  AddOrder(pCollapse, "Notes - Collapse - Collapse Single Level",
           QObject::tr("Collapse &Single Level"), EOrderCommand::CollapseSingleLevel);
  AddOrder(pCollapse, "Notes - Collapse - Collapse All", QObject::tr("Collapse &All"),
           EOrderCommand::CollapseAll);
  QMenu* pExpand = pNotes->addMenu(QObject::tr("&Expand"));
  AddOrder(pExpand, "Notes - Expand - Expand Subnotes", QObject::tr("Expand &Subnotes"),
           EOrderCommand::ExpandSubnotes);
  AddOrder(pExpand, "Notes - Expand - Expand Single Level", QObject::tr("Expand &Single Level"),
           EOrderCommand::ExpandSingleLevel);
  AddOrder(pExpand, "Notes - Expand - Expand All", QObject::tr("Expand &All"),
           EOrderCommand::ExpandAll);
  pNotes->addSeparator();
  AddBranch(pNotes, "Notes - Copy Subnotes", QObject::tr("Cop&y Subnotes"),
            EBranchCommand::CopySubnotes);
  AddBranch(pNotes, "Notes - Cut Subnotes", QObject::tr("C&ut Subnotes"),
            EBranchCommand::CutSubnotes);
  AddBranch(pNotes, "Notes - Paste Subnotes", QObject::tr("&Paste Subnotes"),
            EBranchCommand::PasteSubnotes);
  AddBranch(pNotes, "Notes - Delete Subnotes", QObject::tr("Delete Su&bnotes"),
            EBranchCommand::DeleteSubnotes);
  pNotes->addSeparator();
  QMenu* pLook = pNotes->addMenu(QObject::tr("Color && &Font"));
  look(pLook, "Notes - Color & Font - Text", QObject::tr("&Text"), EAppearanceCommand::TextColor,
       false);
  look(pLook, "Notes - Color & Font - Background", QObject::tr("&Backlground"),
       EAppearanceCommand::BackgroundColor, false);
  look(pLook, "Notes - Color & Font - Bolded", QObject::tr("&Bolded"), EAppearanceCommand::Bold,
       true);
  look(pLook, "Notes - Color & Font - Grayed", QObject::tr("&Grayed"), EAppearanceCommand::Grayed,
       true);
  look(pLook, "Notes - Color & Font - Highlighted", QObject::tr("&Highlighted"),
       EAppearanceCommand::Highlighted, true);
  look(pLook, "Notes - Color & Font - Reset", QObject::tr("&Reset"), EAppearanceCommand::Reset,
       false);
  look(pNotes, "Notes - Hide", QObject::tr("&Hide"), EAppearanceCommand::Hide, true);
  look(pNotes, "Notes - Enable Check Box", QObject::tr("Enable Check &Box"),
       EAppearanceCommand::CheckBox, true);
  look(pNotes, "Notes - Set Icon", QObject::tr("Set &Icon"), EAppearanceCommand::SetIcon, false);
  look(pNotes, "Notes - Set Description", QObject::tr("Set &Description"),
       EAppearanceCommand::SetDescription, false);
  Add(
      pNotes, "Notes - Attachments...", QObject::tr("A&ttachments..."),
      [this] { m_window.OrganizeAttachments(); }, [this] { return m_tree.SelectedNote(); });
  BuildNotesAdvancedMenu(pNotes);

  // The tree's context menu is the Notes menu, over the note clicked.
  CNoteTreeView& view = m_window.TreeView();
  view.setContextMenuPolicy(Qt::CustomContextMenu);
  QObject::connect(
      &view, &QWidget::customContextMenuRequested, pNotes,
      [pNotes, &view](QPoint pos) { pNotes->popup(view.viewport()->mapToGlobal(pos)); });
}

void CMenuBuilder::BuildNotesAdvancedMenu(QMenu* pNotes) {
  QMenu* pAdvanced = pNotes->addMenu(QObject::tr("Ad&vanced..."));
  Add(pAdvanced, "Notes - Advanced - Find Nodes by Name in Current Folder ...",
      QObject::tr("&Find Nodes by Name in Current Folder..."), [this] {
        CFindNodeDlg dialog(m_tree, m_window.Settings(), m_window.Editors(), &m_window);
        // The folder's remembered scroll may hide the note passed to.
        if (dialog.exec() == QDialog::Accepted)
          m_window.TreeView().ShowSelected(m_tree.SelectedNote());
      });
  QMenu* pSort = pAdvanced->addMenu(QObject::tr("&Sort"));
  QMenu* pSortSubnotes = pSort->addMenu(QObject::tr("Sort &Subnotes"));
  AddOrder(pSortSubnotes, "Notes - Advanced - Sort - Sort Subnotes - Sort By Name",
           QObject::tr("Sort By &Name"), EOrderCommand::SortSubnotesByName);
  AddOrder(pSortSubnotes, "Notes - Advanced - Sort - Sort Subnotes - Sort By Creation Time",
           QObject::tr("Sort By &Creation Time"), EOrderCommand::SortSubnotesByCreateTime);
  AddOrder(pSortSubnotes, "Notes - Advanced - Sort - Sort Subnotes - Sort By Modification Time",
           QObject::tr("Sort By &Modification Time"), EOrderCommand::SortSubnotesByModifyTime);
  QMenu* pSortAll = pSort->addMenu(QObject::tr("Sort &All"));
  AddOrder(pSortAll, "Notes - Advanced - Sort - Sort All - Sort By Name",
           QObject::tr("Sort By &Name"), EOrderCommand::SortAllByName);
  AddOrder(pSortAll, "Notes - Advanced - Sort - Sort All - Sort By Creation Time",
           QObject::tr("Sort By &Creation Time"), EOrderCommand::SortAllByCreateTime);
  AddOrder(pSortAll, "Notes - Advanced - Sort - Sort All - Sort By Modification Time",
           QObject::tr("Sort By &Modification Time"), EOrderCommand::SortAllByModifyTime);
  AddOrder(pAdvanced, "Notes - Advanced - Auto Number Notes", QObject::tr("Auto &Number Notes"),
           EOrderCommand::AutoNumber);

  QMenu* pName = pAdvanced->addMenu(QObject::tr("Set N&ote Name"));
  AddNote(pName, "Notes - Advanced - Set Note Name - Text From Clipboard",
          QObject::tr("Text From &Clipboard"), ENoteCommand::NameFromClipboard);
  AddNote(pName, "Notes - Advanced - Set Note Name - Selected Text", QObject::tr("&Selected Text"),
          ENoteCommand::NameFromSelection);
  AddNote(pName, "Notes - Advanced - Set Note Name - Current Date And Time",
          QObject::tr("Cu&rrent Date And Time"), ENoteCommand::NameDateTime);
  AddNote(pName, "Notes - Advanced - Set Note Name - Current Date", QObject::tr("Current &Date"),
          ENoteCommand::NameDate);
  AddNote(pName, "Notes - Advanced - Set Note Name - Current Time", QObject::tr("Current &Time"),
          ENoteCommand::NameTime);

  pAdvanced->addSeparator();
  AddBranch(pAdvanced, "Notes - Advanced - Export Notes To Text File",
            QObject::tr("Export Notes To &Text File..."), EBranchCommand::ExportText);
  AddBranch(pAdvanced, "Notes - Advanced - Export Notes To XML File",
            QObject::tr("Export Notes To &XML File..."), EBranchCommand::ExportXml);
  BuildNotesExchangeMenus(pAdvanced);
  QMenu* pMail = pAdvanced->addMenu(QObject::tr("E-&Mail Note"));
  AddMail(pMail, "Notes - Advanced - E-Mail Note - As Zip...", QObject::tr("As &Zip..."),
          EMailCommand::ZipNote);
  AddMail(pMail, "Notes - Advanced - E-Mail Note - As Text...", QObject::tr("As &Text..."),
          EMailCommand::NoteAsText);
  pAdvanced->addSeparator();
  auto protect = [&](const char* pCommand, const QString& sText, EProtectionCommand e) {
    Add(
        pAdvanced, pCommand, sText, [this, e] { RunProtectionCommand(m_tree, e); },
        [this] { return m_tree.SelectedNote() != nullptr; },
        [this, e] { return IsChecked(m_tree, e); });
  };
  protect("Notes - Advanced - Set Read Only", QObject::tr("Set Re&ad Only"),
          EProtectionCommand::SetReadOnly);
  protect("Notes - Advanced - Crypto Protection", QObject::tr("Cr&ypto Protection"),
          EProtectionCommand::Password);
}

}  // namespace orv
