#include "ui/editors/rich_text_edit.h"

#include <QMouseEvent>

namespace orv {

CRichTextEdit::CRichTextEdit(QWidget* pParent) : QTextEdit(pParent) {
  setAcceptRichText(true);
  setMouseTracking(true);
}

void CRichTextEdit::mousePressEvent(QMouseEvent* pEvent) {
  QString sLink = anchorAt(pEvent->position().toPoint());
  if (pEvent->button() == Qt::LeftButton && !sLink.isEmpty()) {
    emit LinkClicked(sLink);
    return;
  }
  QTextEdit::mousePressEvent(pEvent);
}

void CRichTextEdit::mouseMoveEvent(QMouseEvent* pEvent) {
  bool bOverLink = !anchorAt(pEvent->position().toPoint()).isEmpty();
  viewport()->setCursor(bOverLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
  QTextEdit::mouseMoveEvent(pEvent);
}

}  // namespace orv
