#include "ui/rtf/rtf_writer.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <cmath>
#include <optional>
#include <stdexcept>
#include <tuple>

#include "text/rtf_code_pages.h"
#include "ui/rtf/rtf_doc_builder.h"
#include "ui/rtf/rtf_list_table.h"
#include "ui/rtf/rtf_output.h"
#include "ui/rtf/rtf_picture.h"
#include "ui/rtf/rtf_write_tables.h"

namespace orv {
namespace {

constexpr int kListStepTwips = 720;
constexpr int kListHangTwips = -360;
constexpr int kTableWidthTwips = 9000;  // a page's text width, for tables without fixed widths

// What a paragraph's \pard words say; a paragraph that says the same as the
// one before it needs none.
struct SParaWords {
  bool bInTable = false;
  int nAlign = 0;  // 0 left, 1 centre, 2 right, 3 justified
  int nLeft = 0, nRight = 0, nFirst = 0, nBefore = 0, nAfter = 0;
  int nListStyle = 0;  // QTextListFormat::Style; 0 for none
  bool operator==(const SParaWords&) const = default;
};

SParaWords ParaWordsOf(const QTextBlock& block, bool bInTable) {
  const QTextBlockFormat format = block.blockFormat();
  SParaWords words;
  words.bInTable = bInTable;
  const Qt::Alignment eAlign = format.alignment();
  words.nAlign = eAlign & Qt::AlignHCenter   ? 1
                 : eAlign & Qt::AlignRight   ? 2
                 : eAlign & Qt::AlignJustify ? 3
                                             : 0;
  if (const QTextList* pList = block.textList()) {
    words.nListStyle = pList->format().style();
    words.nLeft = kListStepTwips * std::max(pList->format().indent(), 1);
    words.nFirst = kListHangTwips;
  } else {
    words.nLeft = PixelsToTwips(format.leftMargin());
    words.nFirst = PixelsToTwips(format.textIndent());
  }
  words.nRight = PixelsToTwips(format.rightMargin());
  words.nBefore = PixelsToTwips(format.topMargin());
  words.nAfter = PixelsToTwips(format.bottomMargin());
  return words;
}

std::string_view NumberingWord(QTextListFormat::Style eStyle) {
  switch (eStyle) {
    case QTextListFormat::ListLowerAlpha:
      return "pnlcltr";
    case QTextListFormat::ListUpperAlpha:
      return "pnucltr";
    case QTextListFormat::ListLowerRoman:
      return "pnlcrm";
    case QTextListFormat::ListUpperRoman:
      return "pnucrm";
    default:
      return "pndec";
  }
}

// A field argument escapes its quotes and backslashes with a backslash.
QString FieldArgument(const QString& s) {
  QString sOut;
  for (QChar c : s) {
    if (c == '\\' || c == '"') sOut += '\\';
    sOut += c;
  }
  return sOut;
}

class CRtfWriter {
 public:
  CRtfWriter(const QTextDocument& doc, std::string_view sCodePage)
      : m_doc(doc),
        m_nCodePage(CodePageNumber(sCodePage)),
        m_codePage(MakeCodePage()),
        m_out(m_codePage),
        m_tables(doc) {}

  std::string Write() {
    WriteHeader();
    WriteFrame(m_doc.rootFrame());
    m_out.Raw("}");
    m_out.LineEnd();
    return m_out.Result();
  }

 private:
  CCodePage MakeCodePage() {
    // Names with no Windows code page number (UTF-8) fall back to the usual one.
    if (m_nCodePage >= 437) {
      try {
        return CCodePage(CodePageName(m_nCodePage));
      } catch (const std::invalid_argument&) {
      }
    }
    m_nCodePage = 1252;
    return CCodePage("windows-1252");
  }

  void WriteHeader() {
    m_out.Raw("{");
    m_out.Word("rtf", 1);
    m_out.Word("ansi");
    m_out.Word("ansicpg", m_nCodePage);
    m_out.Word("deff", 0);
    m_out.Raw("{");
    m_out.Word("fonttbl");
    const int nCharset = CharsetOfCodePage(m_nCodePage);
    for (qsizetype nFont = 0; nFont < m_tables.Fonts().size(); ++nFont) {
      m_out.Raw("{");
      m_out.Word("f", static_cast<int>(nFont));
      m_out.Word("fnil");
      m_out.Word("fcharset", nCharset);
      m_out.Text(m_tables.Fonts()[nFont]);
      m_out.Raw(";}");
    }
    m_out.Raw("}");
    m_out.LineEnd();
    if (!m_tables.Colors().empty()) {
      m_out.Raw("{");
      m_out.Word("colortbl");
      m_out.Raw(" ;");
      for (const QColor& color : m_tables.Colors()) {
        m_out.Word("red", color.red());
        m_out.Word("green", color.green());
        m_out.Word("blue", color.blue());
        m_out.Raw(";");
      }
      m_out.Raw("}");
      m_out.LineEnd();
    }
    m_out.Word("viewkind", 4);
    m_out.Word("uc", 1);
  }

