#include "ui/window/note_item_delegate.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>

#include "attachments/attachment_list.h"
#include "ui/window/note_tree_model.h"

namespace orv {

namespace {

QStyle* StyleOf(const QStyleOptionViewItem& option) {
  return option.widget ? option.widget->style() : QApplication::style();
}

// The paper clip's room beside a note's name, from the font's height.
int ClipRoom(const QStyleOptionViewItem& option) { return option.fontMetrics.height() * 3 / 2; }

// A paper clip after the text: a wire in three straight runs joined by bends.
void PaintClip(QPainter& painter, const QStyleOptionViewItem& item, const QRect& textRect) {
  const qreal h = item.fontMetrics.height() * 0.9;
  const qreal w = h * 0.4;
  // The style draws the text inside a margin of its own.
  const int nMargin =
      StyleOf(item)->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, item.widget);
  const qreal left = textRect.left() + 2 * (nMargin + 1) +
                     std::min(item.fontMetrics.horizontalAdvance(item.text), textRect.width()) +
                     h * 0.3;
  const qreal top = textRect.center().y() - h / 2;
  const qreal right = left + w;
  const qreal r1 = w / 2, r2 = w * 0.3, r3 = w * 0.15;
  QPainterPath clip;
  clip.moveTo(left, top + h * 0.75);
  clip.arcTo(QRectF(left, top, 2 * r1, 2 * r1), 180, -180);
  clip.lineTo(right, top + h - r2);
  clip.arcTo(QRectF(right - 2 * r2, top + h - 2 * r2, 2 * r2, 2 * r2), 0, -180);
  clip.lineTo(right - 2 * r2, top + h * 0.3);
  clip.arcTo(QRectF(right - 2 * r2 - 2 * r3, top + h * 0.3 - r3, 2 * r3, 2 * r3), 0, 180);
  clip.lineTo(right - 2 * r2 - 2 * r3, top + h * 0.7);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  const bool bSelected = item.state & QStyle::State_Selected;
  painter.setPen(
      QPen(item.palette.color(bSelected ? QPalette::HighlightedText : QPalette::Text), 1.1));
  painter.drawPath(clip);
  painter.restore();
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
  const XMLelement* pNote = m_model.Note(index);
  if (pNote && HasAttachments(*pNote)) {
    QRect text = pStyle->subElementRect(QStyle::SE_ItemViewItemText, &item, item.widget);
    text.setRight(text.right() - ClipRoom(item));
    PaintClip(*pPainter, item, text);
  }
}

QSize CNoteItemDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
  QSize size = QStyledItemDelegate::sizeHint(option, index);
  QStyleOptionViewItem item = option;
  initStyleOption(&item, index);
  if (KeepsRoom(item)) size.rwidth() += BoxRoom(item);
  const XMLelement* pNote = m_model.Note(index);
  if (pNote && HasAttachments(*pNote)) size.rwidth() += ClipRoom(item);
  return size;
}

}  // namespace orv
