#pragma once
// The font and colour tables of a document the writer writes, gathered
// before its text so that the header can name them all, in the order they
// first occur.

#include <QColor>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <vector>

#include "ui/rtf/rtf_content.h"

class QTextDocument;

namespace orv {

class CRtfWriteTables {
 public:
  explicit CRtfWriteTables(const QTextDocument& doc);

  // Font 0 is the document's default font.
  const QStringList& Fonts() const { return m_listFonts; }
  // Colours 1 and on; entry 0, the default colour, is not listed.
  const std::vector<QColor>& Colors() const { return m_vecColors; }
  // A format in RTF's terms, its font and colours as table numbers.
  SRtfCharState CharOf(const QTextCharFormat& format) const;

 private:
  void Register(const QTextCharFormat& format);
  QString FamilyOf(const QTextCharFormat& format) const;

  QString m_sDefaultFamily;
  double m_dDefaultPointSize;
  QStringList m_listFonts;
  QHash<QString, int> m_hashFonts;
  std::vector<QColor> m_vecColors;
  QHash<QRgb, int> m_hashColors;
};

}  // namespace orv
