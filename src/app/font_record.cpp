#include "app/font_record.h"

#include <algorithm>
#include <cstring>

#include "base/code_page.h"
#include "base/little_endian.h"

namespace orv {

namespace {

constexpr size_t kHeightAt = 0;
constexpr size_t kWeightAt = 16;
constexpr size_t kItalicAt = 20;
constexpr size_t kUnderlineAt = 21;
constexpr size_t kStrikeOutAt = 22;
constexpr size_t kFaceAt = 28;
constexpr size_t kFaceChars = 32;  // with the terminating zero, in either width
constexpr int32_t kHeaviestWeight = 1000;

// The face of a wide record: UTF-16 up to the first zero unit.
std::string WideFace(std::span<const uint8_t> face) {
  std::u16string sFace;
  for (size_t i = 0; i + 1 < face.size(); i += 2) {
    const auto c = static_cast<char16_t>(face[i] | (face[i + 1] << 8));
    if (c == 0) break;
    sFace += c;
  }
  return CCodePage::Utf16ToUtf8(sFace);
}

}  // namespace

std::optional<SFontRecord> ReadFontRecord(std::span<const uint8_t> bytes) {
  const bool bWide = bytes.size() == kWideFontRecordSize;
  if (bytes.size() != kFontRecordSize && !bWide) return std::nullopt;
  SFontRecord font;
  font.nHeight = static_cast<int32_t>(GetLe32(bytes.data() + kHeightAt));
  font.nWeight = static_cast<int32_t>(GetLe32(bytes.data() + kWeightAt));
  if (font.nWeight < 0 || font.nWeight > kHeaviestWeight) return std::nullopt;
  font.bItalic = bytes[kItalicAt] != 0;
  font.bUnderline = bytes[kUnderlineAt] != 0;
  font.bStrikeOut = bytes[kStrikeOutAt] != 0;
  if (bWide) {
    font.sFace = WideFace(bytes.subspan(kFaceAt));
  } else {
    // The face fills its 32 bytes when it has no room for the terminating zero.
    auto face = bytes.subspan(kFaceAt, kFaceChars);
    auto itEnd = std::find(face.begin(), face.end(), uint8_t{0});
    font.sFace = CCodePage().ToUtf8(std::string(face.begin(), itEnd));
  }
  if (font.sFace.empty()) return std::nullopt;
  return font;
}

std::vector<uint8_t> WriteFontRecord(const SFontRecord& font) {
  std::string sAnsi;
  const bool bNarrow = CCodePage().FromUtf8(font.sFace, sAnsi) && sAnsi.size() < kFaceChars;
  std::vector<uint8_t> bytes(bNarrow ? kFontRecordSize : kWideFontRecordSize, 0);
  PutLe32(bytes.data() + kHeightAt, static_cast<uint32_t>(font.nHeight));
  PutLe32(bytes.data() + kWeightAt,
          static_cast<uint32_t>(std::clamp(font.nWeight, 0, kHeaviestWeight)));
  bytes[kItalicAt] = font.bItalic ? 1 : 0;
  bytes[kUnderlineAt] = font.bUnderline ? 1 : 0;
  bytes[kStrikeOutAt] = font.bStrikeOut ? 1 : 0;
  if (bNarrow) {
    std::memcpy(bytes.data() + kFaceAt, sAnsi.data(), sAnsi.size());
  } else {
    std::u16string sWide = CCodePage::Utf8ToUtf16(font.sFace);
    sWide.resize(std::min(sWide.size(), kFaceChars - 1));
    for (size_t i = 0; i < sWide.size(); ++i) {
      bytes[kFaceAt + 2 * i] = static_cast<uint8_t>(sWide[i]);
      bytes[kFaceAt + 2 * i + 1] = static_cast<uint8_t>(sWide[i] >> 8);
    }
  }
  return bytes;
}

}  // namespace orv
