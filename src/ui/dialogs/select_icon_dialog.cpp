#include "ui/dialogs/select_icon_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "ui/dialogs/icon_glyphs.h"
#include "ui/dialogs/note_icons.h"

namespace orv {

CSelectIconDialog::CSelectIconDialog(int nCurrent, QWidget* pParent)
    : QDialog(pParent), m_pList(new QListWidget(this)) {
  setWindowTitle(tr("Select Icon"));
  m_pList->setViewMode(QListView::IconMode);
  m_pList->setIconSize(QSize(32, 32));
  m_pList->setGridSize(QSize(40, 40));
  m_pList->setMovement(QListView::Static);
  m_pList->setResizeMode(QListView::Adjust);
  m_pList->setUniformItemSizes(true);
  for (int i = 0; i < kNoteIconCount; ++i) {
    auto* pItem = new QListWidgetItem(NoteIcon(i), QString(), m_pList);
    pItem->setToolTip(QString::number(i));
  }
  // One row of the set (every glyph) across, a few rows of colours high.
  m_pList->setMinimumSize(kGlyphCount * 40 + 24, 8 * 40);
  connect(m_pList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* pLayout = new QVBoxLayout(this);
  pLayout->addWidget(m_pList);
  pLayout->addWidget(pButtons);
  SelectIcon(nCurrent);
}

int CSelectIconDialog::SelectedIcon() const {
  const int nRow = m_pList->currentRow();
  return nRow < 0 ? kDefaultNoteIcon : nRow;
}

void CSelectIconDialog::SelectIcon(int nIndex) {
  // An index the set lacks shows as the default icon, so that one is offered.
  if (nIndex < 0 || nIndex >= kNoteIconCount) nIndex = kDefaultNoteIcon;
  m_pList->setCurrentRow(nIndex);
  m_pList->scrollToItem(m_pList->currentItem(), QAbstractItemView::PositionAtCenter);
}

}  // namespace orv
