#pragma once
// The text edit of the rich-text and HTML editors: a click on a link follows
// it instead of placing the caret, as users of the format expect, and only a
// link's own characters are the link: what is typed at its end (or before it
// at the start of a paragraph) is ordinary text. In a table Tab and
// Shift+Tab go from cell to cell, and Tab in the last cell adds a row.

#include <QTextEdit>
#include <functional>

namespace orv {

class CRichTextEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit CRichTextEdit(QWidget* pParent = nullptr);

  // Replaces the selection by a link to sLink that shows sCaption, in the
  // format of the text at the caret.
  void InsertLink(const QString& sLink, const QString& sCaption);
  // HTML pasted or dropped here goes through clean first.
  void CleanPastedHtml(std::function<QString(const QString&)> clean) { m_clean = std::move(clean); }

 signals:
  void LinkClicked(const QString& sLink);

 protected:
  void insertFromMimeData(const QMimeData* pSource) override;
  void keyPressEvent(QKeyEvent* pEvent) override;

 private:
  void LeaveLinkEdge();
  // Selects the text of the cell nStep cells on; false outside a table.
  bool GoToCell(int nStep);

  std::function<QString(const QString&)> m_clean;
};

}  // namespace orv
