#pragma once
// Draws the rows of the note tree pane. When the pane shows check boxes,
// every row keeps room for one, so that a boxed note lines up with the other
// notes of its level rather than looking like a subnote; the room and the
// box are where the style puts them.

#include <QStyledItemDelegate>

namespace orv {

class CNoteTreeModel;

class CNoteItemDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  CNoteItemDelegate(const CNoteTreeModel& model, QObject* pParent);

  // The option an item is drawn with, from the view's option for it.
  QStyleOptionViewItem ItemOption(const QStyleOptionViewItem& viewOption,
                                  const QModelIndex& index) const;

  void paint(QPainter* pPainter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  // How far a box moves the item's text.
  static int BoxRoom(const QStyleOptionViewItem& option);
  bool KeepsRoom(const QStyleOptionViewItem& option) const;

  const CNoteTreeModel& m_model;
};

}  // namespace orv
