#include "search/text_matcher.h"

#include <unicode/uchar.h>
#include <unicode/uniset.h>
#include <unicode/utf8.h>

#include <cstring>
#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace orv {
namespace {

UChar32 Fold(UChar32 c) { return u_foldCase(c, U_FOLD_CASE_DEFAULT); }

// The code point at rnPos, moving rnPos past it; negative for bytes that are
// not UTF-8, which then match nothing.
UChar32 NextCodePoint(std::string_view s, size_t& rnPos) {
  UChar32 c = 0;
  int32_t nPos = static_cast<int32_t>(rnPos);
  U8_NEXT(s.data(), nPos, static_cast<int32_t>(s.size()), c);
  rnPos = static_cast<size_t>(nPos);
  return c;
}

}  // namespace

CTextMatcher::CTextMatcher(std::string_view sText, bool bMatchCase, bool bWholeWord)
    : m_sText(sText), m_bMatchCase(bMatchCase), m_bWholeWord(bWholeWord) {
  if (bMatchCase || sText.empty()) return;
  for (size_t nPos = 0; nPos < sText.size();) {
    // A byte that is not UTF-8 stands for U+FFFD, which such bytes never match.
    const UChar32 c = NextCodePoint(sText, nPos);
    m_folded.push_back(static_cast<char32_t>(Fold(c < 0 ? 0xFFFD : c)));
  }
  // Every code point that folds to the first one ("k", "K" and the Kelvin
  // sign all fold to "k") marks the byte its UTF-8 form starts with.
  const auto cFirst = static_cast<UChar32>(m_folded.front());
  icu::UnicodeSet variants(cFirst, cFirst);
  variants.closeOver(USET_CASE_INSENSITIVE);
  for (int32_t i = 0; i < variants.getRangeCount(); ++i)
    for (UChar32 c = variants.getRangeStart(i); c <= variants.getRangeEnd(i); ++c) {
      if (Fold(c) != cFirst) continue;
      uint8_t bytes[U8_MAX_LENGTH];
      int32_t nLength = 0;
      UBool bError = false;
      U8_APPEND(bytes, nLength, U8_MAX_LENGTH, c, bError);
      if (bError || m_startBytes[bytes[0]]) continue;
      m_startBytes[bytes[0]] = true;
      if (m_nStartBytes < m_startList.size()) m_startList[m_nStartBytes] = bytes[0];
      ++m_nStartBytes;
    }
}

std::optional<STextHit> CTextMatcher::Find(std::string_view sValue) const {
  if (m_sText.empty()) {
    if (m_bWholeWord && !sValue.empty()) return std::nullopt;
    return STextHit{};
  }
  if (!m_bMatchCase) return FindFolded(sValue);
  if (m_bWholeWord) {
    if (sValue != m_sText) return std::nullopt;
    return STextHit{0, sValue.size()};
  }
  // glibc's memmem is a two-way search with vector steps: as fast as grep's.
  const void* pHit = memmem(sValue.data(), sValue.size(), m_sText.data(), m_sText.size());
  if (!pHit) return std::nullopt;
  return STextHit{static_cast<size_t>(static_cast<const char*>(pHit) - sValue.data()),
                  m_sText.size()};
}

std::optional<STextHit> CTextMatcher::FindInNoteText(std::string_view sText) const {
  if (m_bWholeWord)
    while (!sText.empty() && (sText.back() == '\n' || sText.back() == '\r')) sText.remove_suffix(1);
  return Find(sText);
}

size_t CTextMatcher::FoldedHitEnd(std::string_view sValue, size_t nStart) const {
  size_t nPos = nStart;
  for (char32_t cWanted : m_folded) {
    if (nPos >= sValue.size()) return std::string_view::npos;
    const UChar32 c = NextCodePoint(sValue, nPos);
    if (c < 0 || static_cast<char32_t>(Fold(c)) != cWanted) return std::string_view::npos;
  }
  return nPos;
}

size_t CTextMatcher::NextStart(std::string_view sValue, size_t nFrom) const {
  const auto* pBytes = reinterpret_cast<const unsigned char*>(sValue.data());
  const size_t nSize = sValue.size();
  // An empty text may have no bytes at all to point at: memchr must not see it.
  if (nFrom >= nSize) return std::string_view::npos;
  if (m_nStartBytes == 1) {
    const void* pNext = std::memchr(pBytes + nFrom, m_startList[0], nSize - nFrom);
    return pNext ? static_cast<size_t>(static_cast<const unsigned char*>(pNext) - pBytes)
                 : std::string_view::npos;
  }
#ifdef __SSE2__
  // Sixteen bytes a step, as memchr does for one byte: "z" and "Z" alike.
  if (m_nStartBytes <= m_startList.size()) {
    __m128i wanted[std::tuple_size_v<decltype(m_startList)>];
    for (size_t k = 0; k < m_nStartBytes; ++k)
      wanted[k] = _mm_set1_epi8(static_cast<char>(m_startList[k]));
    for (; nFrom + 16 <= nSize; nFrom += 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pBytes + nFrom));
      __m128i found = _mm_cmpeq_epi8(block, wanted[0]);
      for (size_t k = 1; k < m_nStartBytes; ++k)
        found = _mm_or_si128(found, _mm_cmpeq_epi8(block, wanted[k]));
      if (const int nMask = _mm_movemask_epi8(found)) return nFrom + __builtin_ctz(nMask);
    }
  }
#endif
  for (; nFrom < nSize; ++nFrom)
    if (m_startBytes[pBytes[nFrom]]) return nFrom;
  return std::string_view::npos;
}

std::optional<STextHit> CTextMatcher::FindFolded(std::string_view sValue) const {
  if (m_bWholeWord) {
    const size_t nEnd = FoldedHitEnd(sValue, 0);
    if (nEnd != sValue.size()) return std::nullopt;
    return STextHit{0, nEnd};
  }
  for (size_t i = NextStart(sValue, 0); i != std::string_view::npos; i = NextStart(sValue, i + 1)) {
    const size_t nEnd = FoldedHitEnd(sValue, i);
    if (nEnd != std::string_view::npos) return STextHit{i, nEnd - i};
  }
  return std::nullopt;
}

size_t CodePointCount(std::string_view sText, size_t nBytes) {
  size_t nCount = 0;
  for (size_t i = 0; i < nBytes && i < sText.size(); ++i)
    if ((static_cast<unsigned char>(sText[i]) & 0xC0) != 0x80) ++nCount;
  return nCount;
}

}  // namespace orv
