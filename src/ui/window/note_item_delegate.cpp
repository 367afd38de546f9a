#include "ui/window/note_item_delegate.h"

#include <QApplication>
#include <QPainter>

#include "ui/window/note_tree_model.h"

namespace orv {

namespace {

QStyle* StyleOf(const QStyleOptionViewItem& option) {
  return option.widget ? option.widget->style() : QApplication::style();
}

}  // namespace

CNoteItemDelegate::CNoteItemDelegate(const CNoteTreeModel& model, QObject* pParent)
    : QStyledItemDelegate(pParent), m_model(model) {}

int CNoteItemDelegate::BoxRoom(const QStyleOptionViewItem& option) {
  QStyleOptionViewItem withBox = option;
  withBox.features |= QStyleOptionViewItem::HasCheckIndicator;
  QStyleOptionViewItem without = option;
  without.features &= ~QStyleOptionViewItem::HasCheckIndicator;
  QStyle* pStyle = StyleOf(option);
  return pStyle->subElementRect(QStyle::SE_ItemViewItemText, &withBox, option.widget).left() -
         pStyle->subElementRect(QStyle::SE_ItemViewItemText, &without, option.widget).left();
}

bool CNoteItemDelegate::KeepsRoom(const QStyleOptionViewItem& option) const {
  return m_model.ShowsCheckBoxes() && !(option.features & QStyleOptionViewItem::HasCheckIndicator);
}

QStyleOptionViewItem CNoteItemDelegate::ItemOption(const QStyleOptionViewItem& viewOption,
                                                   const QModelIndex& index) const {
  QStyleOptionViewItem option = viewOption;
  initStyleOption(&option, index);
  if (KeepsRoom(option)) option.rect.setLeft(option.rect.left() + BoxRoom(option));
  return option;
}

void CNoteItemDelegate::paint(QPainter* pPainter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
  QStyleOptionViewItem item = ItemOption(option, index);
  QStyle* pStyle = StyleOf(item);
  // The room left for a box takes the row's background and selection too.
  if (item.rect != option.rect) {
    QStyleOptionViewItem panel = item;
    panel.rect = option.rect;
    pStyle->drawPrimitive(QStyle::PE_PanelItemViewItem, &panel, pPainter, item.widget);
  }
  pStyle->drawControl(QStyle::CE_ItemViewItem, &item, pPainter, item.widget);
}

QSize CNoteItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  if (KeepsRoom(item)) size.rwidth() += BoxRoom(item);
  return size;
}

}  // namespace orv
