#include "ui/editors/text_find.h"

namespace orv {

namespace {

QTextDocument::FindFlags Flags(const SFindOptions& options, bool bBackward) {
  QTextDocument::FindFlags flags;
  if (options.bMatchCase) flags |= QTextDocument::FindCaseSensitively;
  if (options.bWholeWord) flags |= QTextDocument::FindWholeWords;
  if (bBackward) flags |= QTextDocument::FindBackward;
  return flags;
}

}  // namespace

SFound FindText(const QTextDocument& document, const QTextCursor& from,
                const SFindOptions& options) {
  if (options.sText.isEmpty()) return {};
  const QTextDocument::FindFlags flags = Flags(options, options.bBackward);
  QTextCursor match = document.find(options.sText, from, flags);
  if (!match.isNull() || !options.bWrap) return {match, false};
  QTextCursor end(const_cast<QTextDocument*>(&document));
  if (options.bBackward) end.movePosition(QTextCursor::End);
  match = document.find(options.sText, end, flags);
  return {match, !match.isNull()};
}

bool IsMatch(const QTextDocument& document, const QTextCursor& cursor,
             const SFindOptions& options) {
  if (!cursor.hasSelection() || options.sText.isEmpty()) return false;
  QTextCursor start(cursor);
  start.setPosition(cursor.selectionStart());
  const QTextCursor match = document.find(options.sText, start, Flags(options, false));
  return !match.isNull() && match.selectionStart() == cursor.selectionStart() &&
         match.selectionEnd() == cursor.selectionEnd();
}

int ReplaceAll(QTextDocument& document, const SFindOptions& options, const QString& sReplacement) {
  if (options.sText.isEmpty()) return 0;
  const QTextDocument::FindFlags flags = Flags(options, false);
  QTextCursor edit(&document);
  int nReplaced = 0;
  edit.beginEditBlock();
  for (QTextCursor match = document.find(options.sText, edit, flags); !match.isNull();
       match = document.find(options.sText, edit, flags)) {
    edit.setPosition(match.selectionStart());
    edit.setPosition(match.selectionEnd(), QTextCursor::KeepAnchor);
    edit.insertText(sReplacement);
    ++nReplaced;
  }
  edit.endEditBlock();
  return nReplaced;
}

}  // namespace orv
