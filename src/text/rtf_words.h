#pragma once
// The RTF control words the reader acts on. Words not named here are
// ignored, and the groups they start are read as ordinary content unless
// marked with \* or listed as skipped.

#include <string_view>

namespace orv {

enum class ERtfWord {
  Unknown,
  Skip,  // a destination whose whole group is never shown
  // document
  AnsiCpg,
  Mac,
  Pc,
  Pca,
  Deff,
  Uc,
  U,
  // breaks and special characters
  Par,
  Line,
  Tab,
  Page,
  Emdash,
  Endash,
  Bullet,
  Lquote,
  Rquote,
  Ldblquote,
  Rdblquote,
  Emspace,
  Enspace,
  // tables
  Cell,
  NestCell,
  Row,
  Trowd,
  Cellx,
  Intbl,
  // paragraph format
  Pard,
  Ql,
  Qc,
  Qr,
  Qj,
  Li,
  Ri,
  Fi,
  Sb,
  Sa,
  // character format
  Plain,
  F,
  Fs,
  B,
  I,
  Ul,
  UlNone,
  Strike,
  Cf,
  Cb,
  Super,
  Sub,
  NoSuperSub,
  // font and colour tables
  FontTbl,
  Fcharset,
  Cpg,
  ColorTbl,
  Red,
  Green,
  Blue,
  // fields
  FldInst,
  FldRslt,
  // Word 97 lists
  ListTable,
  List,
  ListId,
  ListLevel,
  LevelNfc,
  LevelText,
  ListOverrideTable,
  Ls,
  Ilvl,
  // old-style lists
  Pn,
  PnLvlBlt,
  PnLvlBody,
  PnLvlCont,
  PnLvl,
  PnStart,
  PnDec,
  PnUcLtr,
  PnLcLtr,
  PnUcRm,
  PnLcRm,
  PnTxtB,
  // pictures
  Pict,
  PngBlip,
  JpegBlip,
  PicWGoal,
  PicHGoal,
  PicScaleX,
  PicScaleY,
  ShpPict,
};

ERtfWord FindRtfWord(std::string_view sName);
// The character a word stands for (\tab, \emdash, \lquote...; \line is a
// line feed), or 0 for words that are no character.
char16_t RtfWordCharacter(ERtfWord eWord);
// Words that start a destination the reader understands; \* before any
// other word hides its group.
bool IsRtfDestination(ERtfWord eWord);

}  // namespace orv
