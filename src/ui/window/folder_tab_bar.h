#pragma once
// The tab bar with one tab per folder; choosing a tab switches folders
// through the core, right-clicking one opens the folder menu there.

#include <QMenu>
#include <QTabBar>

#include "tree/note_tree.h"

namespace orv {

class CFolderTabBar : public QTabBar {
  Q_OBJECT

 public:
  CFolderTabBar(CNoteTree& tree, QWidget* pParent = nullptr);

  void Rebuild();
  // Moves to the next folder's tab, or the previous one's, round the ends.
  void StepFolder(int nStep);
  void SetContextMenu(QMenu* pMenu) { m_pContextMenu = pMenu; }

 protected:
  bool event(QEvent* pEvent) override;
  void mousePressEvent(QMouseEvent* pEvent) override;
  void contextMenuEvent(QContextMenuEvent* pEvent) override;

 private:
  CNoteTree& m_tree;
  QMenu* m_pContextMenu = nullptr;
  bool m_bRebuilding = false;
};

}  // namespace orv
