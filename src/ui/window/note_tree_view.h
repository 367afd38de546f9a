#pragma once
// The note tree pane: shows CNoteTreeModel and hands the user's selections,
// branch toggles, check-box clicks and label edits to the core.

#include <QTreeView>

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

 signals:
  // The user chose another note. Sent once the view's own event handling is
  // done, since acting on it rebuilds the pane.
  void NoteChosen(XMLelement* pNote);

 protected:
  void mousePressEvent(QMouseEvent* pEvent) override;
  void mouseReleaseEvent(QMouseEvent* pEvent) override;
  void focusInEvent(QFocusEvent* pEvent) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  void startDrag(Qt::DropActions eActions) override;

 private:
  void OnToggled(const QModelIndex& index, bool bExpanded);

  CNoteTree& m_tree;
  CNoteTreeModel m_model;
  void EmitPendingChoice();

  bool m_bRebuilding = false;
  // A note clicked while the button is still down: choosing it rebuilds the
  // pane, which would end a drag before it began, so it waits for the release.
  XMLelement* m_pPendingChoice = nullptr;
};

}  // namespace orv
