#include "ui/editors/selection_edit.h"

#include <QTextBlock>
#include <QTextDocument>
#include <vector>

namespace orv {

namespace {

constexpr QChar kCr = u'\r';

QString FromCore(std::string_view sText) {
  QString sQt = QString::fromUtf8(sText.data(), static_cast<qsizetype>(sText.size()));
  sQt.replace(QStringLiteral("\r\n"), QString(QChar::ParagraphSeparator));
  sQt.replace(kCr, QChar::ParagraphSeparator);
  sQt.replace(u'\n', QChar::ParagraphSeparator);
  return sQt;
}

// Whether sNew has its paragraph breaks and pictures where sOld has them
// (the case commands' replacements have): then it can take over sOld's
// formats, and its pictures stay.
bool SameShape(const QString& sOld, const QString& sNew) {
  if (sOld.size() != sNew.size()) return false;
  for (qsizetype i = 0; i < sOld.size(); ++i) {
    for (QChar cKept : {QChar(QChar::ParagraphSeparator), QChar(QChar::ObjectReplacementCharacter)})
      if ((sOld[i] == cKept) != (sNew[i] == cKept)) return false;
  }
  return true;
}

// Rewrites the selection piece by piece in each piece's own format; sNew is
// as long as the selection. Line breaks inside a paragraph stay what they were.
void ReplaceKeepingFormats(QTextCursor& cursor, const QString& sNew) {
  const int nStart = cursor.selectionStart();
  const int nEnd = cursor.selectionEnd();
  struct SPiece {
    int nFrom;
    int nTo;
    QTextCharFormat format;
  };
  // Gathered first: rewriting a piece renumbers the fragments of its block.
  std::vector<SPiece> pieces;
  for (QTextBlock block = cursor.document()->findBlock(nStart);
       block.isValid() && block.position() < nEnd; block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const int nFrom = std::max(fragment.position(), nStart);
      const int nTo = std::min(fragment.position() + fragment.length(), nEnd);
      if (nFrom < nTo && !fragment.charFormat().isImageFormat())
        pieces.push_back({nFrom, nTo, fragment.charFormat()});
    }
  }
  QTextCursor piece(cursor.document());
  for (const SPiece& each : pieces) {
    piece.setPosition(each.nFrom);
    piece.setPosition(each.nTo, QTextCursor::KeepAnchor);
    const QString sOld = piece.selectedText();
    QString sPiece = sNew.mid(each.nFrom - nStart, each.nTo - each.nFrom);
    for (qsizetype i = 0; i < sPiece.size(); ++i)
      if (sOld[i] == QChar::LineSeparator) sPiece[i] = QChar::LineSeparator;
    if (sPiece != sOld) piece.insertText(sPiece, each.format);
  }
  cursor.setPosition(nStart);
  cursor.setPosition(nEnd, QTextCursor::KeepAnchor);
}

}  // namespace

std::string SelectionText(const QTextCursor& cursor) {
  QString sText = cursor.selectedText();
  sText.replace(QChar::ParagraphSeparator, kCr);
  sText.replace(QChar::LineSeparator, kCr);
  return sText.toStdString();
}

QTextCursor ReplaceSelection(QTextCursor cursor, std::string_view sText, bool bReselect) {
  QString sNew = FromCore(sText);
  const int nStart = cursor.selectionStart();
  QString sOld = cursor.selectedText();
  sOld.replace(QChar::LineSeparator, QChar::ParagraphSeparator);
  cursor.beginEditBlock();
  if (SameShape(sOld, sNew)) {
    ReplaceKeepingFormats(cursor, sNew);
  } else {
    // A picture's placeholder would come back as a stray character, not the picture.
    sNew.remove(QChar::ObjectReplacementCharacter);
    QTextCursor first(cursor.document());
    first.setPosition(nStart + 1);  // a cursor tells the format of the character before it
    if (sNew.isEmpty())
      cursor.removeSelectedText();
    else
      cursor.insertText(sNew, first.charFormat());
  }
  cursor.endEditBlock();
  const int nEnd = nStart + static_cast<int>(sNew.size());
  if (bReselect) {
    cursor.setPosition(nStart);
    cursor.setPosition(sNew.endsWith(QChar::ParagraphSeparator) ? nEnd - 1 : nEnd,
                       QTextCursor::KeepAnchor);
  } else {
    cursor.setPosition(nEnd);
  }
  return cursor;
}

}  // namespace orv
