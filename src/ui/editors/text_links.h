#pragma once
// Links in the editors: the edit's own anchors and the links that stand as
// plain text (as the Windows edition's notes hold them). Those are drawn as
// links by a highlighter, which leaves the document alone (no undo step, not
// modified, stored as it was), and a click on either kind follows it.

#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

namespace orv {

// The links standing as text in a paragraph, as (start, length) in sText.
std::vector<std::pair<int, int>> TextLinkRanges(const QString& sText);
// The link standing as text that holds the character at document position nChar, or "".
QString TextLinkAt(const QTextDocument& doc, int nChar);

class CTextLinkHighlighter : public QSyntaxHighlighter {
 public:
  explicit CTextLinkHighlighter(QTextDocument* pDocument) : QSyntaxHighlighter(pDocument) {}

 protected:
  void highlightBlock(const QString& sText) override;
};

// Follows the link under a left click in a text edit's viewport (the click
// does not place the caret then) and shows a hand over links.
class CLinkClicks : public QObject {
  Q_OBJECT

 public:
  using FLinkAt = std::function<QString(const QPoint&)>;
  CLinkClicks(QWidget& viewport, FLinkAt linkAt);

 signals:
  void LinkClicked(const QString& sLink);

 protected:
  bool eventFilter(QObject* pObject, QEvent* pEvent) override;

 private:
  QWidget& m_viewport;
  FLinkAt m_linkAt;
};

// The link at a point of an edit's viewport: an anchor, else a link standing
// as text whose character is under the point (not merely the nearest one).
template <typename TEdit>
QString LinkAt(const TEdit& edit, const QPoint& point) {
  if (QString sAnchor = edit.anchorAt(point); !sAnchor.isEmpty()) return sAnchor;
  const int nNearest = edit.cursorForPosition(point).position();
  for (int nChar : {nNearest - 1, nNearest}) {
    QTextCursor before(edit.document());
    before.setPosition(std::max(nChar, 0));
    QTextCursor after = before;
    if (nChar < 0 || !after.movePosition(QTextCursor::NextCharacter) ||
        after.block() != before.block())
      continue;
    const QRect left = edit.cursorRect(before);
    const QRect right = edit.cursorRect(after);
    if (left.top() == right.top() && point.y() >= left.top() && point.y() <= left.bottom() &&
        point.x() >= std::min(left.left(), right.left()) &&
        point.x() <= std::max(left.left(), right.left()))
      return TextLinkAt(*edit.document(), nChar);
  }
  return {};
}

// Makes an edit draw the links standing in its text and follow clicked links.
template <typename TEdit>
CLinkClicks* FollowLinksIn(TEdit& edit) {
  new CTextLinkHighlighter(edit.document());
  return new CLinkClicks(*edit.viewport(),
                         [&edit](const QPoint& point) { return LinkAt(edit, point); });
}

}  // namespace orv
