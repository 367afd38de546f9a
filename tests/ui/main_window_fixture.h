#pragma once
// A main window over a scratch copy of "About Orvella.orv", with its own
// settings file and data folders, for the window tests.

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QTest>
#include <QTimer>
#include <memory>

#include "ports/settings_defaults.h"
#include "support/test_support.h"
#include "ui/app_paths.h"
#include "ui/editors/editor_pane.h"
#include "ui/qt_settings_store.h"
#include "ui/window/folder_tab_bar.h"
#include "ui/window/main_window.h"
#include "ui/window/note_tree_view.h"

namespace orv::test {

class MainWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    qputenv("ORVELLA_HOME", QByteArray::fromStdString(m_dir.Path().string()));
    m_pSettings =
        std::make_unique<CQtSettingsStore>(QString::fromStdString(m_dir.File("Orvella.conf")));
    m_pPaths = std::make_unique<CAppPaths>();
    m_pPaths->CreateFolders();
    m_sDocument = m_dir.File("notes.orv");
    std::filesystem::copy_file(ORVELLA_ABOUT, m_sDocument);
    OpenWindow();
  }
  void TearDown() override {
    if (m_pWindow) m_pWindow->Doc().ClearModified();  // no save question
    m_pWindow.reset();
    qunsetenv("ORVELLA_HOME");
  }

  // A fresh window on the scratch document, as after a restart.
  void OpenWindow() {
    if (m_pWindow) m_pWindow->Doc().ClearModified();
    m_pWindow = std::make_unique<CMainWindow>(*m_pSettings, *m_pPaths);
    ASSERT_TRUE(m_pWindow->OpenDocument(QString::fromStdString(m_sDocument)));
  }

  CMainWindow& Window() { return *m_pWindow; }
  CNoteTree& Tree() { return m_pWindow->Tree(); }
  CXMLTree& Folder() { return Tree().CurrentFolder(); }

  XMLelement* FindNote(std::string_view sName) {
    for (XMLelement* pNote : Folder().AllNotes())
      if (GetProperty(*pNote, "name") == sName) return pNote;
    ADD_FAILURE() << "no note named " << sName;
    return nullptr;
  }
  XMLelement* FindNoteOfType(std::string_view sType) {
    for (XMLelement* pNote : Folder().AllNotes())
      if (GetProperty(*pNote, "type") == sType) return pNote;
    return nullptr;
  }
  std::string Content(XMLelement& note) { return Folder().ContentOf(note)->GetContent(); }

  // Selects a note in the pane as a click would.
  void Choose(XMLelement* pNote) {
    CNoteTreeView& view = m_pWindow->TreeView();
    view.setCurrentIndex(view.Model().IndexOf(pNote));
    QCoreApplication::processEvents();
    ASSERT_EQ(Tree().SelectedNote(), pNote);
  }

  // Every command of this window's menus ("Notes - Move - Up"...), not those
  // of a window it opened (the guide's window is its child).
  std::vector<QAction*> MenuCommands() {
    std::vector<QAction*> commands;
    for (QAction* pAction : m_pWindow->findChildren<QAction*>()) {
      QObject* pOwner = pAction->parent();
      while (pOwner && !qobject_cast<CMainWindow*>(pOwner)) pOwner = pOwner->parent();
      if (pAction->objectName().contains(" - ") && pOwner == m_pWindow.get())
        commands.push_back(pAction);
    }
    return commands;
  }

  // The questions commands ask (delete, sort, numbering, the new note's
  // type) are answered yes ahead, through their "Don't ask me again" keys.
  void AnswerQuestionsYesAhead() {
    for (const SIntSetting& key : {kDontAskDelNode, kDontAskDelPage, kDontAskNodeSort,
                                   kDontAskPageSort, kDontAskSortAllTree, kDontAskNumbering})
      WriteSetting(*m_pSettings, key, 1);
    WriteSetting(*m_pSettings, kSetDef, 1);
  }
  // While the returned timer lives, every modal dialog is cancelled as soon
  // as it opens.
  static std::unique_ptr<QTimer> CancelEveryDialog() {
    auto pCloser = std::make_unique<QTimer>();
    QObject::connect(pCloser.get(), &QTimer::timeout, [] {
      if (auto* pDialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
        pDialog->reject();
    });
    pCloser->start(5);
    return pCloser;
  }

  // Drags data to a point of the note tree and lets go there with eDrop, or
  // leaves again given Qt::IgnoreAction. Whether the tree would take it there.
  bool DragOverTree(const QMimeData& data, QPoint point, Qt::DropAction eDrop) {
    QWidget* pViewport = m_pWindow->TreeView().viewport();
    const Qt::DropActions eActions = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(point, eActions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pViewport, &enter);
    QDragMoveEvent move(point, eActions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pViewport, &move);
    if (eDrop == Qt::IgnoreAction) {
      QDragLeaveEvent leave;
      QApplication::sendEvent(pViewport, &leave);
    } else {
      QDropEvent drop(point, eActions, &data, Qt::LeftButton, Qt::NoModifier);
      drop.setDropAction(eDrop);
      QApplication::sendEvent(pViewport, &drop);
    }
    QCoreApplication::processEvents();
    return move.isAccepted();
  }

  void Trigger(const char* pCommand) {
    QAction* pAction = m_pWindow->Command(pCommand);
    ASSERT_NE(pAction, nullptr) << pCommand;
    pAction->trigger();
    QCoreApplication::processEvents();
  }

  CTempDir m_dir;
  std::unique_ptr<CQtSettingsStore> m_pSettings;
  std::unique_ptr<CAppPaths> m_pPaths;
  std::string m_sDocument;
  std::unique_ptr<CMainWindow> m_pWindow;
};

}  // namespace orv::test
