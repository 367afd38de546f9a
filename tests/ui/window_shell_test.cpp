// The main window around the panes: folder tabs, keys, menus that show
// names, what it remembers, the guide window and the command line.

#include <unistd.h>

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSplitter>
#include <QSplitterHandle>
#include <QStatusBar>
#include <QToolBar>

#include "ports/settings_defaults.h"
#include "tree/bookmark_commands.h"
#include "tree/folder_commands.h"
#include "ui/dialog_driver.h"
#include "ui/main_window_fixture.h"
#include "ui/orvella_app.h"

namespace orv::test {
namespace {

class WindowShellTest : public MainWindowTest {
 protected:
  void Show() {
    Window().resize(900, 600);
    ShowActive();
  }
  QToolBar* Bar(const char* pName) { return Window().findChild<QToolBar*>(pName); }
  QSplitter* Splitter() { return Window().findChild<QSplitter*>(); }
};

// What Qt shows for a menu or tab text: "&&" is an "&", a lone "&" marks a mnemonic.
QString Shown(const QString& sText) {
  QString sShown;
  for (qsizetype i = 0; i < sText.size(); ++i) {
    if (sText[i] == '&' && i + 1 < sText.size()) ++i;
    sShown += sText[i];
  }
  return sShown;
}

TEST_F(WindowShellTest, KeysSwitchFoldersRoundTheEndsFromTreeAndEditor) {
  Show();
  ASSERT_EQ(Window().Tabs().count(), 3);
  struct SKey {
    Qt::Key eKey;
    Qt::KeyboardModifiers eModifiers;
    int nFolder;
  };
  const SKey keys[] = {{Qt::Key_Tab, Qt::ControlModifier, 1},
                       {Qt::Key_PageDown, Qt::ControlModifier, 2},
                       {Qt::Key_Tab, Qt::ControlModifier, 0},
                       {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 2},
                       {Qt::Key_PageUp, Qt::ControlModifier, 1}};
  for (QWidget* pFocus :
       {static_cast<QWidget*>(&Window().TreeView()), static_cast<QWidget*>(&Window().Editors())}) {
    Window().Tabs().setCurrentIndex(0);
    for (const SKey& key : keys) {
      QWidget* pTarget = pFocus == &Window().TreeView() ? pFocus : Window().Editors().ActiveEdit();
      if (!pTarget) pTarget = pFocus;
      pTarget->setFocus();
      QTest::keyClick(pTarget, key.eKey, key.eModifiers);
      EXPECT_EQ(Tree().CurrentIndex(), key.nFolder)
          << QKeySequence(key.eKey | key.eModifiers).toString().toStdString() << " in "
          << pTarget->metaObject()->className();
    }
  }
}

TEST_F(WindowShellTest, CtrlShiftTabAsXDeliversItGoesToThePreviousFolder) {
  Window().Tabs().setCurrentIndex(1);
  QKeyEvent event(QEvent::KeyPress, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  QApplication::sendEvent(&Window().TreeView(), &event);
  EXPECT_EQ(Tree().CurrentIndex(), 0);
}

TEST_F(WindowShellTest, SingleLevelKeysAreTheNumberPadsOnly) {
  Show();
  XMLelement* pBranch = nullptr;
  for (XMLelement* pNote : Folder().AllNotes())
    if (!Tree().ShownChildren(pNote).empty()) pBranch = pNote;
  ASSERT_NE(pBranch, nullptr);
  SetProperty(*pBranch, "expand", "true");
  Tree().RefreshTree(false);
  Choose(pBranch);
  CNoteTreeView& view = Window().TreeView();
  view.setFocus();
  const QModelIndex index = view.Model().IndexOf(pBranch);
  QTest::keyClick(&view, Qt::Key_Minus);
  EXPECT_TRUE(view.isExpanded(index));
  QTest::keyClick(&view, Qt::Key_Asterisk);
  EXPECT_EQ(Tree().SelectedNote(), pBranch);
  QTest::keyClick(&view, Qt::Key_Minus, Qt::KeypadModifier);
  EXPECT_FALSE(view.isExpanded(view.Model().IndexOf(pBranch)));
  // As X delivers it, past the shortcut.
  QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier, "+");
  QApplication::sendEvent(&view, &plus);
  QCoreApplication::processEvents();
  EXPECT_TRUE(view.isExpanded(view.Model().IndexOf(pBranch)));
}

TEST_F(WindowShellTest, CtrlShiftDigitSetsTheBookmarkOfTheDigitKeyWhateverItPrints) {
  Show();
  Window().TreeView().setFocus();
  struct SPress {
    Qt::Key eKey;
    Qt::KeyboardModifiers eModifiers;
    quint32 nKeyCode;  // the X key code of the key pressed
    const char* pText;
    int nBookmark;  // -1: none is set
  };
  const Qt::KeyboardModifiers eCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  for (const SPress& press : {SPress{Qt::Key_Exclam, eCtrlShift, 10, "!", 1},
                              SPress{Qt::Key_ParenRight, eCtrlShift, 19, ")", 0},
                              SPress{Qt::Key_At, eCtrlShift, 11, "@", 2},
                              SPress{Qt::Key_Exclam, Qt::ShiftModifier, 10, "!", -1},
                              SPress{Qt::Key_Q, eCtrlShift, 24, "Q", -1}}) {
    Window().Doc().SetBookmarks({});
    QKeyEvent event(QEvent::KeyPress, press.eKey, press.eModifiers, press.nKeyCode, 0, 0,
                    press.pText);
    QApplication::sendEvent(&Window().TreeView(), &event);
    for (int k = 0; k < static_cast<int>(kBookmarkCount); ++k)
      EXPECT_EQ(Window().Doc().Bookmarks()[k].m_bUsed, k == press.nBookmark) << press.pText << k;
  }
}

TEST_F(WindowShellTest, OnlyAnEmptyBackOrForwardHistoryBeeps) {
  QSignalSpy beeps(&Window(), &CMainWindow::Beeped);
  Choose(Tree().ShownChildren(nullptr).front());  // the first note: Up goes nowhere
  Trigger("Notes - Navigate - Up");
  Trigger("Notes - Navigate - Parent");
  EXPECT_EQ(beeps.count(), 0);
  Trigger("Notes - Navigate - Back");
  Trigger("Notes - Navigate - Forward");
  EXPECT_EQ(beeps.count(), 2);
}

TEST_F(WindowShellTest, RightClickOnATabOpensTheFolderMenuAlone) {
  Show();
  const QPoint point = Window().Tabs().tabRect(1).center();
  QTest::mousePress(&Window().Tabs(), Qt::RightButton, {}, point);
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // the press only picks the tab
  QTest::mouseRelease(&Window().Tabs(), Qt::RightButton, {}, point);
  EXPECT_EQ(Tree().CurrentIndex(), 1);
  QContextMenuEvent event(QContextMenuEvent::Mouse, point, Window().Tabs().mapToGlobal(point));
  QApplication::sendEvent(&Window().Tabs(), &event);
  EXPECT_TRUE(event.isAccepted());  // so the tool bar adds no menu of its own
  EXPECT_EQ(QApplication::activePopupWidget(), Menu("&Folders"));
  if (QWidget* pPopup = QApplication::activePopupWidget()) pPopup->close();
}

TEST_F(WindowShellTest, ManyFoldersKeepTheirTabsOffTheToolBarsRow) {
  for (int i = 0; i < 30; ++i) RunFolderCommand(Tree(), EFolderCommand::New);
  Show();
  QToolBar* pStandard = Bar("StandardBar");
  ASSERT_NE(pStandard, nullptr);
  for (const char* pCommand : {"File - New", "File - Open", "File - Save", "Notes - Delete"}) {
    QWidget* pButton = pStandard->widgetForAction(Window().Command(pCommand));
    ASSERT_NE(pButton, nullptr) << pCommand;
    EXPECT_TRUE(pButton->isVisible()) << pCommand;
  }
  EXPECT_GT(Bar("TabsBar")->geometry().top(), pStandard->geometry().top());
}

TEST_F(WindowShellTest, AmpersandsInNamesShowAsTheyAre) {
  Tree().CurrentFolder().SetFolderName("R&D");
  Window().RebuildTabs();
  EXPECT_EQ(Shown(Window().Tabs().tabText(Tree().CurrentIndex())), "R&D");
  SetBookmark(Tree(), 4);
  QMenu* pGoTo = Menu("&Bookmarks", "&Go To Bookmark");
  ASSERT_NE(pGoTo, nullptr);
  emit pGoTo->aboutToShow();
  EXPECT_EQ(Shown(Window().Command("Bookmarks - Go To Bookmark - 4")->text()), "4 (R&D)");
  emit pGoTo->aboutToHide();

  const QString sPath = QString::fromStdString(m_dir.File("Tom & Jerry.orv"));
  std::filesystem::copy_file(m_sDocument, sPath.toStdString());
  Window().Doc().ClearModified();
  ASSERT_TRUE(Window().OpenDocument(sPath));
  QMenu* pRecent = Menu("&File", "Recent &Files");
  ASSERT_NE(pRecent, nullptr);
  EXPECT_EQ(Shown(pRecent->actions().front()->text()), "1 " + sPath);
}

TEST_F(WindowShellTest, TheStatusBarFollowsALabelEdit) {
  XMLelement* pNote = Tree().SelectedNote();
  ASSERT_NE(pNote, nullptr);
  CNoteTreeModel& model = Window().TreeView().Model();
  model.setData(model.IndexOf(pNote), "Renamed & <b>bold</b>", Qt::EditRole);
  QStringList texts;
  for (QLabel* pLabel : Window().statusBar()->findChildren<QLabel*>())
    if (pLabel->textFormat() == Qt::PlainText) texts << pLabel->text();
  EXPECT_TRUE(texts.contains("Renamed & [b]bold[/b]")) << texts.join('|').toStdString();
}

TEST_F(WindowShellTest, TheSplitterAndTheToolBarsAreAsTheUserLeftThem) {
  Show();
  QSplitterHandle* pHandle = Splitter()->handle(1);
  const int nBefore = Splitter()->sizes().front();
  const QPoint grip = pHandle->rect().center();
  QTest::mousePress(pHandle, Qt::LeftButton, {}, grip);
  QTest::mouseMove(pHandle, grip + QPoint(60, 0));
  QTest::mouseRelease(pHandle, Qt::LeftButton, {}, grip + QPoint(60, 0));
  const int nAfter = Splitter()->sizes().front();
  ASSERT_NE(nAfter, nBefore);
  Bar("StandardBar")->toggleViewAction()->trigger();
  ASSERT_TRUE(Bar("StandardBar")->isHidden());

  OpenWindow();
  Show();
  EXPECT_EQ(Splitter()->sizes().front(), nAfter);
  EXPECT_TRUE(Bar("StandardBar")->isHidden());
  EXPECT_FALSE(Bar("TabsBar")->isHidden());
}

TEST_F(WindowShellTest, StoredFontsDressTheTreeAndTheEditors) {
  WriteSetting(*m_pSettings, kTreeFont, FontRecord(-16, 700, false, "Serif Tree"));
  WriteSetting(*m_pSettings, kTextFont, FontRecord(-20, 400, true, "Mono Text"));
  WriteSetting(*m_pSettings, kRtfFont, FontRecord(-12, 400, false, "Rich Face"));
  WriteSetting(*m_pSettings, kHtmlFont, {1, 2, 3});  // not a record: left alone
  const QFont htmlBefore = Window().Editors().HtmlEdit().font();
  OpenWindow();
  struct SExpected {
    QWidget* pWidget;
    const char* pFamily;
    double dPoints;
    bool bBold;
    bool bItalic;
  };
  for (const SExpected& e :
       {SExpected{&Window().TreeView(), "Serif Tree", 12, true, false},
        SExpected{&Window().Editors().PlainEdit(), "Mono Text", 15, false, true},
        SExpected{&Window().Editors().RichEdit(), "Rich Face", 9, false, false}}) {
    const QFont font = e.pWidget->font();
    EXPECT_EQ(font.family(), e.pFamily);
    EXPECT_DOUBLE_EQ(font.pointSizeF(), e.dPoints) << e.pFamily;
    EXPECT_EQ(font.bold(), e.bBold) << e.pFamily;
    EXPECT_EQ(font.italic(), e.bItalic) << e.pFamily;
  }
  EXPECT_EQ(Window().Editors().HtmlEdit().font(), htmlBefore);
}

TEST_F(WindowShellTest, HelpShowsTheGuideBesideTheUsersDocument) {
  XMLelement* pNote = Tree().SelectedNote();
  Trigger("Help - Help Contents");
  EXPECT_EQ(Window().Doc().PathName(), m_sDocument);
  EXPECT_EQ(Tree().SelectedNote(), pNote);
  CMainWindow* pGuide = Window().ShowGuide();
  ASSERT_NE(pGuide, nullptr);
  EXPECT_NE(pGuide, &Window());
  EXPECT_EQ(QString::fromStdString(pGuide->Doc().PathName()), m_pPaths->AboutDocument());
  EXPECT_EQ(Window().ShowGuide(), pGuide);  // one guide window
  EXPECT_EQ(ReadSetting(*m_pSettings, kRecentFiles[0]), m_sDocument);
  pGuide->close();
}

TEST_F(WindowShellTest, AGuideFromAReadOnlyInstallIsSavedElsewhere) {
  const std::filesystem::path install = m_dir.Path() / "install";
  std::filesystem::create_directory(install);
  const std::filesystem::path guide = install / "About Orvella.orv";
  std::filesystem::copy_file(ORVELLA_ABOUT, guide);
  std::filesystem::permissions(guide, std::filesystem::perms::owner_read);
  std::filesystem::permissions(
      install, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  CMainWindow window(*m_pSettings, *m_pPaths, EWindowRole::Guide);
  ASSERT_TRUE(window.OpenDocument(QString::fromStdString(guide.string())));
  window.Doc().MarkModified();

  CDialogDriver driver;
  driver.OnNextFile("my guide", QString::fromStdString(m_dir.Path().string()));
  // Save asks where, as Save As does; root may write anywhere, so it saves in place.
  EXPECT_TRUE(geteuid() == 0 ? window.SaveDocumentAs() : window.SaveDocument());
  EXPECT_EQ(window.Doc().PathName(), m_dir.File("my guide.orv"));
  EXPECT_TRUE(std::filesystem::exists(m_dir.File("my guide.orv")));
  std::filesystem::permissions(install, std::filesystem::perms::owner_all);
}

TEST(CommandLineTest, ARelativeDocumentPathIsMadeAbsolute) {
  const QString sHere = QDir::currentPath();
  EXPECT_EQ(CommandLineDocument("notes.orv"), sHere + "/notes.orv");
  EXPECT_EQ(CommandLineDocument("../x/notes.orv"), QDir::cleanPath(sHere + "/../x/notes.orv"));
  EXPECT_EQ(CommandLineDocument("/home/u/notes.orv"), "/home/u/notes.orv");
  EXPECT_EQ(CommandLineDocument(""), "");
}

}  // namespace
}  // namespace orv::test
