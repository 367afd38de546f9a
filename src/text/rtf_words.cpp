#include "text/rtf_words.h"

#include <unordered_map>

namespace orv {
namespace {

using enum ERtfWord;

const std::unordered_map<std::string_view, ERtfWord>& Words() {
  static const std::unordered_map<std::string_view, ERtfWord> s_mapWords = {
      {"ansicpg", AnsiCpg},
      {"mac", Mac},
      {"pc", Pc},
      {"pca", Pca},
      {"deff", Deff},
      {"uc", Uc},
      {"u", U},
      {"par", Par},
      {"line", Line},
      {"tab", Tab},
      {"page", Page},
      {"emdash", Emdash},
      {"endash", Endash},
      {"bullet", Bullet},
      {"lquote", Lquote},
      {"rquote", Rquote},
      {"ldblquote", Ldblquote},
      {"rdblquote", Rdblquote},
      {"emspace", Emspace},
      {"enspace", Enspace},
      {"cell", Cell},
      {"nestcell", NestCell},
      {"row", Row},
      {"trowd", Trowd},
      {"cellx", Cellx},
      {"intbl", Intbl},
      {"pard", Pard},
      {"ql", Ql},
      {"qc", Qc},
      {"qr", Qr},
      {"qj", Qj},
      {"li", Li},
      {"ri", Ri},
      {"fi", Fi},
      {"sb", Sb},
      {"sa", Sa},
      {"plain", Plain},
      {"f", F},
      {"fs", Fs},
      {"b", B},
      {"i", I},
      {"ul", Ul},
      {"uld", Ul},
      {"uldash", Ul},
      {"uldashd", Ul},
      {"uldashdd", Ul},
      {"uldb", Ul},
      {"ulhwave", Ul},
      {"ulldash", Ul},
      {"ulth", Ul},
      {"ulthd", Ul},
      {"ulthdash", Ul},
      {"ulw", Ul},
      {"ulwave", Ul},
      {"ululdbwave", Ul},
      {"ulnone", UlNone},
      {"strike", Strike},
      {"striked", Strike},
      {"cf", Cf},
      {"cb", Cb},
      {"highlight", Cb},
      {"chcbpat", Cb},
      {"super", Super},
      {"sub", Sub},
      {"nosupersub", NoSuperSub},
      {"fonttbl", FontTbl},
      {"fcharset", Fcharset},
      {"cpg", Cpg},
      {"colortbl", ColorTbl},
      {"red", Red},
      {"green", Green},
      {"blue", Blue},
      {"fldinst", FldInst},
      {"fldrslt", FldRslt},
      {"listtable", ListTable},
      {"list", List},
      {"listid", ListId},
      {"listlevel", ListLevel},
      {"levelnfc", LevelNfc},
      {"levelnfcn", LevelNfc},
      {"leveltext", LevelText},
      {"listoverridetable", ListOverrideTable},
      {"ls", Ls},
      {"ilvl", Ilvl},
      {"pn", Pn},
      {"pnlvlblt", PnLvlBlt},
      {"pnlvlbody", PnLvlBody},
      {"pnlvlcont", PnLvlCont},
      {"pnlvl", PnLvl},
      {"pnstart", PnStart},
      {"pndec", PnDec},
      {"pnucltr", PnUcLtr},
      {"pnlcltr", PnLcLtr},
      {"pnucrm", PnUcRm},
      {"pnlcrm", PnLcRm},
      {"pntxtb", PnTxtB},
      {"pict", Pict},
      {"pngblip", PngBlip},
      {"jpegblip", JpegBlip},
      {"picwgoal", PicWGoal},
      {"pichgoal", PicHGoal},
      {"picscalex", PicScaleX},
      {"picscaley", PicScaleY},
      {"shppict", ShpPict},
      // Destinations whose text is never part of what the document shows.
      // List markers are drawn by Qt from the list itself.
      {"pntext", Skip},
      {"listtext", Skip},
      {"pntxta", Skip},
      {"pnseclvl", Skip},
      {"info", Skip},
      {"stylesheet", Skip},
      {"header", Skip},
      {"headerl", Skip},
      {"headerr", Skip},
      {"headerf", Skip},
      {"footer", Skip},
      {"footerl", Skip},
      {"footerr", Skip},
      {"footerf", Skip},
      {"footnote", Skip},
      {"annotation", Skip},
      {"atnid", Skip},
      {"atnauthor", Skip},
      {"xe", Skip},
      {"tc", Skip},
      {"txe", Skip},
      {"rxe", Skip},
      {"themedata", Skip},
      {"colorschememapping", Skip},
      {"latentstyles", Skip},
      {"datastore", Skip},
      {"xmlnstbl", Skip},
      {"generator", Skip},
      {"rsidtbl", Skip},
      {"object", Skip},
      {"shp", Skip},
      {"shpinst", Skip},
      {"nonshppict", Skip},
      {"listname", Skip},
      {"levelnumbers", Skip},
      {"pgdsctbl", Skip},
      {"revtbl", Skip},
      {"filetbl", Skip},
      {"template", Skip},
      {"userprops", Skip},
      {"docvar", Skip},
      {"ftnsep", Skip},
      {"ftnsepc", Skip},
      {"ftncn", Skip},
      {"aftnsep", Skip},
      {"aftnsepc", Skip},
      {"aftncn", Skip},
      {"bkmkstart", Skip},
      {"bkmkend", Skip},
      {"private", Skip},
      {"mmathPr", Skip},
      {"wgrffmtfilter", Skip},
  };
  return s_mapWords;
}

}  // namespace

ERtfWord FindRtfWord(std::string_view sName) {
  const auto it = Words().find(sName);
  return it == Words().end() ? Unknown : it->second;
}

bool IsRtfDestination(ERtfWord eWord) {
  switch (eWord) {
    case FontTbl:
    case ColorTbl:
    case FldInst:
    case FldRslt:
    case ListTable:
    case ListLevel:
    case LevelText:
    case ListOverrideTable:
    case Pn:
    case PnTxtB:
    case Pict:
    case ShpPict:
    case Skip:
      return true;
    default:
      return false;
  }
}

char16_t RtfWordCharacter(ERtfWord eWord) {
  switch (eWord) {
    case ERtfWord::Tab:
      return u'\t';
    case ERtfWord::Line:
      return u'\n';
    case ERtfWord::Emdash:
      return 0x2014;
    case ERtfWord::Endash:
      return 0x2013;
    case ERtfWord::Bullet:
      return 0x2022;
    case ERtfWord::Lquote:
      return 0x2018;
    case ERtfWord::Rquote:
      return 0x2019;
    case ERtfWord::Ldblquote:
      return 0x201C;
    case ERtfWord::Rdblquote:
      return 0x201D;
    case ERtfWord::Emspace:
      return 0x2003;
    case ERtfWord::Enspace:
      return 0x2002;
    default:
      return 0;
  }
}

}  // namespace orv
