#pragma once
// The text edit of the rich-text and HTML editors: a click on a link follows
// it instead of placing the caret, as users of the format expect, and only a
// link's own characters are the link: what is typed at its end (or before it
// at the start of a paragraph) is ordinary text.

#include <QTextEdit>

namespace orv {

class CRichTextEdit : public QTextEdit {
  Q_OBJECT

 public:
  explicit CRichTextEdit(QWidget* pParent = nullptr);

  // Replaces the selection by a link to sLink that shows sCaption, in the
  // format of the text at the caret.
  void InsertLink(const QString& sLink, const QString& sCaption);

 signals:
  void LinkClicked(const QString& sLink);

 private:
  void LeaveLinkEdge();
};

}  // namespace orv
