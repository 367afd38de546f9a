#pragma once
// The note tree pane: shows CNoteTreeModel and hands the user's selections,
// branch toggles, check-box clicks and label edits to the core.

#include <QPersistentModelIndex>
#include <QTimer>
#include <QTreeView>

#include "ui/window/note_item_delegate.h"
#include "ui/window/note_tree_model.h"

namespace orv {

class CNoteTreeView : public QTreeView {
  Q_OBJECT

 public:
  CNoteTreeView(CNoteTree& tree, QWidget* pParent = nullptr);

  CNoteTreeModel& Model() { return m_model; }
  // Rebuilds the rows from the current folder: open branches, the selected
  // note. The core's refresh flag is up meanwhile, so nothing reaches it.
  void Rebuild(XMLelement* pSelected);
  // Selects a note's item without telling the core (it chose the note).
  void ShowSelected(XMLelement* pNote);
  void StartLabelEdit(XMLelement& note);
  // Where an item's check box is drawn, in viewport coordinates; empty when
  // it has none.
  QRect CheckBoxRect(const QModelIndex& index) const;
  // Where an item's text starts, in viewport coordinates.
  int TextLeft(const QModelIndex& index) const;
  // How long a dragged note must rest on a closed branch before it opens.
  static constexpr int kExpandDelayMs = 700;

 signals:
  // The user chose another note. Sent once the view's own event handling is
  // done, since acting on it rebuilds the pane.
  void NoteChosen(XMLelement* pNote);
  // Files from a file manager were dropped on a note, to be attached to it.
  // Sent once the drop is over, since attaching may show a progress bar.
  void FilesDropped(XMLelement* pNote, const QStringList& paths);
  // A file dropped beside the notes, to be opened as the window opens one
  // dropped anywhere else.
  void DocumentDropped(const QString& sPath);

 protected:
  void mousePressEvent(QMouseEvent* pEvent) override;
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
  void keyPressEvent(QKeyEvent* pEvent) override;
  void focusInEvent(QFocusEvent* pEvent) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void startDrag(Qt::DropActions eActions) override;
  void dragEnterEvent(QDragEnterEvent* pEvent) override;
  void dragMoveEvent(QDragMoveEvent* pEvent) override;
  void dragLeaveEvent(QDragLeaveEvent* pEvent) override;
  void dropEvent(QDropEvent* pEvent) override;

 private:
  void OnToggled(const QModelIndex& index, bool bExpanded);
  // Rests the drag over closed branches, to open them.
  void TrackDragRest(const QPoint& pos);
  void EmitPendingChoice();
  QStyleOptionViewItem ItemOption(const QModelIndex& index) const;

  CNoteTree& m_tree;
  CNoteTreeModel m_model;
  CNoteItemDelegate m_delegate;
  // The closed branch a drag rests on, opened when the timer runs out.
  QPersistentModelIndex m_dragRest;
  QTimer m_expandTimer;

  bool m_bRebuilding = false;
  // A note clicked while the button is still down: choosing it rebuilds the
  // pane, which would end a drag before it began, so it waits for the release.
  XMLelement* m_pPendingChoice = nullptr;
};

}  // namespace orv
