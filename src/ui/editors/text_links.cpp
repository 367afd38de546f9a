#include "ui/editors/text_links.h"

#include <QGuiApplication>
#include <QMouseEvent>
#include <QPalette>
#include <QTextDocument>

#include "tree/note_links.h"

namespace orv {

std::vector<std::pair<int, int>> TextLinkRanges(const QString& sText) {
  const QByteArray utf8 = sText.toUtf8();
  std::vector<std::pair<int, int>> ranges;
  // Links start and end at ASCII characters, so their byte offsets are
  // character boundaries; each piece is measured once, from the last offset on.
  size_t nByte = 0;
  int nChar = 0;
  const auto charAt = [&](size_t nTo) {
    nChar += static_cast<int>(
        QString::fromUtf8(utf8.constData() + nByte, static_cast<qsizetype>(nTo - nByte)).size());
    nByte = nTo;
    return nChar;
  };
  for (const STextLink& link : FindTextLinks(std::string_view(utf8.constData(), utf8.size()))) {
    const int nStart = charAt(link.nStart);
    ranges.emplace_back(nStart, charAt(link.nStart + link.nLength) - nStart);
  }
  return ranges;
}

QString TextLinkAt(const QTextDocument& doc, int nChar) {
  const QTextBlock block = doc.findBlock(nChar);
  const int nInBlock = nChar - block.position();
  const QString sText = block.text();
  for (const auto& [nStart, nLength] : TextLinkRanges(sText))
    if (nInBlock >= nStart && nInBlock < nStart + nLength) return sText.mid(nStart, nLength);
  return {};
}

void CTextLinkHighlighter::highlightBlock(const QString& sText) {
  QTextCharFormat look;
  look.setForeground(QGuiApplication::palette().link());
  look.setFontUnderline(true);
  for (const auto& [nStart, nLength] : TextLinkRanges(sText)) setFormat(nStart, nLength, look);
}

CLinkClicks::CLinkClicks(QWidget& viewport, FLinkAt linkAt)
    : QObject(&viewport), m_viewport(viewport), m_linkAt(std::move(linkAt)) {
  viewport.setMouseTracking(true);
  viewport.installEventFilter(this);
}

bool CLinkClicks::eventFilter(QObject* pObject, QEvent* pEvent) {
  if (pObject != &m_viewport) return false;
  if (pEvent->type() == QEvent::MouseButtonPress) {
    auto* pMouse = static_cast<QMouseEvent*>(pEvent);
    if (pMouse->button() != Qt::LeftButton) return false;
    const QString sLink = m_linkAt(pMouse->position().toPoint());
    if (sLink.isEmpty()) return false;
    emit LinkClicked(sLink);
    return true;
  }
  if (pEvent->type() == QEvent::MouseMove) {
    const bool bOverLink =
        !m_linkAt(static_cast<QMouseEvent*>(pEvent)->position().toPoint()).isEmpty();
    m_viewport.setCursor(bOverLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
  }
  return false;
}

}  // namespace orv
