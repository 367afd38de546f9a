#include "editors/web_addresses.h"

#include <cstdint>

#include "editors/c_number.h"

namespace orv {
namespace {

constexpr size_t npos = std::string_view::npos;

// Each pair of spaces becomes one, in one pass from the left: four spaces
// become two.
std::string CollapseSpacePairs(std::string_view sText) {
  std::string sOut;
  sOut.reserve(sText.size());
  for (size_t i = 0; i < sText.size(); ++i) {
    sOut += sText[i];
    if (sText[i] == ' ' && i + 1 < sText.size() && sText[i + 1] == ' ') ++i;
  }
  return sOut;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t FirstDigit(std::string_view s, size_t nFrom) {
  for (size_t i = nFrom; i < s.size(); ++i)
    if (IsDigit(s[i])) return i;
  return npos;
}

bool IsAddress(std::string_view sCandidate) {
  for (char c : sCandidate)
    if (!IsDigit(c) && c != '.' && c != ':') return false;
  return true;
}

// The first colon at or after a position that only grows, found without
// scanning the text again for every address.
class CColonFinder {
 public:
  explicit CColonFinder(std::string_view s) : m_s(s) {}
  size_t Find(size_t nFrom) {
    if (m_nFound != npos && m_nFound < nFrom) m_nFound = m_s.find(':', nFrom);
    return m_nFound;
  }

 private:
  std::string_view m_s;
  size_t m_nFound = 0;  // before the first search: a colon not yet looked for
};

}  // namespace

std::string ExtractWebAddresses(std::string_view sText) {
  if (sText.find('.') == npos) return {};
  const std::string sScan = CollapseSpacePairs(sText);
  const std::string_view s = sScan;
  CColonFinder colons(s);
  std::string sOut;
  for (size_t nStart = FirstDigit(s, 0); nStart != npos;) {
    const size_t nStop1 = s.find('.', nStart);
    const size_t nStop2 = nStop1 == npos ? npos : s.find('.', nStop1 + 1);
    const size_t nStop3 = nStop2 == npos ? npos : s.find('.', nStop2 + 1);
    if (nStop3 == npos) break;
    size_t nSeparator = colons.Find(nStop3 + 1);
    if (nSeparator == npos) nSeparator = s.find(' ', nStop3 + 1);
    if (nSeparator == npos) break;
    if (nStop1 - nStart > 3 || nStop2 - nStop1 > 4 || nStop3 - nStop2 > 4 ||
        nSeparator - nStop3 > 4)
      break;
    // The octets joined by full stops are the text from the start to the separator.
    const std::string sCandidate =
        std::string(s.substr(nStart, nSeparator - nStart)) + ":" +
        std::to_string(static_cast<uint32_t>(ReadCLong(s.substr(nSeparator + 1))));
    if (IsAddress(sCandidate)) sOut += sCandidate + "\r\n";
    const size_t nSpace = s.find(' ', nSeparator + 1);
    nStart = nSpace == npos ? npos : FirstDigit(s, nSpace + 1);
  }
  return sOut;
}

}  // namespace orv
