#include "ui/window/note_tree_view.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>

#include "tree/note_appearance.h"
#include "tree/note_order_commands.h"

namespace orv {

CNoteTreeView::CNoteTreeView(CNoteTree& tree, QWidget* pParent)
    : QTreeView(pParent), m_tree(tree), m_model(tree), m_delegate(m_model, this) {
  setModel(&m_model);
  setItemDelegate(&m_delegate);
  // Qt's own auto-expansion would also close an open branch.
  setAutoExpandDelay(-1);
  m_expandTimer.setSingleShot(true);
  m_expandTimer.setInterval(kExpandDelayMs);
  connect(&m_expandTimer, &QTimer::timeout, this, [this] {
    if (m_dragRest.isValid() && !isExpanded(m_dragRest)) expand(m_dragRest);
  });
  setHeaderHidden(true);
  setUniformRowHeights(true);  // keeps scrolling through huge folders smooth
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  setDragDropMode(QAbstractItemView::DragDrop);
  setDefaultDropAction(Qt::MoveAction);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  header()->setStretchLastSection(true);
  connect(this, &QTreeView::expanded, this, [this](const QModelIndex& i) { OnToggled(i, true); });
  connect(this, &QTreeView::collapsed, this, [this](const QModelIndex& i) { OnToggled(i, false); });
}

void CNoteTreeView::Rebuild(XMLelement* pSelected) {
  m_bRebuilding = true;
  setUpdatesEnabled(false);
  m_model.Reload(pSelected);
  for (const auto& [index, bOpen] : m_model.Branches())
    if (isExpanded(index) != bOpen) setExpanded(index, bOpen);
  ShowSelected(pSelected);
  setUpdatesEnabled(true);
  viewport()->update();  // names and looks may have changed in rows that stood
  m_bRebuilding = false;
}

void CNoteTreeView::ShowSelected(XMLelement* pNote) {
  bool bWasRebuilding = m_bRebuilding;
  m_bRebuilding = true;
  QModelIndex index = m_model.IndexOf(pNote);
  if (index.isValid()) {
    setCurrentIndex(index);
    scrollTo(index);
  } else {
    selectionModel()->clear();
  }
  m_bRebuilding = bWasRebuilding;
}

void CNoteTreeView::StartLabelEdit(XMLelement& note) {
  QModelIndex index = m_model.IndexOf(&note);
  if (index.isValid()) edit(index);
}

void CNoteTreeView::OnToggled(const QModelIndex& index, bool bExpanded) {
  if (m_bRebuilding) return;
  if (XMLelement* pNote = m_model.Note(index)) OnBranchToggled(m_tree, *pNote, bExpanded);
}

void CNoteTreeView::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTreeView::currentChanged(current, previous);
  if (m_bRebuilding || !current.isValid()) return;
  m_pPendingChoice = m_model.Note(current);
  if (!(QGuiApplication::mouseButtons() & Qt::LeftButton)) EmitPendingChoice();
}

void CNoteTreeView::mouseReleaseEvent(QMouseEvent* pEvent) {
  QTreeView::mouseReleaseEvent(pEvent);
  EmitPendingChoice();
}

void CNoteTreeView::startDrag(Qt::DropActions eActions) {
  QTreeView::startDrag(eActions);
  EmitPendingChoice();
}

void CNoteTreeView::focusInEvent(QFocusEvent* pEvent) {
  // Qt makes the first item current when the pane gets the focus without
  // one; only the user chooses notes.
  bool bWasRebuilding = std::exchange(m_bRebuilding, true);
  QTreeView::focusInEvent(pEvent);
  m_bRebuilding = bWasRebuilding;
}

void CNoteTreeView::EmitPendingChoice() {
  XMLelement* pNote = std::exchange(m_pPendingChoice, nullptr);
  if (!pNote) return;
  QTimer::singleShot(0, this, [this, nGeneration = m_model.Generation(), pNote] {
    // A rebuild in between (another document, another folder) may have freed the note.
    if (nGeneration == m_model.Generation()) emit NoteChosen(pNote);
  });
}

QStyleOptionViewItem CNoteTreeView::ItemOption(const QModelIndex& index) const {
  QStyleOptionViewItem option;
  initViewItemOption(&option);
  option.rect = visualRect(index);
  return m_delegate.ItemOption(option, index);
}

