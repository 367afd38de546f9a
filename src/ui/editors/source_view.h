#pragma once
// The HTML editor's second view: the note's HTML as plain text, with tags,
// attributes, values, entities and comments coloured apart.

#include <QPlainTextEdit>

namespace orv {

class CSourceView : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit CSourceView(QWidget* pParent = nullptr);

  // Shows sHtml as a fresh start: unchanged, with nothing to undo.
  void Load(const QString& sHtml);
};

}  // namespace orv
