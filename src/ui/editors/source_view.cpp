#include "ui/editors/source_view.h"

#include <QFontDatabase>
#include <QRegularExpression>
#include <QSyntaxHighlighter>

namespace orv {

namespace {

class CHtmlHighlighter : public QSyntaxHighlighter {
 public:
  explicit CHtmlHighlighter(QTextDocument* pDocument) : QSyntaxHighlighter(pDocument) {
    m_tag.setForeground(QColor(0x1f, 0x4e, 0xb4));
    m_tag.setFontWeight(QFont::Bold);
    m_attribute.setForeground(QColor(0x8a, 0x3f, 0x9c));
    m_value.setForeground(QColor(0x1a, 0x7f, 0x37));
    m_entity.setForeground(QColor(0xb3, 0x5c, 0x00));
    m_comment.setForeground(Qt::gray);
    m_comment.setFontItalic(true);
  }

 protected:
  void highlightBlock(const QString& sText) override {
    static const QRegularExpression kEntity("&#?\\w+;");
    static const QRegularExpression kTag("</?[A-Za-z][^\\s>/]*");
    static const QRegularExpression kAttribute(
        "\\s([^\\s=>]+)(\\s*=\\s*(\"[^\"]*\"?|'[^']*'?|[^\\s>]*))?");
    HighlightComments(sText);
    for (auto it = kEntity.globalMatch(sText); it.hasNext();) {
      const QRegularExpressionMatch match = it.next();
      if (InComment(match.capturedStart())) continue;
      setFormat(static_cast<int>(match.capturedStart()), static_cast<int>(match.capturedLength()),
                m_entity);
    }
    // Tags: their name, then each attribute and its value up to the ">".
    for (auto it = kTag.globalMatch(sText); it.hasNext();) {
      const QRegularExpressionMatch match = it.next();
      const qsizetype nStart = match.capturedStart();
      if (InComment(nStart)) continue;
      setFormat(static_cast<int>(nStart), static_cast<int>(match.capturedLength()), m_tag);
      const qsizetype nClose = sText.indexOf('>', match.capturedEnd());
      const qsizetype nEnd = nClose < 0 ? sText.size() : nClose;
      const QString sInside = sText.mid(match.capturedEnd(), nEnd - match.capturedEnd());
      for (auto attr = kAttribute.globalMatch(sInside); attr.hasNext();) {
        const QRegularExpressionMatch found = attr.next();
        const int nOffset = static_cast<int>(match.capturedEnd());
        setFormat(nOffset + static_cast<int>(found.capturedStart(1)),
                  static_cast<int>(found.capturedLength(1)), m_attribute);
        if (found.capturedLength(3) > 0)
          setFormat(nOffset + static_cast<int>(found.capturedStart(3)),
                    static_cast<int>(found.capturedLength(3)), m_value);
      }
      if (nClose >= 0) setFormat(static_cast<int>(nClose), 1, m_tag);
    }
  }

 private:
  // A comment may run over several lines: the block state says whether one
  // is open at the end of the line.
  void HighlightComments(const QString& sText) {
    qsizetype nStart = previousBlockState() == 1 ? 0 : sText.indexOf("<!--");
    setCurrentBlockState(0);
    while (nStart >= 0) {
      const qsizetype nEnd = sText.indexOf("-->", nStart);
      const qsizetype nLength = nEnd < 0 ? sText.size() - nStart : nEnd + 3 - nStart;
      if (nEnd < 0) setCurrentBlockState(1);
      setFormat(static_cast<int>(nStart), static_cast<int>(nLength), m_comment);
      nStart = nEnd < 0 ? -1 : sText.indexOf("<!--", nStart + nLength);
    }
  }

  bool InComment(qsizetype nPos) const { return format(static_cast<int>(nPos)) == m_comment; }

  QTextCharFormat m_tag;
  QTextCharFormat m_attribute;
  QTextCharFormat m_value;
  QTextCharFormat m_entity;
  QTextCharFormat m_comment;
};

}  // namespace

CSourceView::CSourceView(QWidget* pParent) : QPlainTextEdit(pParent) {
  setObjectName("HtmlSourceEditor");
  setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  new CHtmlHighlighter(document());
}

void CSourceView::Load(const QString& sHtml) {
  document()->setUndoRedoEnabled(false);
  setPlainText(sHtml);
  document()->setUndoRedoEnabled(true);
  document()->setModified(false);
}

}  // namespace orv
