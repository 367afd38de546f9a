#pragma once
// Whether a name or a note's text holds the search text, and where. Without
// "Match case" letters compare by Unicode case folding, so "ПЛАН" finds
// "план" and "ÉTÉ" finds "été". With "Match whole word" the whole value must
// equal the search text: the rule the find dialogs have always had.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Where a hit lies in the value searched, in bytes.
struct STextHit {
  size_t nOffset = 0;
  size_t nLength = 0;
};

class CTextMatcher {
 public:
  CTextMatcher(std::string_view sText, bool bMatchCase, bool bWholeWord);

  // The first hit in sValue (UTF-8); none when it holds none. The empty text
  // is in every value, at 0 (with whole word, only in the empty value).
  std::optional<STextHit> Find(std::string_view sValue) const;
  bool Matches(std::string_view sValue) const { return Find(sValue).has_value(); }
  // The first hit in a note's text, where the line end that closes its last
  // paragraph is no part of its words (whole word would miss every note).
  std::optional<STextHit> FindInNoteText(std::string_view sText) const;

 private:
  // Where in sValue, from nFrom on, a hit may start; npos for nowhere.
  size_t NextStart(std::string_view sValue, size_t nFrom) const;
  // The end of a hit that starts at nStart, or npos.
  size_t FoldedHitEnd(std::string_view sValue, size_t nStart) const;
  std::optional<STextHit> FindFolded(std::string_view sValue) const;

  std::string m_sText;
  bool m_bMatchCase;
  bool m_bWholeWord;
  std::u32string m_folded;  // the text's code points, case-folded
  // The first bytes that a value's code point folding to the text's first
  // one can start with: only there can a hit start.
  std::array<bool, 256> m_startBytes{};
  size_t m_nStartBytes = 0;
  std::array<unsigned char, 4> m_startList{};  // the first four of them
};

// How many code points the first nBytes bytes of sText hold.
size_t CodePointCount(std::string_view sText, size_t nBytes);

}  // namespace orv