QRect CNoteTreeView::CheckBoxRect(const QModelIndex& index) const {
  QStyleOptionViewItem option = ItemOption(index);
  if (!(option.features & QStyleOptionViewItem::HasCheckIndicator)) return {};
  return style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, this);
}

int CNoteTreeView::TextLeft(const QModelIndex& index) const {
  QStyleOptionViewItem option = ItemOption(index);
  return style()->subElementRect(QStyle::SE_ItemViewItemText, &option, this).left();
}

void CNoteTreeView::mousePressEvent(QMouseEvent* pEvent) {
  QModelIndex index = indexAt(pEvent->position().toPoint());
  XMLelement* pNote = m_model.Note(index);
  if (pNote && pEvent->button() == Qt::LeftButton) {
    QRect box = CheckBoxRect(index);
    if (!box.isEmpty() && ClickItem(m_tree, *pNote, static_cast<int>(pEvent->position().x()),
                                    {box.left(), box.right() + 1})) {
      update(index);
      return;
    }
  }
  QTreeView::mousePressEvent(pEvent);
}

void CNoteTreeView::keyPressEvent(QKeyEvent* pEvent) {
  // QTreeView opens and closes branches on any −, + and *; here only the
  // number pad's − and + do, as commands, and the others search as letters do.
  const bool bBranchKey = pEvent->key() == Qt::Key_Minus || pEvent->key() == Qt::Key_Plus ||
                          pEvent->key() == Qt::Key_Asterisk;
  if (bBranchKey && !(pEvent->modifiers() & Qt::KeypadModifier)) {
    // Past QTreeView, on purpose: it would open or close the branch.
    // NOLINTNEXTLINE(bugprone-parent-virtual-call)
    QAbstractItemView::keyPressEvent(pEvent);
  } else {
    QTreeView::keyPressEvent(pEvent);
  }
}

namespace {

// The local files a drag from a file manager carries; none for a note's drag.
QStringList LocalFiles(const QMimeData* pData) {
  QStringList files;
  if (!pData || !pData->hasUrls()) return files;
  for (const QUrl& url : pData->urls())
    if (url.isLocalFile()) files << url.toLocalFile();
  return files;
}

}  // namespace

void CNoteTreeView::dragEnterEvent(QDragEnterEvent* pEvent) {
  if (LocalFiles(pEvent->mimeData()).isEmpty()) return QTreeView::dragEnterEvent(pEvent);
  pEvent->setDropAction(Qt::CopyAction);
  pEvent->accept();
}

void CNoteTreeView::dragMoveEvent(QDragMoveEvent* pEvent) {
  if (LocalFiles(pEvent->mimeData()).isEmpty()) {
    QTreeView::dragMoveEvent(pEvent);
  } else {
    pEvent->setDropAction(Qt::CopyAction);
    pEvent->accept();
  }
  TrackDragRest(pEvent->position().toPoint());
}

void CNoteTreeView::TrackDragRest(const QPoint& pos) {
  QModelIndex index = indexAt(pos);
  if (index == m_dragRest) return;
  m_dragRest = index;
  if (index.isValid() && !isExpanded(index) && m_model.hasChildren(index))
    m_expandTimer.start();
  else
    m_expandTimer.stop();
}

void CNoteTreeView::dragLeaveEvent(QDragLeaveEvent* pEvent) {
  m_expandTimer.stop();
  m_dragRest = QModelIndex();
  QTreeView::dragLeaveEvent(pEvent);
}

void CNoteTreeView::dropEvent(QDropEvent* pEvent) {
  m_expandTimer.stop();
  m_dragRest = QModelIndex();
  const QStringList files = LocalFiles(pEvent->mimeData());
  if (files.isEmpty()) return QTreeView::dropEvent(pEvent);
  XMLelement* pNote = m_model.Note(indexAt(pEvent->position().toPoint()));
  pEvent->setDropAction(Qt::CopyAction);
  pEvent->accept();
  QTimer::singleShot(0, this, [this, pNote, files] {
    if (pNote)
      emit FilesDropped(pNote, files);
    else
      emit DocumentDropped(files.front());
  });
}

}  // namespace orv
