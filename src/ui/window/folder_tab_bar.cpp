#include "ui/window/folder_tab_bar.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>

#include "tree/folder_commands.h"
#include "ui/dialogs/note_icons.h"
#include "ui/window/shown_as_is.h"

namespace orv {

CFolderTabBar::CFolderTabBar(CNoteTree& tree, QWidget* pParent) : QTabBar(pParent), m_tree(tree) {
  setDocumentMode(true);
  setExpanding(false);
  setUsesScrollButtons(true);
  connect(this, &QTabBar::currentChanged, this, [this](int nIndex) {
    if (!m_bRebuilding && nIndex >= 0 && nIndex != m_tree.CurrentIndex())
      SwitchFolder(m_tree, nIndex);
  });
}

void CFolderTabBar::Rebuild() {
  m_bRebuilding = true;
  while (count() > 0) removeTab(0);
  for (const auto& pFolder : m_tree.Folders())
    addTab(NoteIcon(pFolder->FolderIcon()),
           ShownAsIs(QString::fromStdString(pFolder->FolderName())));
  setCurrentIndex(m_tree.CurrentIndex());
  m_bRebuilding = false;
}

void CFolderTabBar::StepFolder(int nStep) {
  if (count() > 1) setCurrentIndex((currentIndex() + nStep + count()) % count());
}

bool CFolderTabBar::event(QEvent* pEvent) {
  if (pEvent->type() == QEvent::ToolTip) {
    auto* pHelp = static_cast<QHelpEvent*>(pEvent);
    int nTab = tabAt(pHelp->pos());
    const auto& folders = m_tree.Folders();
    if (nTab >= 0 && nTab < static_cast<int>(folders.Count()))
      QToolTip::showText(pHelp->globalPos(), QString::fromStdString(TabToolTip(folders.At(nTab))),
                         this);
    else
      QToolTip::hideText();
    return true;
  }
  return QTabBar::event(pEvent);
}

void CFolderTabBar::mousePressEvent(QMouseEvent* pEvent) {
  if (pEvent->button() == Qt::RightButton) {
    int nTab = tabAt(pEvent->position().toPoint());
    if (nTab >= 0) setCurrentIndex(nTab);
    return;
  }
  QTabBar::mousePressEvent(pEvent);
}

void CFolderTabBar::contextMenuEvent(QContextMenuEvent* pEvent) {
  // Taken here, so the tool bar holding the tabs does not add its own menu.
  pEvent->accept();
  if (m_pContextMenu) m_pContextMenu->popup(pEvent->globalPos());
}

}  // namespace orv
