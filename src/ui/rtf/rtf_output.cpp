#include "ui/rtf/rtf_output.h"

#include <QList>

namespace orv {
namespace {

// Lines are broken between tokens past this length; readers ignore line ends.
constexpr size_t kLineLength = 200;

void AppendHexByte(std::string& s, unsigned char nByte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  s += "\\'";
  s += kDigits[nByte >> 4];
  s += kDigits[nByte & 0xF];
}

void AppendUnicode(std::string& s, char16_t nUnit) {
  // RTF numbers are signed 16-bit.
  s += "\\u" + std::to_string(static_cast<int16_t>(nUnit)) + "?";
}

}  // namespace

void CRtfOutput::Word(std::string_view sName) {
  BreakLongLine();
  m_s += '\\';
  m_s += sName;
  m_bAfterWord = true;
}

void CRtfOutput::Word(std::string_view sName, int nParam) {
  Word(sName);
  m_s += std::to_string(nParam);
}

void CRtfOutput::Raw(std::string_view s) {
  m_s += s;
  m_bAfterWord = false;
  const size_t nLastEnd = m_s.rfind('\n');
  if (nLastEnd != std::string::npos && nLastEnd + 1 > m_nLineStart) m_nLineStart = nLastEnd + 1;
}

void CRtfOutput::LineEnd() {
  m_s += "\r\n";
  m_nLineStart = m_s.size();
  m_bAfterWord = false;
}

void CRtfOutput::BreakLongLine() {
  if (m_s.size() - m_nLineStart > kLineLength) LineEnd();
}

void CRtfOutput::Text(const QString& s) {
  for (char32_t c : s.toUcs4()) Char(c);
}

void CRtfOutput::Char(char32_t c) {
  if (c == '\t') return Word("tab");
  if (c == 0x2028) return Word("line");
  if (c < 0x20 || c == 0xFFFC) return;  // no text: breaks and object marks are written apart
  if (m_bAfterWord) {
    m_s += ' ';
    m_bAfterWord = false;
  }
  if (c == '\\' || c == '{' || c == '}') {
    m_s += '\\';
    m_s += static_cast<char>(c);
  } else if (c < 0x80) {
    m_s += static_cast<char>(c);
  } else {
    const QString sChar = QString::fromUcs4(&c, 1);
    std::string sBytes;
    if (m_codePage.FromUtf8(sChar.toStdString(), sBytes)) {
      for (char cByte : sBytes) AppendHexByte(m_s, static_cast<unsigned char>(cByte));
    } else {
      for (QChar cUnit : sChar) AppendUnicode(m_s, cUnit.unicode());
    }
  }
  BreakLongLine();
}

}  // namespace orv
