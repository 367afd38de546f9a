#include "base/code_page.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace orv {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;
constexpr char32_t kReplacement = 0xFFFD;
constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";
const size_t kIconvFailed = static_cast<size_t>(-1);

// Most strings of a document are plain ASCII; they skip conversion entirely.
bool IsAscii(std::string_view s) {
  const char* p = s.data();
  size_t n = s.size();
  uint64_t nBits = 0;
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t nWord;
    std::memcpy(&nWord, p, 8);
    nBits |= nWord;
  }
  for (; n > 0; ++p, --n) nBits |= static_cast<uint8_t>(*p);
  return (nBits & 0x8080808080808080ULL) == 0;
}

void AppendUtf8(std::string& s, char32_t c) {
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes the character at nPos and moves past it. Overlong forms, encoded
// surrogates and values past U+10FFFF give kInvalid and skip one byte.
char32_t DecodeUtf8(std::string_view s, size_t& nPos) {
  const auto nLead = static_cast<uint8_t>(s[nPos]);
  size_t nMore;
  char32_t c;
  char32_t cMin;
  if (nLead < 0x80) {
    ++nPos;
    return nLead;
  } else if ((nLead & 0xE0) == 0xC0) {
    nMore = 1, c = nLead & 0x1F, cMin = 0x80;
  } else if ((nLead & 0xF0) == 0xE0) {
    nMore = 2, c = nLead & 0x0F, cMin = 0x800;
  } else if ((nLead & 0xF8) == 0xF0) {
    nMore = 3, c = nLead & 0x07, cMin = 0x10000;
  } else {
    ++nPos;
    return kInvalid;
  }
  if (s.size() - nPos <= nMore) {
    ++nPos;
    return kInvalid;
  }
  for (size_t i = 1; i <= nMore; ++i) {
    const auto nNext = static_cast<uint8_t>(s[nPos + i]);
    if ((nNext & 0xC0) != 0x80) {
      ++nPos;
      return kInvalid;
    }
    c = (c << 6) | (nNext & 0x3F);
  }
  if (c < cMin || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    ++nPos;
    return kInvalid;
  }
  nPos += nMore + 1;
  return c;
}

// Runs sIn through cd, appending to sOut. A sequence iconv rejects ends the
// conversion with false, unless bReplaceInvalid: then its first byte becomes
// U+FFFD (so cd must produce UTF-8) and the conversion goes on after it.
bool Convert(iconv_t cd, std::string_view sIn, std::string& sOut, bool bReplaceInvalid) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* pIn = const_cast<char*>(sIn.data());
  size_t nInLeft = sIn.size();
  char aBuffer[4096];
  for (;;) {
    char* pOut = aBuffer;
    size_t nOutLeft = sizeof(aBuffer);
    const bool bFlush = nInLeft == 0;  // emits what a stateful converter holds back
    const size_t nResult = bFlush ? iconv(cd, nullptr, nullptr, &pOut, &nOutLeft)
                                  : iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft);
    const int nError = errno;
    sOut.append(aBuffer, static_cast<size_t>(pOut - aBuffer));
    if (nResult != kIconvFailed) {
      if (bFlush) return true;
    } else if (nError != E2BIG) {
      if (bFlush || !bReplaceInvalid) return false;
      sOut += kReplacementUtf8;
      ++pIn;
      --nInLeft;
    }
  }
}

iconv_t OpenIconv(const char* pTo, const char* pFrom) {
  iconv_t cd = iconv_open(pTo, pFrom);
  // iconv says it failed with the handle (iconv_t)-1.
  return reinterpret_cast<intptr_t>(cd) == -1 ? nullptr : cd;
}

enum class EByteKind { Char, Undefined, Partial };

