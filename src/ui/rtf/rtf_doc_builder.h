#pragma once
// Puts the paragraphs and tables the RTF reader gathered into a
// QTextDocument, turning RTF's numbered fonts, colours and lists into Qt
// formats.

#include <QTextCursor>
#include <QTextDocument>
#include <map>
#include <tuple>

#include "ui/rtf/rtf_content.h"
#include "ui/rtf/rtf_list_table.h"

class QTextList;

namespace orv {

// The tables a document's header declares, and the links its fields name.
struct SRtfTables {
  std::vector<SRtfFont> vecFonts;  // indexed by font number through mapFontIndex
  std::map<int, size_t> mapFontIndex;
  std::vector<QColor> vecColors;  // entry 0 is the default colour
  std::vector<QString> vecLinks;
  CRtfListTable lists;
};

class CRtfDocBuilder {
 public:
  // Starts with doc empty; the builder writes from its start.
  CRtfDocBuilder(QTextDocument& doc, const SRtfTables& tables);
  void AddParagraph(const SRtfParagraph& paragraph);
  void AddTable(const SRtfTable& table);

 private:
  // The latest list of a kind, style or override, and level.
  struct SOpenList {
    QTextList* pList = nullptr;
    bool bInterrupted = false;  // an ordinary paragraph came after its last item
  };
  // A place paragraphs go: the document's body or one table cell. Lists
  // continue within one place only.
  struct SPlace {
    QTextCursor cursor;
    bool bFresh = true;  // the cursor's block is empty and not yet used
    std::map<std::tuple<int, int, int>, SOpenList> mapLists;
  };

  void WriteParagraph(SPlace& place, const SRtfParagraph& paragraph) const;
  void JoinList(SPlace& place, const SRtfParaState& para) const;
  QTextCharFormat CharFormat(const SRtfCharState& ch) const;
  QTextBlockFormat BlockFormat(const SRtfParaState& para) const;

  const SRtfTables& m_tables;
  SPlace m_body;
};

// Twips (1/1440 inch) to the document's pixels (1/96 inch) and back.
double TwipsToPixels(int nTwips);
int PixelsToTwips(double dPixels);

}  // namespace orv
