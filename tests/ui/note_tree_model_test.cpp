// The tree pane's model over the core tree: structure, looks, drag and drop.

#include <QAbstractItemModelTester>
#include <QMimeData>

#include "tree/note_appearance.h"
#include "tree/note_commands.h"
#include "tree/note_order_commands.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

TEST_F(MainWindowTest, ModelIsConsistentThroughRebuilds) {
  EXPECT_EQ(Window().Tabs().tabText(1), "Tips");
  EXPECT_EQ(Window().Editors().OpenNoteElement(), Tree().SelectedNote());
  CNoteTreeModel& model = Window().TreeView().Model();
  QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
  for (int i = 0; i < Window().Tabs().count(); ++i) Window().Tabs().setCurrentIndex(i);
  for (XMLelement* pNote : Folder().AllNotes()) {
    QModelIndex index = model.IndexOf(pNote);
    ASSERT_TRUE(index.isValid());
    EXPECT_EQ(model.Note(index), pNote);
    EXPECT_EQ(model.data(index).toString().toStdString(), GetProperty(*pNote, "name"));
  }
}

TEST_F(MainWindowTest, RowsStandWhenOnlySelectionAndBranchesChange) {
  CNoteTreeView& view = Window().TreeView();
  CNoteTreeModel& model = view.Model();
  XMLelement* pBranch = FindNote("Welcome to Orvella");
  ASSERT_TRUE(view.isExpanded(model.IndexOf(pBranch)));
  const uint64_t nGeneration = model.Generation();
  Choose(FindNote("Folders and notes"));
  RunOrderCommand(Tree(), EOrderCommand::CollapseAll);
  EXPECT_FALSE(view.isExpanded(model.IndexOf(pBranch)));
  RunOrderCommand(Tree(), EOrderCommand::ExpandAll);
  EXPECT_TRUE(view.isExpanded(model.IndexOf(pBranch)));
  EXPECT_EQ(model.Generation(), nGeneration);
  // A new note changes a list: the rows are listed afresh.
  RunNoteCommand(Tree(), ENoteCommand::NewNote);
  EXPECT_NE(model.Generation(), nGeneration);
  EXPECT_TRUE(model.IndexOf(Tree().SelectedNote()).isValid());
}

TEST_F(MainWindowTest, ASubnoteOfALeafShowsUnderItsOpenedParent) {
  CNoteTreeView& view = Window().TreeView();
  XMLelement* pLeaf = FindNote("Folders and notes");
  Choose(pLeaf);
  RunNoteCommand(Tree(), ENoteCommand::NewSubnote);
  XMLelement* pNew = Tree().SelectedNote();
  ASSERT_NE(pNew, pLeaf);
  QModelIndex index = view.Model().IndexOf(pNew);
  ASSERT_TRUE(index.isValid());
  EXPECT_EQ(view.Model().Note(index.parent()), pLeaf);
  EXPECT_TRUE(view.isExpanded(index.parent()));
  EXPECT_EQ(view.currentIndex(), index);
  EXPECT_FALSE(view.visualRect(index).isEmpty());
}

TEST_F(MainWindowTest, RowsShowTheCoresLook) {
  XMLelement* pNote = Tree().SelectedNote();
  SetProperty(*pNote, "color", std::to_string(0x0000FF));  // red, in the low byte
  Tree().RefreshTree(false);
  CNoteTreeModel& model = Window().TreeView().Model();
  QModelIndex index = model.IndexOf(pNote);
  EXPECT_EQ(model.data(index, Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
  EXPECT_FALSE(model.data(index, Qt::DecorationRole).value<QIcon>().isNull());
}

TEST_F(MainWindowTest, DroppingANoteMovesOrCopiesItThroughTheCore) {
  CNoteTreeModel& model = Window().TreeView().Model();
  XMLelement* pLeaf = FindNote("Folders and notes");
  XMLelement* pDragged = FindNote("Welcome to Orvella");
  const size_t nNotes = Folder().NoteCount(), nTop = Tree().ShownChildren(nullptr).size();
  const uint64_t nGeneration = model.Generation();
  std::unique_ptr<QMimeData> pData(model.mimeData({model.IndexOf(pDragged)}));
  // Onto itself is refused; onto another note is taken (and done after the view's own handling).
  EXPECT_FALSE(model.canDropMimeData(pData.get(), Qt::MoveAction, -1, 0, model.IndexOf(pDragged)));
  ASSERT_TRUE(model.canDropMimeData(pData.get(), Qt::CopyAction, -1, 0, model.IndexOf(pLeaf)));
  model.dropMimeData(pData.get(), Qt::CopyAction, -1, 0, model.IndexOf(pLeaf));
  QCoreApplication::processEvents();
  EXPECT_GT(Folder().NoteCount(), nNotes);
  EXPECT_EQ(GetProperty(*Tree().ShownChildren(pLeaf).back(), "name"), "Welcome to Orvella");
  EXPECT_EQ(Tree().ShownChildren(nullptr).size(), nTop);
  // The leaf is a branch now: the view must lay its row out again to show so.
  EXPECT_NE(model.Generation(), nGeneration);
  EXPECT_TRUE(model.hasChildren(model.IndexOf(pLeaf)));

  const std::vector<XMLelement*> top = Tree().ShownChildren(nullptr);
  pData.reset(model.mimeData({model.IndexOf(top[1])}));
  model.dropMimeData(pData.get(), Qt::MoveAction, -1, 0, model.IndexOf(top[0]));
  QCoreApplication::processEvents();
  EXPECT_EQ(Tree().ShownChildren(nullptr).size(), top.size() - 1);

  // A drag from another pane (or a folder since left) carries nothing we know.
  QMimeData foreign;
  foreign.setData(CNoteTreeModel::kNoteMimeType, "12345");
  EXPECT_FALSE(model.canDropMimeData(&foreign, Qt::MoveAction, -1, 0, model.IndexOf(top[0])));
}

}  // namespace
}  // namespace orv::test
