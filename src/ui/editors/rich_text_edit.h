#pragma once
// The text edit of the rich-text and HTML editors: a click on a link follows
// it instead of placing the caret, as users of the format expect.

#include <QTextEdit>

namespace orv {

class CRichTextEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit CRichTextEdit(QWidget* pParent = nullptr);

 signals:
  void LinkClicked(const QString& sLink);

 protected:
  void mousePressEvent(QMouseEvent* pEvent) override;
  void mouseMoveEvent(QMouseEvent* pEvent) override;
};

}  // namespace orv