// What one byte alone converts to: a character, nothing (a gap in the code
// page), or the start of a longer sequence.
EByteKind ConvertByte(iconv_t cd, uint8_t nByte, std::string& sUtf8) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char cIn = static_cast<char>(nByte);
  char* pIn = &cIn;
  size_t nInLeft = 1;
  char aOut[32];
  char* pOut = aOut;
  size_t nOutLeft = sizeof(aOut);
  if (iconv(cd, &pIn, &nInLeft, &pOut, &nOutLeft) == kIconvFailed)
    return errno == EILSEQ ? EByteKind::Undefined : EByteKind::Partial;
  if (iconv(cd, nullptr, nullptr, &pOut, &nOutLeft) == kIconvFailed) return EByteKind::Partial;
  sUtf8.assign(aOut, static_cast<size_t>(pOut - aOut));
  return EByteKind::Char;
}

}  // namespace

CCodePage::CCodePage(std::string_view sName) {
  const std::string sIconvName(sName);
  // Options such as //TRANSLIT would let iconv change text quietly.
  if (sIconvName.find('/') == std::string::npos) {
    m_pToUtf8.reset(OpenIconv("UTF-8", sIconvName.c_str()));
    m_pFromUtf8.reset(OpenIconv(sIconvName.c_str(), "UTF-8"));
  }
  if (!m_pToUtf8 || !m_pFromUtf8)
    throw std::invalid_argument("Unknown code page \"" + sIconvName + "\"");
  m_bSingleByte = BuildByteTable(sIconvName);
}

bool CCodePage::BuildByteTable(std::string_view sName) {
  bool bSingleByte = true;
  std::string sUtf8;
  for (unsigned nByte = 0; nByte < 256; ++nByte) {
    const EByteKind eKind = ConvertByte(m_pToUtf8.get(), static_cast<uint8_t>(nByte), sUtf8);
    // ASCII must stay itself: the ASCII fast path and every reader rely on it.
    if (nByte < 0x80 && (eKind != EByteKind::Char || sUtf8 != std::string(1, char(nByte))))
      throw std::invalid_argument("Code page \"" + std::string(sName) +
                                  "\" is not supported: it changes ASCII characters");
    if (eKind == EByteKind::Undefined) {
      // A gap keeps its byte as the character of the same number, so that
      // any byte string survives a trip through UTF-8.
      sUtf8.clear();
      AppendUtf8(sUtf8, nByte);
    }
    size_t nPos = 0;
    const char32_t c = sUtf8.empty() ? kInvalid : DecodeUtf8(sUtf8, nPos);
    if (eKind == EByteKind::Partial || c == kInvalid || nPos != sUtf8.size()) {
      bSingleByte = false;
      continue;
    }
    SByteChar& entry = m_aByteChars[nByte];
    std::memcpy(entry.acUtf8, sUtf8.data(), sUtf8.size());
    entry.nLength = static_cast<uint8_t>(sUtf8.size());
    // A defined character keeps its byte over a gap that would map to it.
    if (eKind == EByteKind::Char)
      m_mapCharToByte[c] = static_cast<uint8_t>(nByte);
    else
      m_mapCharToByte.emplace(c, static_cast<uint8_t>(nByte));
  }
  if (!bSingleByte) m_mapCharToByte.clear();
  return bSingleByte;
}

std::string CCodePage::ToUtf8(std::string_view sAnsi) const {
  if (IsAscii(sAnsi)) return std::string(sAnsi);
  if (!m_bSingleByte) return ToUtf8ByIconv(sAnsi);
  std::string sUtf8;
  sUtf8.reserve(sAnsi.size() * 2);
  for (char c : sAnsi) {
    const SByteChar& entry = m_aByteChars[static_cast<uint8_t>(c)];
    sUtf8.append(entry.acUtf8, entry.nLength);
  }
  return sUtf8;
}

