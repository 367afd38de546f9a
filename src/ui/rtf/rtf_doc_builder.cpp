#include "ui/rtf/rtf_doc_builder.h"

#include <QTextList>
#include <QTextTable>
#include <algorithm>
#include <cmath>

namespace orv {
namespace {

constexpr double kTwipsPerPixel = 15.0;  // 1440 twips and 96 pixels an inch
// Word's own limit; more columns are joined into the last one.
constexpr size_t kMaxColumns = 63;
constexpr int kMaxListLevel = 8;
constexpr int kListStepTwips = 720;

int OldStyleLevel(const SRtfParaState& para) {
  if (para.list.nLevel >= 0) return std::min(para.list.nLevel, kMaxListLevel);
  // Old-style lists show their depth by their indent alone.
  const int nLevel = (para.nLeft + kListStepTwips / 2) / kListStepTwips - 1;
  return std::clamp(nLevel, 0, kMaxListLevel);
}

}  // namespace

double TwipsToPixels(int nTwips) { return nTwips / kTwipsPerPixel; }
int PixelsToTwips(double dPixels) {
  // A file's sizes may be anything: far beyond any page, and still an int.
  constexpr double kMaxTwips = 1 << 28;
  const double dTwips = dPixels * kTwipsPerPixel;
  if (!std::isfinite(dTwips)) return 0;
  return static_cast<int>(std::lround(std::clamp(dTwips, -kMaxTwips, kMaxTwips)));
}

CRtfDocBuilder::CRtfDocBuilder(QTextDocument& doc, const SRtfTables& tables)
    : m_tables(tables), m_body{QTextCursor(&doc), true, {}} {}

void CRtfDocBuilder::AddParagraph(const SRtfParagraph& paragraph) {
  WriteParagraph(m_body, paragraph);
}

void CRtfDocBuilder::AddTable(const SRtfTable& table) {
  size_t nColumns = 0;
  for (const SRtfRow& row : table.vecRows) {
    nColumns = std::max({nColumns, row.vecCells.size(), row.vecCellRight.size()});
  }
  nColumns = std::min(nColumns, kMaxColumns);
  if (table.vecRows.empty() || nColumns == 0) return;

  QTextTableFormat format;
  format.setBorder(1);
  format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
  format.setBorderCollapse(true);
  format.setCellSpacing(0);
  format.setCellPadding(2);
  const std::vector<int>& vecRight = table.vecRows.front().vecCellRight;
  if (vecRight.size() == nColumns) {
    QList<QTextLength> listWidths;
    int nLeft = 0;
    for (int nRight : vecRight) {
      listWidths.append(
          QTextLength(QTextLength::FixedLength, TwipsToPixels(std::max(nRight - nLeft, 0))));
      nLeft = nRight;
    }
    format.setColumnWidthConstraints(listWidths);
  }

  QTextTable* pTable = m_body.cursor.insertTable(static_cast<int>(table.vecRows.size()),
                                                 static_cast<int>(nColumns), format);
  for (size_t nRow = 0; nRow < table.vecRows.size(); ++nRow) {
    const std::vector<SRtfCell>& vecCells = table.vecRows[nRow].vecCells;
    SPlace cell{};
    for (size_t nCell = 0; nCell < vecCells.size(); ++nCell) {
      if (nCell < nColumns) {
        cell = SPlace{
            pTable->cellAt(static_cast<int>(nRow), static_cast<int>(nCell)).firstCursorPosition(),
            true,
            {}};
      }
      for (const SRtfParagraph& paragraph : vecCells[nCell].vecParagraphs)
        WriteParagraph(cell, paragraph);
    }
  }
  m_body.cursor.movePosition(QTextCursor::End);
  m_body.bFresh = true;
  m_body.mapLists.clear();
}

void CRtfDocBuilder::WriteParagraph(SPlace& place, const SRtfParagraph& paragraph) const {
  const QTextBlockFormat block = BlockFormat(paragraph.para);
  const QTextCharFormat mark = CharFormat(paragraph.chEnd);
  if (place.bFresh) {
    place.cursor.setBlockFormat(block);
    place.cursor.setBlockCharFormat(mark);
    place.bFresh = false;
  } else {
    place.cursor.insertBlock(block, mark);
  }
  for (const SRtfRun& run : paragraph.vecRuns) {
    if (run.sImage.isEmpty()) {
      place.cursor.insertText(run.sText, CharFormat(run.ch));
      continue;
    }
    QTextImageFormat image;
    image.merge(CharFormat(run.ch));
    image.setName(run.sImage);
    if (run.dWidth > 0) image.setWidth(run.dWidth);
    if (run.dHeight > 0) image.setHeight(run.dHeight);
    place.cursor.insertImage(image);
  }
  JoinList(place, paragraph.para);
}

void CRtfDocBuilder::JoinList(SPlace& place, const SRtfParaState& para) const {
  const SRtfListRef& ref = para.list;
  if (ref.eKind == ERtfListKind::None) {
    // Old-style numbering starts again after an ordinary paragraph unless an
    // item's \pnstart goes on from it; Word's lists go on.
    for (auto& [key, open] : place.mapLists) {
      if (std::get<0>(key) == static_cast<int>(ERtfListKind::OldStyle)) open.bInterrupted = true;
    }
    return;
  }
  int nLevel;
  QTextListFormat::Style eStyle;
  int nWhich;
  if (ref.eKind == ERtfListKind::OldStyle) {
    nLevel = OldStyleLevel(para);
    eStyle = ref.eStyle;
    nWhich = static_cast<int>(eStyle);
  } else {
    nLevel = std::clamp(ref.nLevel, 0, kMaxListLevel);
    eStyle = m_tables.lists.Style(ref.nOverride, nLevel);
    nWhich = ref.nOverride;
  }
  const auto key = std::make_tuple(static_cast<int>(ref.eKind), nWhich, nLevel);
  const auto it = place.mapLists.find(key);
  if (it != place.mapLists.end()) {
    SOpenList& open = it->second;
    if (!open.bInterrupted || ref.nStart == open.pList->count() + 1) {
      open.pList->add(place.cursor.block());
      open.bInterrupted = false;
      return;
    }
  }
  QTextListFormat format;
  format.setStyle(eStyle);
  format.setIndent(nLevel + 1);
  place.mapLists[key] = SOpenList{place.cursor.createList(format), false};
}

QTextCharFormat CRtfDocBuilder::CharFormat(const SRtfCharState& ch) const {
  QTextCharFormat format;
  const auto itFont = m_tables.mapFontIndex.find(ch.nFont);
  if (itFont != m_tables.mapFontIndex.end() && !m_tables.vecFonts[itFont->second].sName.isEmpty()) {
    format.setFontFamilies(QStringList{m_tables.vecFonts[itFont->second].sName});
  }
  format.setFontPointSize(std::max(ch.nHalfPoints, 1) / 2.0);
  if (ch.bBold) format.setFontWeight(QFont::Bold);
  if (ch.bItalic) format.setFontItalic(true);
  if (ch.bUnderline) format.setFontUnderline(true);
  if (ch.bStrike) format.setFontStrikeOut(true);
  const auto colorAt = [this](int nIndex) {
    return nIndex > 0 && static_cast<size_t>(nIndex) < m_tables.vecColors.size()
               ? m_tables.vecColors[nIndex]
               : QColor();
  };
  if (const QColor color = colorAt(ch.nForeColor); color.isValid()) format.setForeground(color);
  if (const QColor color = colorAt(ch.nBackColor); color.isValid()) format.setBackground(color);
  if (ch.eVAlign == ERtfVAlign::Super)
    format.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
  if (ch.eVAlign == ERtfVAlign::Sub) format.setVerticalAlignment(QTextCharFormat::AlignSubScript);
  if (ch.nLink >= 0 && static_cast<size_t>(ch.nLink) < m_tables.vecLinks.size()) {
    format.setAnchor(true);
    format.setAnchorHref(m_tables.vecLinks[ch.nLink]);
  }
  return format;
}

QTextBlockFormat CRtfDocBuilder::BlockFormat(const SRtfParaState& para) const {
  QTextBlockFormat format;
  if (para.eAlign != Qt::AlignLeft) format.setAlignment(para.eAlign);
  // A list's own indent places its items; the paragraph's would come on top.
  if (para.list.eKind == ERtfListKind::None) {
    if (para.nLeft != 0) format.setLeftMargin(TwipsToPixels(para.nLeft));
    if (para.nFirst != 0) format.setTextIndent(TwipsToPixels(para.nFirst));
  }
  if (para.nRight != 0) format.setRightMargin(TwipsToPixels(para.nRight));
  if (para.nBefore != 0) format.setTopMargin(TwipsToPixels(para.nBefore));
  if (para.nAfter != 0) format.setBottomMargin(TwipsToPixels(para.nAfter));
  return format;
}

}  // namespace orv
