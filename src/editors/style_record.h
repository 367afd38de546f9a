#pragma once
// A named rich-text style is kept in the settings as two binary records, the
// character format and the paragraph format of the text it was taken from.
// The records are tagged fields behind a small versioned header, so a later
// version can add fields that this one skips; docs/formats/style-record.md
// gives the layout. A record that does not read is refused as a whole.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace orv {

class CStyleRecordError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A colour of a style: 0x00BBGGRR (red in the low byte, as note colours), or
// kAutomaticColour for "no colour of its own" (the editor's text colour, no
// highlight).
inline constexpr int32_t kAutomaticColour = -1;

// Each field is set when the style records it; an unset field leaves the
// text it is applied to as it was.
struct SCharStyle {
  std::optional<std::string> sFace;   // UTF-8
  std::optional<int32_t> nSizeTwips;  // 1/20 point
  std::optional<int32_t> nWeight;     // 1 … 1000, 400 normal, 700 bold
  std::optional<bool> bItalic;
  std::optional<bool> bUnderline;
  std::optional<bool> bStrikeOut;
  std::optional<int32_t> nTextColour;
  std::optional<int32_t> nBackColour;
  bool operator==(const SCharStyle&) const = default;
};

enum class EStyleAlignment : uint8_t { Left = 0, Right = 1, Centre = 2, Justify = 3 };

struct SParaStyle {
  std::optional<EStyleAlignment> eAlignment;
  // Distances in twips (1/1440 inch).
  std::optional<int32_t> nLeftIndent;
  std::optional<int32_t> nRightIndent;
  std::optional<int32_t> nFirstLineIndent;  // from the left indent; negative hangs
  std::optional<int32_t> nSpaceBefore;
  std::optional<int32_t> nSpaceAfter;
  bool operator==(const SParaStyle&) const = default;
};

std::vector<uint8_t> EncodeCharStyle(const SCharStyle& style);
std::vector<uint8_t> EncodeParaStyle(const SParaStyle& style);
// Throw CStyleRecordError, saying what is wrong, for bytes that are not such a record.
SCharStyle DecodeCharStyle(const std::vector<uint8_t>& bytes);
SParaStyle DecodeParaStyle(const std::vector<uint8_t>& bytes);

}  // namespace orv
