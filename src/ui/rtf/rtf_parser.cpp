#include "ui/rtf/rtf_parser.h"

#include <stdexcept>
#include <utility>

#include "text/rtf_code_pages.h"

namespace orv {
namespace {

// Real documents nest a few dozen groups; deeper ones are skipped whole.
constexpr size_t kMaxDepth = 200;

CCodePage MakeCodePage(std::string_view sName) {
  try {
    return CCodePage(sName);
  } catch (const std::invalid_argument&) {
    return CCodePage("windows-1252");
  }
}

}  // namespace

CRtfParser::CRtfParser(QTextDocument& doc, std::string_view sCodePage)
    : m_doc(doc),
      m_builder(doc, m_tables),
      m_vecGroups(1),
      m_defaultCodePage(MakeCodePage(sCodePage)) {
  m_tables.vecColors.emplace_back();  // in case the document has no colour table
}

void CRtfParser::Parse(std::string_view sRtf) {
  CRtfLexer lexer(sRtf);
  for (SRtfToken token = lexer.Next(); token.eType != ERtfToken::End; token = lexer.Next()) {
    switch (token.eType) {
      case ERtfToken::GroupStart:
        OnGroupStart();
        break;
      case ERtfToken::GroupEnd:
        OnGroupEnd();
        break;
      case ERtfToken::Text:
        OnText(token.sText);
        break;
      case ERtfToken::Binary:
        OnBinary(token.sText);
        break;
      case ERtfToken::HexByte:
        if (m_nSkipDepth == 0)
          OnText(std::string_view(reinterpret_cast<const char*>(&token.nByte), 1));
        break;
      case ERtfToken::ControlSymbol:
        OnSymbol(static_cast<char>(token.nByte));
        break;
      case ERtfToken::ControlWord:
        OnWord(token);
        break;
      case ERtfToken::End:
        break;
    }
  }
  // A truncated document shows what it had.
  Commit();
  while (m_nSkipDepth == 0 && m_vecGroups.size() > 1) OnGroupEnd();
  if (!m_paragraph.vecRuns.empty()) EndParagraph(false);
  FinishTable();
}

void CRtfParser::OnGroupStart() {
  Commit();
  m_nSkipChars = 0;
  m_bStarred = false;
  if (m_nSkipDepth > 0) {
    ++m_nSkipDepth;
    return;
  }
  m_vecGroups.push_back(Top());
  if (m_vecGroups.size() > kMaxDepth) m_nSkipDepth = 1;
}

void CRtfParser::OnGroupEnd() {
  Commit();
  m_nSkipChars = 0;
  m_bStarred = false;
  if (m_nSkipDepth > 0) {
    if (--m_nSkipDepth == 0) m_vecGroups.pop_back();
    return;
  }
  if (m_vecGroups.size() <= 1) return;  // a stray brace
  // The last paragraph needs no \par: it ends with the document's group, in
  // that group's formats, not those outside it.
  if (m_vecGroups.size() == 2 && !m_paragraph.vecRuns.empty()) EndParagraph(false);
  const SGroup group = Top();
  m_vecGroups.pop_back();
  if (group.eDest != Top().eDest) OnDestinationEnd(group);
}

void CRtfParser::OnDestinationEnd(const SGroup& group) {
  switch (group.eDest) {
    case EDest::FontTable:
      FinishFont();
      break;
    case EDest::LevelText:
      m_tables.lists.SetLevelText(m_sLevelText);
      break;
    case EDest::BulletText:
      // The character before a bullet item tells a circle or square from a disc.
      if (Top().eDest == EDest::OldStyleList && IsBulletStyle(Top().para.list.eStyle)) {
        Top().para.list.eStyle = BulletStyle(m_sBulletText);
      }
      break;
    case EDest::OldStyleList:
      // \pn describes the paragraph it stands in; Word's own lists win.
      if (Top().para.list.eKind != ERtfListKind::Override) Top().para.list = group.para.list;
      break;
    case EDest::Picture: {
      SRtfRun run;
      if (Top().eDest == EDest::Text && m_picture.Finish(m_doc, ++m_nPictures, run)) {
        run.ch = Top().ch;
        m_paragraph.vecRuns.push_back(std::move(run));
      }
      break;
    }
    default:
      break;
  }
}

void CRtfParser::OnText(std::string_view sText) {
  if (m_nSkipDepth > 0) return;
  m_bStarred = false;
  switch (Top().eDest) {
    case EDest::ColorTable:
      for (char c : sText) {
        if (c == ';') FinishColor();
      }
      return;
    case EDest::Picture:
      m_picture.AddHex(sText);
      return;
    case EDest::FontTable:
      for (char c : sText) {
        if (c == ';') {
          FinishFont();
        } else {
          AddByte(c);
        }
      }
      return;
    case EDest::Text:
    case EDest::FieldInst:
    case EDest::LevelText:
    case EDest::BulletText:
      break;
    default:
      return;
  }
  while (m_nSkipChars > 0 && !sText.empty()) {
    --m_nSkipChars;
    sText.remove_prefix(1);
  }
  // Raw bytes beyond ASCII come from text already turned into UTF-8 when it
  // was loaded; the rest are code page bytes.
  if (IsUtf8BeyondAscii(sText)) {
    FlushBytes();
    m_sText += QString::fromUtf8(sText.data(), static_cast<qsizetype>(sText.size()));
    return;
  }
  for (char c : sText) AddByte(c);
}

void CRtfParser::OnBinary(std::string_view sData) {
  if (m_nSkipDepth > 0) return;
  if (m_nSkipChars > 0) {
    --m_nSkipChars;
    return;
  }
  if (Top().eDest == EDest::Picture) m_picture.AddBinary(sData);
}

void CRtfParser::OnSymbol(char c) {
  if (m_nSkipDepth > 0) return;
  if (c == '*') {
    m_bStarred = true;
    return;
  }
  if (m_nSkipChars > 0) {
    --m_nSkipChars;
    return;
  }
  switch (c) {
    case '\\':
    case '{':
    case '}':
      AddByte(c);
      break;
    case '~':
      AddUnit(0x00A0);
      break;
    case '-':
      AddUnit(0x00AD);
      break;
    case '_':
      AddUnit(0x2011);
      break;
    case '\n':
      Commit();
      if (Top().eDest == EDest::Text) EndParagraph(false);
      break;
    default:
      break;
  }
}

void CRtfParser::AddByte(char c) {
  if (m_nSkipChars > 0) {
    --m_nSkipChars;
    return;
  }
  const auto nByte = static_cast<unsigned char>(c);
  if (nByte < 0x20 && c != '\t') return;  // stray control characters
  m_sBytes += c;
}

void CRtfParser::AddUnit(char16_t nUnit) {
  FlushBytes();
  m_sText += QChar(nUnit);
}

void CRtfParser::FlushBytes() {
  if (m_sBytes.empty()) return;
  const int nCodePage =
      Top().eDest == EDest::FontTable ? m_nFontCodePage : FontCodePage(Top().ch.nFont);
  m_sText += QString::fromStdString(CodePageOf(nCodePage).ToUtf8(m_sBytes));
  m_sBytes.clear();
}

void CRtfParser::Commit() {
  FlushBytes();
  if (m_sText.isEmpty()) return;
  switch (Top().eDest) {
    case EDest::Text: {
      std::vector<SRtfRun>& vecRuns = m_paragraph.vecRuns;
      if (!vecRuns.empty() && vecRuns.back().sImage.isEmpty() && vecRuns.back().ch == Top().ch) {
        vecRuns.back().sText += m_sText;
      } else {
        vecRuns.push_back(SRtfRun{m_sText, Top().ch, {}, 0, 0});
      }
      break;
    }
    case EDest::FieldInst:
      m_sFieldInst += m_sText;
      break;
    case EDest::FontTable:
      m_sFontName += m_sText;
      break;
    case EDest::LevelText:
      m_sLevelText += m_sText;
      break;
    case EDest::BulletText:
      m_sBulletText += m_sText;
      break;
    default:
      break;
  }
  m_sText.clear();
}

const CCodePage& CRtfParser::CodePageOf(int nCodePage) {
  if (nCodePage == 0) nCodePage = m_nDocCodePage;
  if (nCodePage == 0) return m_defaultCodePage;
  auto it = m_mapCodePages.find(nCodePage);
  if (it == m_mapCodePages.end()) {
    std::unique_ptr<CCodePage> pCodePage;
    try {
      pCodePage = std::make_unique<CCodePage>(CodePageName(nCodePage));
    } catch (const std::invalid_argument&) {
      // An unknown code page reads as the document's default.
    }
    it = m_mapCodePages.emplace(nCodePage, std::move(pCodePage)).first;
  }
  return it->second ? *it->second : m_defaultCodePage;
}

int CRtfParser::FontCodePage(int nFont) const {
  const auto it = m_tables.mapFontIndex.find(nFont);
  return it == m_tables.mapFontIndex.end() ? 0 : m_tables.vecFonts[it->second].nCodePage;
}

void CRtfParser::EndParagraph(bool bCell) {
  SRtfParagraph paragraph = std::exchange(m_paragraph, SRtfParagraph());
  paragraph.para = Top().para;
  paragraph.chEnd = Top().ch;
  if (bCell || paragraph.para.bInTable) {
    if (!m_bCellOpen) {
      m_row.vecCells.emplace_back();
      m_bCellOpen = true;
    }
    m_row.vecCells.back().vecParagraphs.push_back(std::move(paragraph));
  } else {
    FinishTable();
    m_builder.AddParagraph(paragraph);
  }
}

void CRtfParser::EndRow() {
  if (!m_paragraph.vecRuns.empty()) EndParagraph(true);
  m_bCellOpen = false;
  if (m_row.vecCells.empty()) return;
  m_row.vecCellRight = m_vecCellRight;
  m_table.vecRows.push_back(std::move(m_row));
  m_row = SRtfRow();
}

void CRtfParser::FinishTable() {
  EndRow();
  if (m_table.vecRows.empty()) return;
  m_builder.AddTable(m_table);
  m_table = SRtfTable();
}

void CRtfParser::FinishFont() {
  FlushBytes();
  m_sFontName += m_sText;
  m_sText.clear();
  if (m_nFontNumber >= 0) {
    const auto [it, bNew] =
        m_tables.mapFontIndex.try_emplace(m_nFontNumber, m_tables.vecFonts.size());
    if (bNew) m_tables.vecFonts.emplace_back();
    m_tables.vecFonts[it->second] = SRtfFont{m_sFontName.trimmed(), m_nFontCodePage};
  }
  m_nFontNumber = -1;
  m_nFontCodePage = 0;
  m_sFontName.clear();
}

void CRtfParser::FinishColor() {
  // The first entry is usually empty: it stands for the default colour.
  m_tables.vecColors.push_back(m_bColorSet ? QColor(m_anRgb[0], m_anRgb[1], m_anRgb[2]) : QColor());
  m_anRgb[0] = m_anRgb[1] = m_anRgb[2] = 0;
  m_bColorSet = false;
}

void CRtfParser::StartLink() {
  const QString sTarget = HyperlinkTarget(m_sFieldInst);
  m_sFieldInst.clear();
  if (sTarget.isEmpty()) return;
  m_tables.vecLinks.push_back(sTarget);
  Top().ch.nLink = static_cast<int>(m_tables.vecLinks.size() - 1);
}

QString HyperlinkTarget(const QString& sInstruction) {
  const QString s = sInstruction.trimmed();
  if (!s.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive)) return {};
  QString sAddress;
  QString sAnchor;
  bool bAnchorNext = false;
  bool bSkipNext = false;
  qsizetype nPos = 9;
  while (nPos < s.size()) {
    if (s[nPos].isSpace()) {
      ++nPos;
      continue;
    }
    if (s[nPos] == '\\' && nPos + 1 < s.size() && s[nPos + 1] != '\\') {
      const QChar cSwitch = s[nPos + 1].toLower();
      bAnchorNext = cSwitch == 'l';
      bSkipNext = cSwitch == 'o' || cSwitch == 't';  // tool tip, target frame
      nPos += 2;
      continue;
    }
    QString sArgument;
    if (s[nPos] == '"') {
      // Field arguments escape a quote or a backslash with a backslash.
      for (++nPos; nPos < s.size() && s[nPos] != '"'; ++nPos) {
        if (s[nPos] == '\\' && nPos + 1 < s.size()) ++nPos;
        sArgument += s[nPos];
      }
      ++nPos;
    } else {
      for (; nPos < s.size() && !s[nPos].isSpace(); ++nPos) sArgument += s[nPos];
    }
    if (bAnchorNext) {
      sAnchor = sArgument;
    } else if (!bSkipNext && sAddress.isEmpty()) {
      sAddress = sArgument;
    }
    bAnchorNext = bSkipNext = false;
  }
  if (!sAnchor.isEmpty()) sAddress += '#' + sAnchor;
  return sAddress;
}

}  // namespace orv
