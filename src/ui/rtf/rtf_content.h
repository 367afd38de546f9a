#pragma once
// What the RTF reader gathers before it builds the document: formatting
// states as RTF numbers them, and paragraphs and tables made of runs. A
// table is only known when its last row ends, so content is kept here until
// then.

#include <QColor>
#include <QString>
#include <QTextListFormat>
#include <vector>

namespace orv {

enum class ERtfVAlign { Normal, Super, Sub };

struct SRtfCharState {
  int nFont = 0;
  int nHalfPoints = 24;
  bool bBold = false;
  bool bItalic = false;
  bool bUnderline = false;
  bool bStrike = false;
  int nForeColor = 0;  // colour table index; 0 is the default colour
  int nBackColor = 0;
  ERtfVAlign eVAlign = ERtfVAlign::Normal;
  int nLink = -1;  // index into the links found so far
  bool operator==(const SRtfCharState&) const = default;
};

enum class ERtfListKind { None, OldStyle, Override };

// A paragraph's place in a list: old style (\pn) carries its own look, an
// override (\ls) names an entry of the list table.
struct SRtfListRef {
  ERtfListKind eKind = ERtfListKind::None;
  int nOverride = 0;
  int nLevel = -1;  // -1: taken from the indent (old style only)
  QTextListFormat::Style eStyle = QTextListFormat::ListDisc;
  int nStart = 1;  // \pnstart: the number an old-style item shows
};

// Lengths in twips, as RTF gives them.
struct SRtfParaState {
  Qt::Alignment eAlign = Qt::AlignLeft;
  int nLeft = 0;
  int nRight = 0;
  int nFirst = 0;
  int nBefore = 0;
  int nAfter = 0;
  bool bInTable = false;
  SRtfListRef list;
};

struct SRtfRun {
  QString sText;
  SRtfCharState ch;
  // For a picture: its resource name and shown size in pixels (0: natural).
  QString sImage;
  double dWidth = 0;
  double dHeight = 0;
};

struct SRtfParagraph {
  std::vector<SRtfRun> vecRuns;
  SRtfParaState para;
  SRtfCharState chEnd;  // the paragraph mark's format, for an empty line's height
};

struct SRtfCell {
  std::vector<SRtfParagraph> vecParagraphs;
};

struct SRtfRow {
  std::vector<SRtfCell> vecCells;
  std::vector<int> vecCellRight;  // twips from the row's left edge
};

struct SRtfTable {
  std::vector<SRtfRow> vecRows;
};

struct SRtfFont {
  QString sName;
  int nCodePage = 0;  // 0: the document's
};

}  // namespace orv
