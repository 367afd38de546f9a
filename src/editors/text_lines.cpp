#include "editors/text_lines.h"

#include <unicode/ubrk.h>
#include <unicode/utext.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

namespace orv {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string WithoutLineFeeds(std::string_view sText) {
  std::string sOut;
  sOut.reserve(sText.size());
  for (char c : sText)
    if (c != '\n') sOut += c;
  return sOut;
}

// The lines of an LF-free text: each up to and including its CR, and the
// rest after the last CR when it is not empty.
std::vector<std::string_view> CutLines(std::string_view sText) {
  std::vector<std::string_view> lines;
  while (!sText.empty()) {
    const size_t nEnd = std::min(sText.find('\r'), sText.size() - 1) + 1;
    lines.push_back(sText.substr(0, nEnd));
    sText.remove_prefix(nEnd);
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string_view>& lines, std::string_view sPrefix = {}) {
  size_t nSize = 0;
  for (std::string_view line : lines) nSize += sPrefix.size() + line.size() + 1;
  std::string sOut;
  sOut.reserve(nSize);
  for (std::string_view line : lines) {
    sOut += sPrefix;
    sOut += line;
    sOut += '\n';
  }
  return sOut;
}

struct SUTextCloser {
  void operator()(UText* pText) const { utext_close(pText); }
};
struct SBreakIteratorCloser {
  void operator()(UBreakIterator* pIterator) const { ubrk_close(pIterator); }
};

}  // namespace

std::string DeleteHorizontalWhiteSpace(std::string_view sText) {
  std::string sOut;
  sOut.reserve(sText.size() + 1);
  size_t i = 0;
  while (i < sText.size()) {
    if (IsBlank(sText[i])) {
      ++i;
      continue;
    }
    const size_t nStart = i;
    while (i < sText.size() && !IsBlank(sText[i])) ++i;
    sOut.append(sText, nStart, i - nStart);
    if (sText[i - 1] != '\r') sOut += ' ';
  }
  if (!sText.empty() && IsBlank(sText.back())) sOut += ' ';
  return sOut;
}

std::string JoinSelectedLines(std::string_view sText) {
  std::string sOut = WithoutLineFeeds(sText);
  std::replace(sOut.begin(), sOut.end(), '\r', ' ');
  return sOut;
}

std::string SortSelectedLines(std::string_view sText) {
  const std::string sLines = WithoutLineFeeds(sText);
  std::vector<std::string_view> lines = CutLines(sLines);
  // Byte order: std::string_view compares its chars as unsigned. Equal lines
  // are equal bytes, so any sort gives the one order there is.
  std::sort(lines.begin(), lines.end());
  return JoinLines(lines);
}

std::string TabifySelection(std::string_view sText) {
  const std::string sLines = WithoutLineFeeds(sText);
  return JoinLines(CutLines(sLines), "\t");
}

std::string UntabifySelection(std::string_view sText) {
  const std::string sLines = WithoutLineFeeds(sText);
  std::vector<std::string_view> lines = CutLines(sLines);
  for (std::string_view& line : lines)
    if (line.starts_with('\t')) line.remove_prefix(1);
  return JoinLines(lines);
}

std::string ReverseSelectedText(std::string_view sText) {
  const std::string sForward = WithoutLineFeeds(sText);
  // The break iterator counts in 32-bit offsets.
  if (sForward.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
    throw std::length_error("The text is too long to reverse.");
  UErrorCode eError = U_ZERO_ERROR;
  const std::unique_ptr<UText, SUTextCloser> pText(
      utext_openUTF8(nullptr, sForward.data(), static_cast<int64_t>(sForward.size()), &eError));
  const std::unique_ptr<UBreakIterator, SBreakIteratorCloser> pClusters(
      ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &eError));
  if (U_SUCCESS(eError)) ubrk_setUText(pClusters.get(), pText.get(), &eError);
  if (U_FAILURE(eError)) throw std::runtime_error(u_errorName(eError));

  std::string sOut(sForward.size(), '\0');
  const auto IsAscii = [&](size_t i) { return static_cast<unsigned char>(sForward[i]) < 0x80; };
  size_t nOut = sForward.size();
  for (size_t nStart = 0; nStart < sForward.size();) {
    // Two ASCII characters in a row (the line feeds are gone) are two
    // characters; only the rest needs the break iterator.
    size_t nEnd = nStart + 1;
    if (!IsAscii(nStart) || (nEnd < sForward.size() && !IsAscii(nEnd)))
      nEnd = static_cast<size_t>(ubrk_following(pClusters.get(), static_cast<int32_t>(nStart)));
    nOut -= nEnd - nStart;
    sForward.copy(sOut.data() + nOut, nEnd - nStart, nStart);
    nStart = nEnd;
  }
  return sOut;
}

}  // namespace orv