// Multi-byte code pages have no fallback for bytes iconv rejects (a lead byte
// without its trail byte, an unassigned pair); each such byte becomes U+FFFD.
std::string CCodePage::ToUtf8ByIconv(std::string_view sAnsi) const {
  std::string sUtf8;
  sUtf8.reserve(sAnsi.size() * 3 / 2);
  Convert(m_pToUtf8.get(), sAnsi, sUtf8, true);
  return sUtf8;
}

bool CCodePage::FromUtf8(std::string_view sUtf8, std::string& sAnsi) const {
  if (IsAscii(sUtf8)) {
    sAnsi.assign(sUtf8);
    return true;
  }
  return m_bSingleByte ? FromUtf8ByTable(sUtf8, sAnsi) : FromUtf8ByIconv(sUtf8, sAnsi);
}

bool CCodePage::FromUtf8ByTable(std::string_view sUtf8, std::string& sAnsi) const {
  sAnsi.clear();
  sAnsi.reserve(sUtf8.size());
  for (size_t nPos = 0; nPos < sUtf8.size();) {
    const char32_t c = DecodeUtf8(sUtf8, nPos);
    if (c < 0x80) {
      sAnsi += static_cast<char>(c);
      continue;
    }
    const auto it = m_mapCharToByte.find(c);
    if (it == m_mapCharToByte.end()) return false;
    sAnsi += static_cast<char>(it->second);
  }
  return true;
}

// Some multi-byte tables send several characters to one byte sequence (CP932
// stores U+00A5 as 0x5C, which reads back as a backslash); only text that
// reads back unchanged counts as held.
bool CCodePage::FromUtf8ByIconv(std::string_view sUtf8, std::string& sAnsi) const {
  sAnsi.clear();
  return Convert(m_pFromUtf8.get(), sUtf8, sAnsi, false) && ToUtf8ByIconv(sAnsi) == sUtf8;
}

std::string CCodePage::Utf16ToUtf8(std::u16string_view sUtf16) {
  std::string sUtf8;
  sUtf8.reserve(sUtf16.size() * 3);
  for (size_t i = 0; i < sUtf16.size(); ++i) {
    char32_t c = sUtf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < sUtf16.size() && sUtf16[i + 1] >= 0xDC00 &&
        sUtf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (sUtf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(sUtf8, c);
  }
  return sUtf8;
}

std::u16string CCodePage::Utf8ToUtf16(std::string_view sUtf8) {
  std::u16string sUtf16;
  sUtf16.reserve(sUtf8.size());
  for (size_t nPos = 0; nPos < sUtf8.size();) {
    char32_t c = DecodeUtf8(sUtf8, nPos);
    if (c == kInvalid) c = kReplacement;
    if (c >= 0x10000) {
      sUtf16 += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      sUtf16 += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      sUtf16 += static_cast<char16_t>(c);
    }
  }
  return sUtf16;
}

bool IsUtf8BeyondAscii(std::string_view s) {
  // Most text is ASCII: eight bytes at a time until the first that is not.
  size_t nAscii = 0;
  for (uint64_t nWord = 0; nAscii + 8 <= s.size(); nAscii += 8) {
    std::memcpy(&nWord, s.data() + nAscii, 8);
    if (nWord & 0x8080808080808080ULL) break;
  }
  bool bBeyondAscii = false;
  size_t nMore = 0;
  for (char c : s.substr(nAscii)) {
    const auto nByte = static_cast<unsigned char>(c);
    if (nMore > 0) {
      if ((nByte & 0xC0) != 0x80) return false;
      --nMore;
    } else if (nByte >= 0xF0 && nByte <= 0xF4) {
      nMore = 3;
    } else if (nByte >= 0xE0) {
      if (nByte > 0xF4) return false;
      nMore = 2;
    } else if (nByte >= 0xC2) {
      nMore = 1;
    } else if (nByte >= 0x80) {
      return false;
    }
    bBeyondAscii = bBeyondAscii || nByte >= 0x80;
  }
  return bBeyondAscii && nMore == 0;
}

}  // namespace orv