  void WriteFrame(const QTextFrame* pFrame) {
    for (auto it = pFrame->begin(); !it.atEnd(); ++it) {
      if (const QTextFrame* pChild = it.currentFrame()) {
        if (const auto* pTable = qobject_cast<const QTextTable*>(pChild)) {
          WriteTable(pTable);
        } else {
          WriteFrame(pChild);
        }
      } else {
        WriteBlock(it.currentBlock(), false, "par");
      }
    }
  }

  void WriteTable(const QTextTable* pTable) {
    const int nColumns = pTable->columns();
    const QList<QTextLength> listWidths = pTable->format().columnWidthConstraints();
    for (int nRow = 0; nRow < pTable->rows(); ++nRow) {
      m_lastPara.reset();  // each row's paragraphs say they are in the table
      m_out.Word("trowd");
      m_out.Word("trgaph", 108);
      // In doubles, kept within a page's reach: the widths come from a file.
      constexpr double kMaxRight = 1 << 28;
      double dRight = 0;
      for (int nColumn = 0; nColumn < nColumns; ++nColumn) {
        const QTextLength width = nColumn < listWidths.size() ? listWidths[nColumn] : QTextLength();
        if (width.type() == QTextLength::FixedLength) {
          dRight += PixelsToTwips(width.rawValue());
        } else if (width.type() == QTextLength::PercentageLength) {
          dRight += kTableWidthTwips * width.rawValue() / 100;
        } else {
          dRight += static_cast<double>(kTableWidthTwips) / nColumns;
        }
        dRight = std::isfinite(dRight) ? std::clamp(dRight, 0.0, kMaxRight) : 0.0;
        m_out.Word("cellx", static_cast<int>(std::lround(dRight)));
      }
      for (int nColumn = 0; nColumn < nColumns; ++nColumn)
        WriteCell(pTable->cellAt(nRow, nColumn), nRow, nColumn);
      m_out.Word("row");
      m_out.LineEnd();
    }
    m_lastPara.reset();  // the next paragraph must leave the table
  }

  // Nested tables are written flat, their cells as paragraphs of this cell.
  void WriteCell(const QTextTableCell& cell, int nRow, int nColumn) {
    if (cell.row() != nRow || cell.column() != nColumn) {
      // A place a merged cell covers: an empty cell keeps the columns in line.
      m_out.Word("pard");
      m_out.Word("intbl");
      m_out.Word("cell");
      m_lastPara.reset();
      return;
    }
    const QTextBlock last = cell.lastCursorPosition().block();
    for (QTextBlock block = cell.firstCursorPosition().block(); block.isValid();
         block = block.next()) {
      const bool bLast = block == last;
      WriteBlock(block, true, bLast ? "cell" : "par");
      if (bLast) break;
    }
  }

  void WriteBlock(const QTextBlock& block, bool bInTable, std::string_view sEnd) {
    WriteParaWords(block, bInTable);
    if (block.textList() != nullptr) {
      m_out.Raw("{");
      m_out.Word("pntext");
      m_out.Word("f", 0);
      m_out.Text(ListItemMarker(block));
      m_out.Word("tab");
      m_out.Raw("}");
    }
    if (block.length() <= 1) SwitchChar(m_tables.CharOf(block.charFormat()));
    WriteFragments(block);
    m_out.Word(sEnd);
    if (sEnd == "par") m_out.LineEnd();
  }

  void WriteParaWords(const QTextBlock& block, bool bInTable) {
    const SParaWords words = ParaWordsOf(block, bInTable);
    if (m_lastPara == words) return;
    m_lastPara = words;
    m_out.Word("pard");
    if (words.bInTable) m_out.Word("intbl");
    if (words.nListStyle != 0) {
      WriteListWords(static_cast<QTextListFormat::Style>(words.nListStyle),
                     block.textList()->itemNumber(block) + 1);
    }
    static constexpr std::string_view kAlign[] = {"", "qc", "qr", "qj"};
    if (words.nAlign != 0) m_out.Word(kAlign[words.nAlign]);
    const std::tuple<std::string_view, int> aLengths[] = {{"fi", words.nFirst},
                                                          {"li", words.nLeft},
                                                          {"ri", words.nRight},
                                                          {"sb", words.nBefore},
                                                          {"sa", words.nAfter}};
    for (const auto& [sWord, nTwips] : aLengths) {
      if (nTwips != 0) m_out.Word(sWord, nTwips);
    }
  }

