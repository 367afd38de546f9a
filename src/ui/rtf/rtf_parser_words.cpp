// How CRtfParser applies control words, by the destination they occur in.
#include <algorithm>
#include <utility>

#include "text/rtf_code_pages.h"
#include "ui/rtf/rtf_parser.h"

namespace orv {
namespace {

using enum ERtfWord;

constexpr int kMaxUnicodeSkip = 16;
constexpr int kMaxHalfPoints = 3276;  // Word's largest font size
constexpr size_t kMaxCellBoundaries = 63;
constexpr int kMaxLevel = 8;

}  // namespace

void CRtfParser::OnWord(const SRtfToken& token) {
  if (m_nSkipDepth > 0) return;
  Commit();
  const bool bStarred = std::exchange(m_bStarred, false);
  const ERtfWord eWord = FindRtfWord(token.sText);
  if (m_nSkipChars > 0 && eWord != U) {
    --m_nSkipChars;  // a control word can stand as the fallback of \u
    return;
  }
  if ((bStarred && !IsRtfDestination(eWord)) || eWord == Skip) {
    if (m_vecGroups.size() > 1) m_nSkipDepth = 1;
    return;
  }
  ApplyWord(eWord, token);
}

void CRtfParser::StartDestination(EDest eDest) { Top().eDest = eDest; }

void CRtfParser::ApplyWord(ERtfWord eWord, const SRtfToken& token) {
  const int nParam = token.nParam;
  switch (eWord) {
    case FontTbl:
      StartDestination(EDest::FontTable);
      m_nFontNumber = -1;
      m_sFontName.clear();
      return;
    case ColorTbl:
      StartDestination(EDest::ColorTable);
      m_tables.vecColors.clear();
      return;
    case FldInst:
      StartDestination(EDest::FieldInst);
      m_sFieldInst.clear();
      return;
    case FldRslt:
      StartDestination(EDest::Text);
      StartLink();
      return;
    case ListTable:
      StartDestination(EDest::ListTable);
      return;
    case ListOverrideTable:
      StartDestination(EDest::ListOverrideTable);
      return;
    case Pn:
      StartDestination(EDest::OldStyleList);
      Top().para.list = SRtfListRef();
      m_sBulletText.clear();
      return;
    case Pict:
      StartDestination(EDest::Picture);
      m_picture = CRtfPicture();
      return;
    default:
      break;
  }
  switch (Top().eDest) {
    case EDest::FontTable:
      if (eWord == F) {
        if (m_nFontNumber >= 0) FinishFont();
        m_nFontNumber = std::max(nParam, 0);
      } else if (eWord == Fcharset) {
        m_nFontCodePage = CodePageOfCharset(nParam);
      } else if (eWord == Cpg) {
        m_nFontCodePage = std::max(nParam, 0);
      } else if (eWord == U && static_cast<char16_t>(nParam) == u';') {
        // A ';' ends the entry however it is written, as \'3b does.
        FinishFont();
        m_nSkipChars = Top().nUnicodeSkip;
      } else if (eWord == U || eWord == Uc) {
        ApplyCharWord(eWord, nParam, token.bHasParam);  // names beyond the code page
      }
      return;
    case EDest::ColorTable:
      if (eWord == Red || eWord == Green || eWord == Blue) {
        m_anRgb[eWord == Red ? 0 : eWord == Green ? 1 : 2] = std::clamp(nParam, 0, 255);
        m_bColorSet = true;
      }
      return;
    case EDest::ListTable:
    case EDest::ListOverrideTable:
    case EDest::OldStyleList:
    case EDest::Picture:
      ApplyListWord(eWord, nParam);
      return;
    default:
      break;
  }
  if (ApplyCharWord(eWord, nParam, token.bHasParam)) return;
  if (Top().eDest != EDest::Text) return;
  if (ApplyParaWord(eWord, nParam) || ApplyTableWord(eWord, nParam)) return;
  ApplyHeaderWord(eWord, nParam);
}

bool CRtfParser::ApplyCharWord(ERtfWord eWord, int nParam, bool bHasParam) {
  SRtfCharState& ch = Top().ch;
  const bool bOn = !bHasParam || nParam != 0;
  switch (eWord) {
    case Plain: {
      const int nLink = ch.nLink;  // a link's text stays a link
      ch = SRtfCharState();
      ch.nFont = m_nDefaultFont;
      ch.nLink = nLink;
      break;
    }
    case F:
      ch.nFont = nParam;
      break;
    case Fs:
      ch.nHalfPoints = nParam > 0 ? std::min(nParam, kMaxHalfPoints) : 24;
      break;
    case B:
      ch.bBold = bOn;
      break;
    case I:
      ch.bItalic = bOn;
      break;
    case Ul:
      ch.bUnderline = bOn;
      break;
    case UlNone:
      ch.bUnderline = false;
      break;
    case Strike:
      ch.bStrike = bOn;
      break;
    case Cf:
      ch.nForeColor = nParam;
      break;
    case Cb:
      ch.nBackColor = nParam;
      break;
    case Super:
      ch.eVAlign = ERtfVAlign::Super;
      break;
    case Sub:
      ch.eVAlign = ERtfVAlign::Sub;
      break;
    case NoSuperSub:
      ch.eVAlign = ERtfVAlign::Normal;
      break;
    case Uc:
      Top().nUnicodeSkip = std::clamp(nParam, 0, kMaxUnicodeSkip);
      break;
    case U:
      AddUnit(static_cast<char16_t>(nParam & 0xFFFF));
      m_nSkipChars = Top().nUnicodeSkip;
      break;
    default:
      if (const char16_t cShown = RtfWordCharacter(eWord)) {
        // \line breaks the line, not the paragraph.
        AddUnit(eWord == Line ? char16_t{0x2028} : cShown);
        break;
      }
      return false;
  }
  return true;
}

bool CRtfParser::ApplyParaWord(ERtfWord eWord, int nParam) {
  SRtfParaState& para = Top().para;
  switch (eWord) {
    case Par:
    case Page:
      EndParagraph(false);
      break;
    case Pard:
      para = SRtfParaState();
      break;
    case Ql:
      para.eAlign = Qt::AlignLeft;
      break;
    case Qc:
      para.eAlign = Qt::AlignHCenter;
      break;
    case Qr:
      para.eAlign = Qt::AlignRight;
      break;
    case Qj:
      para.eAlign = Qt::AlignJustify;
      break;
    case Li:
      para.nLeft = nParam;
      break;
    case Ri:
      para.nRight = nParam;
      break;
    case Fi:
      para.nFirst = nParam;
      break;
    case Sb:
      para.nBefore = nParam;
      break;
    case Sa:
      para.nAfter = nParam;
      break;
    case Ls:
      para.list.eKind = ERtfListKind::Override;
      para.list.nOverride = nParam;
      break;
    case Ilvl:
      para.list.nLevel = std::clamp(nParam, 0, kMaxLevel);
      break;
    default:
      return false;
  }
  return true;
}

bool CRtfParser::ApplyTableWord(ERtfWord eWord, int nParam) {
  switch (eWord) {
    case Intbl:
      Top().para.bInTable = true;
      break;
    case Cell:
      EndParagraph(true);
      m_bCellOpen = false;
      break;
    case NestCell:
      EndParagraph(true);
      break;  // nested tables are flattened into their cell
    case Row:
      EndRow();
      break;
    case Trowd:
      m_vecCellRight.clear();
      break;
    case Cellx:
      if (m_vecCellRight.size() < kMaxCellBoundaries) m_vecCellRight.push_back(nParam);
      break;
    default:
      return false;
  }
  return true;
}

void CRtfParser::ApplyHeaderWord(ERtfWord eWord, int nParam) {
  switch (eWord) {
    case AnsiCpg:
      if (nParam > 0) m_nDocCodePage = nParam;
      break;
    case Mac:
      m_nDocCodePage = 10000;
      break;
    case Pc:
      m_nDocCodePage = 437;
      break;
    case Pca:
      m_nDocCodePage = 850;
      break;
    case Deff:
      m_nDefaultFont = nParam;
      Top().ch.nFont = nParam;
      break;
    default:
      break;
  }
}

void CRtfParser::ApplyListWord(ERtfWord eWord, int nParam) {
  SRtfListRef& list = Top().para.list;
  switch (eWord) {
    // \listtable
    case List:
      m_tables.lists.BeginList();
      break;
    case ListId:
      if (Top().eDest == EDest::ListOverrideTable) {
        m_nOverrideListId = nParam;
      } else {
        m_tables.lists.SetListId(nParam);
      }
      break;
    case ListLevel:
      m_tables.lists.BeginLevel();
      break;
    case LevelNfc:
      m_tables.lists.SetLevelNumbering(nParam);
      break;
    case LevelText:
      StartDestination(EDest::LevelText);
      m_sLevelText.clear();
      break;
    case Ls:
      if (Top().eDest == EDest::ListOverrideTable)
        m_tables.lists.AddOverride(nParam, m_nOverrideListId);
      break;
    // \pn; a level word may come after \pnstart, whose number stays
    case PnLvlBlt:
      list = SRtfListRef{ERtfListKind::OldStyle, 0, -1, QTextListFormat::ListDisc, list.nStart};
      break;
    case PnLvlBody:
      list = SRtfListRef{ERtfListKind::OldStyle, 0, -1, QTextListFormat::ListDecimal, list.nStart};
      break;
    case PnLvl:
      list = SRtfListRef{ERtfListKind::OldStyle, 0, std::clamp(nParam - 1, 0, kMaxLevel),
                         QTextListFormat::ListDecimal, list.nStart};
      break;
    case PnLvlCont:
      list = SRtfListRef();
      break;
    case PnStart:
      list.nStart = nParam;
      break;
    case PnDec:
      list.eStyle = QTextListFormat::ListDecimal;
      break;
    case PnUcLtr:
      list.eStyle = QTextListFormat::ListUpperAlpha;
      break;
    case PnLcLtr:
      list.eStyle = QTextListFormat::ListLowerAlpha;
      break;
    case PnUcRm:
      list.eStyle = QTextListFormat::ListUpperRoman;
      break;
    case PnLcRm:
      list.eStyle = QTextListFormat::ListLowerRoman;
      break;
    case PnTxtB:
      StartDestination(EDest::BulletText);
      m_sBulletText.clear();
      break;
    // \pict
    case PngBlip:
      m_picture.SetKind(CRtfPicture::EKind::Png);
      break;
    case JpegBlip:
      m_picture.SetKind(CRtfPicture::EKind::Jpeg);
      break;
    case PicWGoal:
      m_picture.SetWidthGoal(nParam);
      break;
    case PicHGoal:
      m_picture.SetHeightGoal(nParam);
      break;
    case PicScaleX:
      m_picture.SetScaleX(nParam);
      break;
    case PicScaleY:
      m_picture.SetScaleY(nParam);
      break;
    default:
      break;
  }
}

}  // namespace orv
