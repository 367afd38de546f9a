#pragma once
// The state machine behind ReadRtf: follows RTF's groups and destinations,
// gathers text with its formatting into paragraphs and tables, and hands
// them to a CRtfDocBuilder. Any input is read in one pass; groups nested
// deeper than a reader needs are skipped.

#include <QString>
#include <QTextDocument>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/code_page.h"
#include "text/rtf_lexer.h"
#include "text/rtf_words.h"
#include "ui/rtf/rtf_content.h"
#include "ui/rtf/rtf_doc_builder.h"
#include "ui/rtf/rtf_picture.h"

namespace orv {

class CRtfParser {
 public:
  CRtfParser(QTextDocument& doc, std::string_view sCodePage);
  void Parse(std::string_view sRtf);

 private:
  // Where the text of a group goes.
  enum class EDest {
    Text,
    FontTable,
    ColorTable,
    FieldInst,
    ListTable,
    ListOverrideTable,
    LevelText,
    OldStyleList,
    BulletText,
    Picture
  };
  struct SGroup {
    EDest eDest = EDest::Text;
    SRtfCharState ch;
    SRtfParaState para;
    int nUnicodeSkip = 1;
  };

  void OnGroupStart();
  void OnGroupEnd();
  void OnText(std::string_view sText);
  void OnBinary(std::string_view sData);
  void OnSymbol(char c);
  void OnWord(const SRtfToken& token);
  void OnDestinationEnd(const SGroup& group);
  void ApplyWord(ERtfWord eWord, const SRtfToken& token);
  bool ApplyCharWord(ERtfWord eWord, int nParam, bool bHasParam);
  bool ApplyParaWord(ERtfWord eWord, int nParam);
  void ApplyListWord(ERtfWord eWord, int nParam);
  bool ApplyTableWord(ERtfWord eWord, int nParam);
  void ApplyHeaderWord(ERtfWord eWord, int nParam);
  void StartDestination(EDest eDest);

  // Text gathering: bytes in a code page wait in m_sBytes until a run of
  // them is complete, so that double-byte characters come out whole.
  void AddByte(char c);
  void AddUnit(char16_t nUnit);
  void FlushBytes();
  // Hands the gathered text to the current destination.
  void Commit();
  const CCodePage& CodePageOf(int nCodePage);
  int FontCodePage(int nFont) const;

  void EndParagraph(bool bCell);
  void EndRow();
  void FinishTable();
  void FinishFont();
  void FinishColor();
  void StartLink();

  SGroup& Top() { return m_vecGroups.back(); }

  QTextDocument& m_doc;
  SRtfTables m_tables;
  CRtfDocBuilder m_builder;
  std::vector<SGroup> m_vecGroups;
  int m_nSkipDepth = 0;  // >0 inside a group that is skipped whole
  bool m_bStarred = false;
  int m_nSkipChars = 0;  // fallback characters after \u still to skip

  CCodePage m_defaultCodePage;
  int m_nDocCodePage = 0;  // 0: m_defaultCodePage
  std::map<int, std::unique_ptr<CCodePage>> m_mapCodePages;
  std::string m_sBytes;
  QString m_sText;

  SRtfParagraph m_paragraph;
  SRtfTable m_table;
  SRtfRow m_row;
  bool m_bCellOpen = false;
  std::vector<int> m_vecCellRight;

  int m_nDefaultFont = 0;
  int m_nFontNumber = -1;
  int m_nFontCodePage = 0;
  QString m_sFontName;
  int m_anRgb[3] = {0, 0, 0};
  bool m_bColorSet = false;
  QString m_sFieldInst;
  QString m_sLevelText;
  QString m_sBulletText;
  int m_nOverrideListId = 0;
  CRtfPicture m_picture;
  int m_nPictures = 0;
};

// The address a HYPERLINK field instruction leads to; empty for other fields.
QString HyperlinkTarget(const QString& sInstruction);

}  // namespace orv
