#include "editors/text_case.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace orv {
namespace {

void AppendUtf8(std::string& sOut, UChar32 c) {
  char buffer[U8_MAX_LENGTH];
  int32_t nLength = 0;
  U8_APPEND_UNSAFE(buffer, nLength, c);
  sOut.append(buffer, static_cast<size_t>(nLength));
}

// What `map` is given after the last code point.
constexpr UChar32 kEndOfText = -2;

// Passes every code point, with the one after it (kEndOfText at the end),
// through `map`. A byte sequence that is not UTF-8 reaches `map` as
// U_SENTINEL and is kept as it is whatever `map` answers.
template <typename FMap>
std::string MapCodePoints(std::string_view sText, FMap map) {
  std::string sOut;
  sOut.reserve(sText.size());
  const auto* pBytes = reinterpret_cast<const uint8_t*>(sText.data());
  const auto nLength = static_cast<int64_t>(sText.size());
  int64_t nEnd = 0;
  UChar32 c = U_SENTINEL;
  if (nLength > 0) U8_NEXT(pBytes, nEnd, nLength, c);
  for (int64_t nStart = 0; nStart < nLength;) {
    int64_t nNextEnd = nEnd;
    UChar32 cNext = kEndOfText;
    if (nNextEnd < nLength) U8_NEXT(pBytes, nNextEnd, nLength, cNext);
    const UChar32 cMapped = map(c, cNext);
    if (c < 0 || cMapped == c)
      sOut.append(sText.substr(static_cast<size_t>(nStart), static_cast<size_t>(nEnd - nStart)));
    else
      AppendUtf8(sOut, cMapped);
    nStart = nEnd;
    nEnd = nNextEnd;
    c = cNext;
  }
  return sOut;
}

// Title case is upper case but for the few digraphs (U+01C4...) that have
// a form of their own at the start of a word.
UChar32 LetterCase(UChar32 c, bool& bStart) {
  const UChar32 cMapped = bStart ? u_totitle(c) : u_tolower(c);
  bStart = false;
  return cMapped;
}

}  // namespace

std::string LowercaseText(std::string_view sText) {
  return MapCodePoints(sText, [](UChar32 c, UChar32) { return u_tolower(c); });
}

std::string UppercaseText(std::string_view sText) {
  return MapCodePoints(sText, [](UChar32 c, UChar32) { return u_toupper(c); });
}

std::string InvertCaseText(std::string_view sText) {
  return MapCodePoints(
      sText, [](UChar32 c, UChar32) { return u_islower(c) ? u_toupper(c) : u_tolower(c); });
}

std::string CapitalizeText(std::string_view sText) {
  bool bWordStart = true;
  return MapCodePoints(sText, [&](UChar32 c, UChar32) {
    if (u_isspace(c)) bWordStart = true;
    return u_isalpha(c) ? LetterCase(c, bWordStart) : c;
  });
}

std::string SentencizeText(std::string_view sText) {
  bool bSentenceStart = true;
  return MapCodePoints(sText, [&](UChar32 c, UChar32 cNext) {
    if (c == '.' && cNext != kEndOfText && !u_isdigit(cNext)) bSentenceStart = true;
    return u_isalpha(c) ? LetterCase(c, bSentenceStart) : c;
  });
}

}  // namespace orv
