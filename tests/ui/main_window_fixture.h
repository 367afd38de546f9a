#pragma once
// A main window over a scratch copy of "About Orvella.orv", with its own
// settings file and data folders, for the window tests.

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QMenuBar>
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

// The format of the character at nPos (a cursor tells that of the one before it).
inline QTextCharFormat FormatOfCharAt(QTextDocument& document, int nPos) {
  QTextCursor probe(&document);
  probe.setPosition(nPos + 1);
  return probe.charFormat();
}

// A stored font setting as the Windows program writes it (a LOGFONT).
inline std::vector<uint8_t> FontRecord(int32_t nHeight, int32_t nWeight, bool bItalic,
                                       const std::string& sFace) {
  std::vector<uint8_t> bytes(60, 0);
  for (size_t i = 0; i < 4; ++i) {
    bytes[i] = static_cast<uint8_t>(static_cast<uint32_t>(nHeight) >> (8 * i));
    bytes[16 + i] = static_cast<uint8_t>(static_cast<uint32_t>(nWeight) >> (8 * i));
  }
  bytes[20] = bItalic;
  std::copy(sFace.begin(), sFace.end(), bytes.begin() + 28);
  return bytes;
}

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

  // Shown and active, so that keys reach it.
  void ShowActive() {
    m_pWindow->show();
    QApplication::setActiveWindow(m_pWindow.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_pWindow.get()));
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

  // A new note of the current folder (under pParent), not yet shown.
  XMLelement* AddNote(std::string_view sName, int32_t nType, const std::string& sContent,
                      XMLelement* pParent = nullptr) {
    XMLelement* pNote = Folder().InsertNote(
        {.sName = sName, .nType = nType, .nContentClass = nType, .pParent = pParent});
    Folder().ContentOf(*pNote)->SetContent(sContent);
    return pNote;
  }
  // A new note of the first folder, open in its editor.
  XMLelement* OpenNewNote(int32_t nType, const std::string& sContent) {
    m_pWindow->Tabs().setCurrentIndex(0);
    XMLelement* pNote = AddNote("Edited", nType, sContent);
    Tree().RefreshTree(true);
    Choose(pNote);
    return pNote;
  }

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

  // The menu bar's menu titled sTitle ("&Notes"), or its submenu sSub.
  QMenu* Menu(const QString& sTitle, const QString& sSub = {}) {
    QList<QAction*> actions = m_pWindow->menuBar()->actions();
    for (const QString& sText : {sTitle, sSub}) {
      auto it = std::ranges::find_if(actions, [&](QAction* p) { return p->text() == sText; });
      if (it == actions.end() || !(*it)->menu()) {
        ADD_FAILURE() << "no menu " << sText.toStdString();
        return nullptr;
      }
      if (sSub.isEmpty() || sText == sSub) return (*it)->menu();
      actions = (*it)->menu()->actions();
    }
    return nullptr;
  }
  // Every menu is told it is about to show, as when the user opens it: the
  // commands are enabled or not for what is selected now.
  void ShowMenus() {
    for (QMenu* pMenu : m_pWindow->menuBar()->findChildren<QMenu*>()) emit pMenu->aboutToShow();
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

  // Drags data to a point of the note tree, rests there nRestMs, and lets go
  // there with eDrop, or leaves again given Qt::IgnoreAction. Whether the
  // tree would take it there.
  bool DragOverTree(const QMimeData& data, QPoint point, Qt::DropAction eDrop, int nRestMs = 0) {
    QWidget* pViewport = m_pWindow->TreeView().viewport();
    const Qt::DropActions eActions = Qt::MoveAction | Qt::CopyAction;
    QDragEnterEvent enter(point, eActions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pViewport, &enter);
    QDragMoveEvent move(point, eActions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(pViewport, &move);
    if (nRestMs > 0) QTest::qWait(nRestMs);
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
