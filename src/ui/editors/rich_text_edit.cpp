#include "ui/editors/rich_text_edit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextTable>

#include "ui/editors/text_links.h"

namespace orv {

namespace {

// The link of the character at nPos, or "".
QString HrefAt(QTextDocument* pDocument, int nPos) {
  QTextCursor probe(pDocument);
  probe.setPosition(nPos + 1);  // a cursor tells the format of the character before it
  const QTextCharFormat format = probe.charFormat();
  return format.isAnchor() ? format.anchorHref() : QString();
}

// What typing next to a link goes on with: the format of the last ordinary
// text before the caret in its paragraph, else the link's own without what
// makes it a link and look like one.
QTextCharFormat OrdinaryFormat(const QTextBlock& block, int nPos, QTextCharFormat link) {
  for (auto it = block.begin(); !it.atEnd() && it.fragment().position() < nPos; ++it) {
    if (!it.fragment().charFormat().isAnchor()) link = it.fragment().charFormat();
  }
  if (!link.isAnchor()) return link;
  for (QTextFormat::Property eProperty :
       {QTextFormat::IsAnchor, QTextFormat::AnchorHref, QTextFormat::AnchorName,
        QTextFormat::TextUnderlineStyle, QTextFormat::ForegroundBrush})
    link.clearProperty(eProperty);
  return link;
}

}  // namespace

CRichTextEdit::CRichTextEdit(QWidget* pParent) : QTextEdit(pParent) {
  setAcceptRichText(true);
  connect(FollowLinksIn(*this), &CLinkClicks::LinkClicked, this, &CRichTextEdit::LinkClicked);
  connect(this, &QTextEdit::cursorPositionChanged, this, &CRichTextEdit::LeaveLinkEdge);
}

void CRichTextEdit::InsertLink(const QString& sLink, const QString& sCaption) {
  QTextCursor cursor = textCursor();
  QTextCharFormat format = cursor.charFormat();
  format.setAnchor(true);
  format.setAnchorHref(sLink);
  format.setForeground(palette().link());
  format.setFontUnderline(true);
  cursor.insertText(sCaption, format);
}

void CRichTextEdit::insertFromMimeData(const QMimeData* pSource) {
  if (!m_clean || !pSource->hasHtml()) return QTextEdit::insertFromMimeData(pSource);
  QMimeData cleaned;
  cleaned.setHtml(m_clean(pSource->html()));
  if (pSource->hasText()) cleaned.setText(pSource->text());
  QTextEdit::insertFromMimeData(&cleaned);
}

void CRichTextEdit::LeaveLinkEdge() {
  const QTextCursor cursor = textCursor();
  if (cursor.hasSelection() || !cursor.charFormat().isAnchor()) return;
  const QTextBlock block = cursor.block();
  const int nPos = cursor.position();
  // Between two characters of the same link, typing goes into the link.
  if (!cursor.atBlockStart() && !cursor.atBlockEnd() &&
      HrefAt(document(), nPos - 1) == HrefAt(document(), nPos) &&
      !HrefAt(document(), nPos).isEmpty())
    return;
  setCurrentCharFormat(OrdinaryFormat(block, nPos, cursor.charFormat()));
}

void CRichTextEdit::keyPressEvent(QKeyEvent* pEvent) {
  const bool bPlain = (pEvent->modifiers() & ~Qt::ShiftModifier) == Qt::NoModifier;
  const int nStep = pEvent->key() == Qt::Key_Tab ? 1 : pEvent->key() == Qt::Key_Backtab ? -1 : 0;
  if (nStep != 0 && bPlain && !isReadOnly() && GoToCell(nStep)) return;
  QTextEdit::keyPressEvent(pEvent);
}

bool CRichTextEdit::GoToCell(int nStep) {
  QTextCursor cursor = textCursor();
  QTextTable* pTable = cursor.currentTable();
  if (!pTable) return false;
  const QTextTableCell cell = pTable->cellAt(cursor);
  // Cells in reading order; a combined cell is passed over as one.
  int nIndex =
      cell.row() * pTable->columns() + cell.column() + (nStep > 0 ? cell.columnSpan() : -1);
  const int nCells = pTable->rows() * pTable->columns();
  if (nIndex < 0) return true;  // the first cell: Shift+Tab stays
  if (nIndex >= nCells) {
    pTable->appendRows(1);
    nIndex = nCells;
  }
  const QTextTableCell next =
      pTable->cellAt(nIndex / pTable->columns(), nIndex % pTable->columns());
  cursor.setPosition(next.firstPosition());
  cursor.setPosition(next.lastPosition(), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  return true;
}

}  // namespace orv