  // nNumber, the number the item shows, lets a reader carry a list on past
  // an ordinary paragraph.
  void WriteListWords(QTextListFormat::Style eStyle, int nNumber) {
    m_out.Raw("{\\*");
    m_out.Word("pn");
    if (IsBulletStyle(eStyle)) {
      m_out.Word("pnlvlblt");
      m_out.Word("pnf", 0);
      m_out.Word("pnindent", 0);
      m_out.Raw("{");
      m_out.Word("pntxtb");
      m_out.Text(BulletText(eStyle));
      m_out.Raw("}}");
      return;
    }
    m_out.Word("pnlvlbody");
    m_out.Word("pnf", 0);
    m_out.Word("pnindent", 0);
    m_out.Word("pnstart", nNumber);
    m_out.Word(NumberingWord(eStyle));
    m_out.Raw("{");
    m_out.Word("pntxta");
    m_out.Text(QStringLiteral("."));
    m_out.Raw("}}");
  }

  void WriteFragments(const QTextBlock& block) {
    QString sOpenLink;
    SRtfCharState before;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      const QTextCharFormat format = fragment.charFormat();
      const QString sHref = format.isAnchor() ? format.anchorHref() : QString();
      if (sHref != sOpenLink) {
        if (!sOpenLink.isEmpty()) CloseLink(before);
        if (!sHref.isEmpty()) OpenLink(sHref, before);
        sOpenLink = sHref;
      }
      SwitchChar(m_tables.CharOf(format));
      if (!format.isImageFormat()) {
        m_out.Text(fragment.text());
        continue;
      }
      const std::string sPicture = PictureRtf(m_doc, format.toImageFormat());
      for (qsizetype n = 0; n < fragment.length() && !sPicture.empty(); ++n) {
        m_out.LineEnd();
        m_out.Raw(sPicture);
      }
    }
    if (!sOpenLink.isEmpty()) CloseLink(before);
  }

  // Writes the text of a link inside a field, whose groups keep the formats
  // set in them from what follows.
  void OpenLink(const QString& sHref, SRtfCharState& before) {
    before = m_current;
    m_out.Raw("{");
    m_out.Word("field");
    m_out.Raw("{\\*");
    m_out.Word("fldinst");
    m_out.Raw("{ HYPERLINK \"");
    m_out.Text(FieldArgument(sHref));
    m_out.Raw("\" }}{");
    m_out.Word("fldrslt");
    m_out.Raw("{");
  }

  void CloseLink(const SRtfCharState& before) {
    m_out.Raw("}}}");
    m_current = before;
  }

  void SwitchChar(const SRtfCharState& to) {
    const SRtfCharState& from = m_current;
    if (to.nFont != from.nFont) m_out.Word("f", to.nFont);
    if (to.nHalfPoints != from.nHalfPoints) m_out.Word("fs", to.nHalfPoints);
    const auto toggle = [this](bool bFrom, bool bTo, std::string_view sOn, std::string_view sOff) {
      if (bFrom != bTo) m_out.Word(bTo ? sOn : sOff);
    };
    toggle(from.bBold, to.bBold, "b", "b0");
    toggle(from.bItalic, to.bItalic, "i", "i0");
    toggle(from.bUnderline, to.bUnderline, "ul", "ulnone");
    toggle(from.bStrike, to.bStrike, "strike", "strike0");
    if (to.nForeColor != from.nForeColor) m_out.Word("cf", to.nForeColor);
    if (to.nBackColor != from.nBackColor) m_out.Word("highlight", to.nBackColor);
    if (to.eVAlign != from.eVAlign) {
      m_out.Word(to.eVAlign == ERtfVAlign::Super ? "super"
                 : to.eVAlign == ERtfVAlign::Sub ? "sub"
                                                 : "nosupersub");
    }
    m_current = to;
  }

  const QTextDocument& m_doc;
  int m_nCodePage;
  CCodePage m_codePage;
  CRtfOutput m_out;
  CRtfWriteTables m_tables;
  SRtfCharState m_current;  // what the reader's state is at this point
  std::optional<SParaWords> m_lastPara;
};

}  // namespace

std::string WriteRtf(const QTextDocument& doc, std::string_view sCodePage) {
  return CRtfWriter(doc, sCodePage).Write();
}

}  // namespace orv
