#include "text/rtf_code_pages.h"

#include <array>
#include <utility>

namespace orv {
namespace {

constexpr std::array<std::pair<int, int>, 14> kCharsetCodePages = {{
    {77, 10000},  // Macintosh
    {128, 932},   // Shift JIS
    {129, 949},   // Hangul
    {134, 936},   // GB 2312
    {136, 950},   // Big5
    {161, 1253},  // Greek
    {162, 1254},  // Turkish
    {163, 1258},  // Vietnamese
    {177, 1255},  // Hebrew
    {178, 1256},  // Arabic
    {186, 1257},  // Baltic
    {204, 1251},  // Cyrillic
    {222, 874},   // Thai
    {238, 1250},  // Eastern European
}};

}  // namespace

int CodePageOfCharset(int nCharset) {
  for (const auto& [nSet, nPage] : kCharsetCodePages) {
    if (nSet == nCharset) return nPage;
  }
  return 0;
}

int CharsetOfCodePage(int nCodePage) {
  for (const auto& [nSet, nPage] : kCharsetCodePages) {
    if (nPage == nCodePage) return nSet;
  }
  return 0;
}

int CodePageNumber(std::string_view sName) {
  size_t nStart = sName.size();
  while (nStart > 0 && sName[nStart - 1] >= '0' && sName[nStart - 1] <= '9') --nStart;
  const std::string_view sDigits = sName.substr(nStart);
  if (sDigits.empty() || sDigits.size() > 5) return 0;
  int nNumber = 0;
  for (char c : sDigits) nNumber = nNumber * 10 + (c - '0');
  return nNumber;
}

std::string CodePageName(int nCodePage) {
  if (nCodePage == 10000) return "MACINTOSH";
  return "CP" + std::to_string(nCodePage);
}

}  // namespace orv
