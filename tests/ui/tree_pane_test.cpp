// The note tree pane as the user meets it: drops between rows, branches that
// open under a drag, check boxes where the style draws them, hidden notes.

#include <QMimeData>
#include <QStyledItemDelegate>

#include "ports/settings_defaults.h"
#include "tree/folder_commands.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class TreePaneTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    RunFolderCommand(Tree(), EFolderCommand::New);
    Window().resize(900, 600);
    Window().show();
  }

  CNoteTreeView& View() { return Window().TreeView(); }
  QModelIndex Index(std::string_view sName) { return View().Model().IndexOf(FindNote(sName)); }

  // Fills the new folder from an outline such as "A(A1 A2) B"; every branch open.
  void Build(const std::string& sOutline) {
    BuildOutline(Folder(), sOutline);
    Tree().RefreshTree(false);
    QCoreApplication::processEvents();
  }

  std::string Outline(XMLelement* pParent = nullptr) {
    std::string sText;
    for (XMLelement* pNote : Tree().ShownChildren(pParent)) {
      if (!sText.empty()) sText += ' ';
      sText += GetProperty(*pNote, "name");
      if (!Tree().ShownChildren(pNote).empty()) sText += "(" + Outline(pNote) + ")";
    }
    return sText;
  }

  // Drags a note's row to a point of the pane and lets go there.
  void Drag(std::string_view sName, QPoint point, bool bDrop = true, int nRestMs = 0) {
    std::unique_ptr<QMimeData> pData(View().Model().mimeData({Index(sName)}));
    DragOverTree(*pData, point, bDrop ? Qt::MoveAction : Qt::IgnoreAction, nRestMs);
  }
};

TEST_F(TreePaneTest, ADropBetweenRowsInsertsThereAndADropOnARowMakesASubnote) {
  enum EWhere { Above, On, Below };
  struct SCase {
    const char* pDragged;
    EWhere eWhere;
    const char* pTarget;
    const char* pOutline;
  };
  for (const SCase& c :
       {SCase{"C", Above, "A", "C A(A1 A2) B"}, SCase{"C", Above, "A2", "A(A1 C A2) B"},
        SCase{"C", Below, "A1", "A(A1 C A2) B"}, SCase{"A1", Below, "C", "A(A2) B C A1"},
        SCase{"C", On, "B", "A(A1 A2) B(C)"},
        SCase{"A", Above, "A2", "A(A1 A2) B C"}}) {  // not into itself
    Build("A(A1 A2) B C");
    QRect row = View().visualRect(Index(c.pTarget));
    QPoint point = c.eWhere == Above ? QPoint(row.center().x(), row.top() + 1)
                   : c.eWhere == On  ? row.center()
                                     : QPoint(row.center().x(), row.bottom() - 1);
    Drag(c.pDragged, point);
    EXPECT_EQ(Outline(), c.pOutline) << c.pDragged << " to " << c.pTarget;
  }
}

TEST_F(TreePaneTest, ADragRestingOnAClosedBranchOpensIt) {
  Build("A B(B1) C");
  SetProperty(*FindNote("B"), "expand", "false");
  Tree().RefreshTree(false);
  ASSERT_FALSE(View().isExpanded(Index("B")));
  Drag("A", View().visualRect(Index("B")).center(), false);
  EXPECT_FALSE(View().isExpanded(Index("B")));  // not at once
  Drag("A", View().visualRect(Index("B")).center(), false, CNoteTreeView::kExpandDelayMs + 300);
  EXPECT_TRUE(View().isExpanded(Index("B")));
  EXPECT_EQ(GetProperty(*FindNote("B"), "expand"), "true");
}

// Where the style itself puts an item's parts, asked as a plain item delegate would.
QRect StyleRect(QTreeView& view, const QModelIndex& index, QStyle::SubElement eElement) {
  struct SProbe : QStyledItemDelegate {
    using QStyledItemDelegate::initStyleOption;
  } probe;
  QStyleOptionViewItem option;
  option.initFrom(&view);
  option.widget = &view;
  option.rect = view.visualRect(index);
  const int nIcon = view.style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &view);
  option.decorationSize = QSize(nIcon, nIcon);
  probe.initStyleOption(&option, index);
  return view.style()->subElementRect(eElement, &option, &view);
}

TEST_F(TreePaneTest, TheBoxTicksWhereTheStyleDrawsItAndKeepsTheNoteAtItsLevel) {
  Build("Boxed Plain(Kid)");
  Tree().Select(FindNote("Boxed"));
  Tree().RefreshTree(false);
  Trigger("Notes - Enable Check Box");

  const QRect box = View().CheckBoxRect(Index("Boxed"));
  EXPECT_EQ(box, StyleRect(View(), Index("Boxed"), QStyle::SE_ItemViewItemCheckIndicator));
  const QRect icon = StyleRect(View(), Index("Boxed"), QStyle::SE_ItemViewItemDecoration);
  const QRect text = StyleRect(View(), Index("Boxed"), QStyle::SE_ItemViewItemText);
  struct SClick {
    QPoint point;
    const char* pChecked;
  };
  for (const SClick& click : {SClick{box.center(), "true"}, SClick{box.topLeft(), "false"},
                              SClick{box.bottomRight(), "true"}, SClick{icon.center(), "true"},
                              SClick{text.center(), "true"}}) {
    QTest::mouseClick(View().viewport(), Qt::LeftButton, {}, click.point);
    EXPECT_EQ(GetProperty(*FindNote("Boxed"), "checked"), click.pChecked)
        << click.point.x() << " with the box at " << box.left() << "-" << box.right();
  }
  // The boxed note's text lines up with the other top-level note's, left of
  // the subnote's.
  EXPECT_EQ(View().TextLeft(Index("Boxed")), View().TextLeft(Index("Plain")));
  EXPECT_LT(View().TextLeft(Index("Plain")), View().TextLeft(Index("Kid")));
}

TEST_F(TreePaneTest, HiddenNotesShownOnRequestLookApart) {
  Build("Seen Hidden(Below)");
  SetProperty(*FindNote("Hidden"), "hide", "true");
  RunFolderCommand(Tree(), EFolderCommand::ShowHidden);
  CNoteTreeModel& model = View().Model();
  for (const char* pName : {"Hidden", "Below"}) {  // hidden with it
    EXPECT_TRUE(model.data(Index(pName), Qt::FontRole).value<QFont>().italic()) << pName;
    EXPECT_EQ(model.data(Index(pName), Qt::ForegroundRole).value<QColor>(),
              QPalette().color(QPalette::Disabled, QPalette::Text))
        << pName;
  }
  EXPECT_FALSE(model.data(Index("Seen"), Qt::FontRole).value<QFont>().italic());
  EXPECT_FALSE(model.data(Index("Seen"), Qt::ForegroundRole).isValid());
}

TEST_F(TreePaneTest, TheDescriptionIsTheToolTipWhileHintsAreOn) {
  Build("Plans");
  SetProperty(*FindNote("Plans"), "description", "Costs & <b>dates</b>");
  CNoteTreeModel& model = View().Model();
  EXPECT_FALSE(model.data(Index("Plans"), Qt::ToolTipRole).isValid());
  WriteSetting(*m_pSettings, kShowTreeHinths, 1);
  EXPECT_EQ(model.data(Index("Plans"), Qt::ToolTipRole).toString(), "Costs & <b>dates</b>");
}

}  // namespace
}  // namespace orv::test
