#include "ui/rtf/rtf_write_tables.h"

#include <QTextBlock>
#include <QTextDocument>
#include <cmath>

namespace orv {
namespace {

constexpr double kPlainPointSize = 12;  // what RTF readers assume without \fs

QColor ColorOf(const QBrush& brush) {
  return brush.style() == Qt::NoBrush ? QColor() : brush.color();
}

}  // namespace

CRtfWriteTables::CRtfWriteTables(const QTextDocument& doc)
    : m_sDefaultFamily(doc.defaultFont().family()),
      m_dDefaultPointSize(doc.defaultFont().pointSizeF() > 0 ? doc.defaultFont().pointSizeF()
                                                             : kPlainPointSize) {
  m_listFonts.append(m_sDefaultFamily);
  m_hashFonts.insert(m_sDefaultFamily, 0);
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    // The writer gives a paragraph mark's format for an empty line only; the
    // tables list no font or colour the text does not use.
    if (block.length() <= 1) Register(block.charFormat());
    for (auto it = block.begin(); !it.atEnd(); ++it) Register(it.fragment().charFormat());
  }
}

void CRtfWriteTables::Register(const QTextCharFormat& format) {
  const QString sFamily = FamilyOf(format);
  if (!m_hashFonts.contains(sFamily)) {
    m_hashFonts.insert(sFamily, static_cast<int>(m_listFonts.size()));
    m_listFonts.append(sFamily);
  }
  for (const QColor& color : {ColorOf(format.foreground()), ColorOf(format.background())}) {
    if (color.isValid() && !m_hashColors.contains(color.rgb())) {
      m_vecColors.push_back(color);
      m_hashColors.insert(color.rgb(), static_cast<int>(m_vecColors.size()));
    }
  }
}

QString CRtfWriteTables::FamilyOf(const QTextCharFormat& format) const {
  const QStringList listFamilies = format.fontFamilies().toStringList();
  return listFamilies.isEmpty() || listFamilies.front().isEmpty() ? m_sDefaultFamily
                                                                  : listFamilies.front();
}

SRtfCharState CRtfWriteTables::CharOf(const QTextCharFormat& format) const {
  SRtfCharState ch;
  ch.nFont = m_hashFonts.value(FamilyOf(format));
  const double dPoints =
      format.hasProperty(QTextFormat::FontPointSize) ? format.fontPointSize() : m_dDefaultPointSize;
  ch.nHalfPoints = std::max(1, static_cast<int>(std::lround(dPoints * 2)));
  ch.bBold = format.fontWeight() >= QFont::DemiBold;
  ch.bItalic = format.fontItalic();
  ch.bUnderline = format.fontUnderline();
  ch.bStrike = format.fontStrikeOut();
  const QColor fore = ColorOf(format.foreground());
  const QColor back = ColorOf(format.background());
  ch.nForeColor = fore.isValid() ? m_hashColors.value(fore.rgb()) : 0;
  ch.nBackColor = back.isValid() ? m_hashColors.value(back.rgb()) : 0;
  if (format.verticalAlignment() == QTextCharFormat::AlignSuperScript)
    ch.eVAlign = ERtfVAlign::Super;
  if (format.verticalAlignment() == QTextCharFormat::AlignSubScript) ch.eVAlign = ERtfVAlign::Sub;
  return ch;
}

}  // namespace orv
