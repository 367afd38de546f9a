#include "exchange/exchange_text.h"

#include <algorithm>
#include <limits>

namespace orv {

std::vector<std::string_view> SplitLines(std::string_view sText) {
  if (sText.starts_with("\xEF\xBB\xBF")) sText.remove_prefix(3);
  std::vector<std::string_view> lines;
  while (!sText.empty()) {
    const size_t nEnd = sText.find('\n');
    std::string_view sLine = sText.substr(0, nEnd);
    while (sLine.ends_with('\r')) sLine.remove_suffix(1);
    lines.push_back(sLine);
    if (nEnd == std::string_view::npos) break;
    sText.remove_prefix(nEnd + 1);
  }
  return lines;
}

std::string DecodeForeign(std::string s, const CCodePage& codePage) {
  const bool bAscii =
      std::all_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (bAscii || IsUtf8BeyondAscii(s)) return s;
  return codePage.ToUtf8(s);
}

std::string JoinLines(const std::vector<std::string_view>& lines, const CCodePage& codePage) {
  std::string sJoined;
  size_t nSize = 0;
  for (std::string_view sLine : lines) nSize += sLine.size() + 1;
  sJoined.reserve(nSize);
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) sJoined += '\n';
    sJoined += lines[i];
  }
  // One decision for the whole text: a note is written in one encoding.
  return DecodeForeign(std::move(sJoined), codePage);
}

bool ParseLevel(std::string_view sText, int64_t& rnLevel) {
  while (!sText.empty() && (sText.back() == ' ' || sText.back() == '\t')) sText.remove_suffix(1);
  while (!sText.empty() && (sText.front() == ' ' || sText.front() == '\t')) sText.remove_prefix(1);
  const bool bNegative = sText.starts_with('-');
  if (bNegative) sText.remove_prefix(1);
  if (sText.empty()) return false;
  int64_t nValue = 0;
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max() / 10 - 1;
  for (char c : sText) {
    if (c < '0' || c > '9') return false;
    if (nValue < kMax) nValue = nValue * 10 + (c - '0');
  }
  rnLevel = bNegative ? -nValue : nValue;
  return true;
}

std::string OneLine(std::string_view sName) {
  std::string sLine(sName);
  std::replace(sLine.begin(), sLine.end(), '\r', ' ');
  std::replace(sLine.begin(), sLine.end(), '\n', ' ');
  return sLine;
}

}  // namespace orv
