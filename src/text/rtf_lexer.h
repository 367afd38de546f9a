#pragma once
// Splits RTF text into tokens. Every token is found by looking at the bytes
// ahead only, and a length read from the input (\binN) is cut to the bytes
// left, so any input is read in linear time.

#include <cstdint>
#include <string_view>

namespace orv {

enum class ERtfToken {
  End,
  GroupStart,
  GroupEnd,
  ControlWord,
  ControlSymbol,
  Text,
  HexByte,
  Binary
};

struct SRtfToken {
  ERtfToken eType = ERtfToken::End;
  // The control word's name, the text run, or the \bin data.
  std::string_view sText;
  int nParam = 0;
  bool bHasParam = false;
  // The control symbol's character, or the \'hh byte.
  uint8_t nByte = 0;
};

class CRtfLexer {
 public:
  explicit CRtfLexer(std::string_view sRtf) : m_s(sRtf) {}
  SRtfToken Next();

 private:
  SRtfToken ReadControl();
  SRtfToken ReadWord();

  std::string_view m_s;
  size_t m_nPos = 0;
};

}  // namespace orv
