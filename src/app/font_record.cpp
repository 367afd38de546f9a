#include "app/font_record.h"

#include <algorithm>
#include <cstring>

#include "base/code_page.h"

namespace orv {

namespace {

constexpr size_t kHeightAt = 0;
constexpr size_t kWeightAt = 16;
constexpr size_t kItalicAt = 20;
constexpr size_t kUnderlineAt = 21;
constexpr size_t kStrikeOutAt = 22;
constexpr size_t kFaceAt = 28;
constexpr size_t kFaceSize = 32;
constexpr int32_t kHeaviestWeight = 1000;

int32_t Int32At(std::span<const uint8_t> bytes, size_t nAt) {
  uint32_t nValue = 0;
  for (size_t i = 0; i < 4; ++i) nValue |= static_cast<uint32_t>(bytes[nAt + i]) << (8 * i);
  return static_cast<int32_t>(nValue);
}

}  // namespace

std::optional<SFontRecord> ReadFontRecord(std::span<const uint8_t> bytes) {
  if (bytes.size() != kFontRecordSize) return std::nullopt;
  SFontRecord font;
  font.nHeight = Int32At(bytes, kHeightAt);
  font.nWeight = Int32At(bytes, kWeightAt);
  if (font.nWeight < 0 || font.nWeight > kHeaviestWeight) return std::nullopt;
  font.bItalic = bytes[kItalicAt] != 0;
  font.bUnderline = bytes[kUnderlineAt] != 0;
  font.bStrikeOut = bytes[kStrikeOutAt] != 0;
  // The face fills its 32 bytes when it has no room for the terminating zero.
  auto face = bytes.subspan(kFaceAt, kFaceSize);
  auto itEnd = std::find(face.begin(), face.end(), uint8_t{0});
  std::string sAnsi(face.begin(), itEnd);
  if (sAnsi.empty()) return std::nullopt;
  font.sFace = CCodePage().ToUtf8(sAnsi);
  return font;
}

}  // namespace orv
