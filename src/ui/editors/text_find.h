#pragma once
// Finding and replacing text in an editor's document.

#include <QString>
#include <QTextCursor>
#include <QTextDocument>

namespace orv {

struct SFindOptions {
  QString sText;
  bool bMatchCase = false;
  bool bWholeWord = false;
  bool bBackward = false;
  // Past the end (the start, going backward) the search goes on from the other end.
  bool bWrap = true;
};

struct SFound {
  QTextCursor match;  // null when there is none
  bool bWrapped = false;
};

// The first match after the selection of `from` (before it, going backward).
SFound FindText(const QTextDocument& document, const QTextCursor& from,
                const SFindOptions& options);
// Whether the selection of `cursor` is itself a match.
bool IsMatch(const QTextDocument& document, const QTextCursor& cursor, const SFindOptions& options);
// Replaces every match in the document, front to back, as one undo step;
// what a replacement inserts is not searched again. Returns how many.
int ReplaceAll(QTextDocument& document, const SFindOptions& options, const QString& sReplacement);

}  // namespace orv
