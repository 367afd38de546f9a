#include "text/rtf_lexer.h"

#include <algorithm>

namespace orv {
namespace {

// Longer names and numbers are not RTF; they are read but cut, so that a
// run of letters cannot make a name the reader has to compare at length.
constexpr size_t kMaxWordLength = 32;
constexpr size_t kMaxDigits = 10;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

SRtfToken CRtfLexer::Next() {
  // Line ends carry no meaning in RTF; writers break lines anywhere.
  while (m_nPos < m_s.size() && (m_s[m_nPos] == '\r' || m_s[m_nPos] == '\n')) ++m_nPos;
  SRtfToken token;
  if (m_nPos >= m_s.size()) return token;
  const char c = m_s[m_nPos];
  if (c == '{' || c == '}') {
    ++m_nPos;
    token.eType = c == '{' ? ERtfToken::GroupStart : ERtfToken::GroupEnd;
    return token;
  }
  if (c == '\\') return ReadControl();
  const size_t nStart = m_nPos;
  while (m_nPos < m_s.size()) {
    const char cNext = m_s[m_nPos];
    if (cNext == '{' || cNext == '}' || cNext == '\\' || cNext == '\r' || cNext == '\n') break;
    ++m_nPos;
  }
  token.eType = ERtfToken::Text;
  token.sText = m_s.substr(nStart, m_nPos - nStart);
  return token;
}

SRtfToken CRtfLexer::ReadControl() {
  ++m_nPos;  // the backslash
  SRtfToken token;
  if (m_nPos >= m_s.size()) return token;
  const char c = m_s[m_nPos];
  if (IsLetter(c)) return ReadWord();
  ++m_nPos;
  if (c == '\'') {
    const int nHigh = m_nPos < m_s.size() ? HexValue(m_s[m_nPos]) : -1;
    const int nLow = m_nPos + 1 < m_s.size() ? HexValue(m_s[m_nPos + 1]) : -1;
    if (nHigh < 0 || nLow < 0) {
      // A broken escape stands for nothing: the reader ignores this symbol.
      token.eType = ERtfToken::ControlSymbol;
      token.nByte = '\'';
      return token;
    }
    m_nPos += 2;
    token.eType = ERtfToken::HexByte;
    token.nByte = static_cast<uint8_t>(nHigh * 16 + nLow);
    return token;
  }
  // A backslash before a line end is an old way of writing \par.
  token.eType = ERtfToken::ControlSymbol;
  token.nByte = static_cast<uint8_t>(c == '\r' || c == '\n' ? '\n' : c);
  return token;
}

SRtfToken CRtfLexer::ReadWord() {
  SRtfToken token;
  token.eType = ERtfToken::ControlWord;
  const size_t nStart = m_nPos;
  while (m_nPos < m_s.size() && IsLetter(m_s[m_nPos])) ++m_nPos;
  token.sText = m_s.substr(nStart, std::min(m_nPos - nStart, kMaxWordLength));
  bool bNegative = false;
  if (m_nPos + 1 < m_s.size() && m_s[m_nPos] == '-' && IsDigit(m_s[m_nPos + 1])) {
    bNegative = true;
    ++m_nPos;
  }
  int64_t nValue = 0;
  size_t nDigits = 0;
  while (m_nPos < m_s.size() && IsDigit(m_s[m_nPos])) {
    if (nDigits++ < kMaxDigits) nValue = nValue * 10 + (m_s[m_nPos] - '0');
    ++m_nPos;
  }
  if (nDigits > 0) {
    nValue = std::min<int64_t>(nValue, INT32_MAX);
    token.bHasParam = true;
    token.nParam = static_cast<int>(bNegative ? -nValue : nValue);
  }
  if (m_nPos < m_s.size() && m_s[m_nPos] == ' ') ++m_nPos;
  if (token.sText == "bin") {
    const size_t nLength = token.nParam > 0 ? static_cast<size_t>(token.nParam) : 0;
    const size_t nTake = std::min(nLength, m_s.size() - m_nPos);
    token.eType = ERtfToken::Binary;
    token.sText = m_s.substr(m_nPos, nTake);
    m_nPos += nTake;
  }
  return token;
}

}  // namespace orv
