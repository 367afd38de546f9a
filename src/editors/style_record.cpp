#include "editors/style_record.h"

#include <algorithm>
#include <array>
#include <set>
#include <span>
#include <string_view>

namespace orv {

namespace {

// The header: two magic bytes, the kind of record, the layout's version.
constexpr uint8_t kMagic0 = 'O';
constexpr uint8_t kMagic1 = 'S';
constexpr uint8_t kCharKind = 'C';
constexpr uint8_t kParaKind = 'P';
constexpr uint8_t kVersion = 1;
constexpr size_t kHeaderSize = 4;
// Each field: a tag byte, a 16-bit little-endian payload length, the payload.
constexpr size_t kFieldHeadSize = 3;
constexpr size_t kMaxFaceBytes = 255;

constexpr uint8_t kFaceTag = 1;
constexpr uint8_t kAlignmentTag = 1;

constexpr int32_t kMaxTwips = 31680;  // 22 inches, wider than any page
constexpr int32_t kMaxColour = 0xFFFFFF;

// The integer fields of a style, with the values a record may hold.
template <typename TStyle>
struct SIntField {
  uint8_t nTag;
  std::optional<int32_t> TStyle::*pMember;
  int32_t nMin;
  int32_t nMax;
};

template <typename TStyle>
struct SBoolField {
  uint8_t nTag;
  std::optional<bool> TStyle::*pMember;
};

constexpr std::array<SIntField<SCharStyle>, 4> kCharInts{{
    {2, &SCharStyle::nSizeTwips, 20, 1638 * 20},
    {3, &SCharStyle::nWeight, 1, 1000},
    {7, &SCharStyle::nTextColour, kAutomaticColour, kMaxColour},
    {8, &SCharStyle::nBackColour, kAutomaticColour, kMaxColour},
}};
constexpr std::array<SBoolField<SCharStyle>, 3> kCharBools{{
    {4, &SCharStyle::bItalic},
    {5, &SCharStyle::bUnderline},
    {6, &SCharStyle::bStrikeOut},
}};
constexpr std::array<SIntField<SParaStyle>, 5> kParaInts{{
    {2, &SParaStyle::nLeftIndent, -kMaxTwips, kMaxTwips},
    {3, &SParaStyle::nRightIndent, -kMaxTwips, kMaxTwips},
    {4, &SParaStyle::nFirstLineIndent, -kMaxTwips, kMaxTwips},
    {5, &SParaStyle::nSpaceBefore, 0, kMaxTwips},
    {6, &SParaStyle::nSpaceAfter, 0, kMaxTwips},
}};
constexpr std::array<SBoolField<SParaStyle>, 0> kParaBools{};

class CRecordWriter {
 public:
  explicit CRecordWriter(uint8_t nKind) : m_bytes{kMagic0, kMagic1, nKind, kVersion} {}

  void Field(uint8_t nTag, std::span<const uint8_t> payload) {
    m_bytes.push_back(nTag);
    m_bytes.push_back(static_cast<uint8_t>(payload.size()));
    m_bytes.push_back(static_cast<uint8_t>(payload.size() >> 8));
    m_bytes.insert(m_bytes.end(), payload.begin(), payload.end());
  }
  void Int(uint8_t nTag, int32_t nValue) {
    const auto n = static_cast<uint32_t>(nValue);
    const std::array<uint8_t, 4> bytes{static_cast<uint8_t>(n), static_cast<uint8_t>(n >> 8),
                                       static_cast<uint8_t>(n >> 16),
                                       static_cast<uint8_t>(n >> 24)};
    Field(nTag, bytes);
  }
  void Byte(uint8_t nTag, uint8_t nValue) { Field(nTag, std::span<const uint8_t>(&nValue, 1)); }

  template <typename TStyle, size_t nInts, size_t nBools>
  void Fields(const TStyle& style, const std::array<SIntField<TStyle>, nInts>& ints,
              const std::array<SBoolField<TStyle>, nBools>& bools) {
    for (const auto& field : ints)
      if (const auto& value = style.*field.pMember) Int(field.nTag, *value);
    for (const auto& field : bools)
      if (const auto& value = style.*field.pMember) Byte(field.nTag, *value ? 1 : 0);
  }

  std::vector<uint8_t> Take() { return std::move(m_bytes); }

 private:
  std::vector<uint8_t> m_bytes;
};

// Walks the fields of a record after checking its header.
class CRecordReader {
 public:
  CRecordReader(const std::vector<uint8_t>& bytes, uint8_t nKind) : m_bytes(bytes) {
    if (bytes.size() < kHeaderSize || bytes[0] != kMagic0 || bytes[1] != kMagic1 ||
        bytes[2] != nKind)
      throw CStyleRecordError("The style record is not one of this program's.");
    if (bytes[3] != kVersion)
      throw CStyleRecordError("The style record has layout version " + std::to_string(bytes[3]) +
                              ", which this version of the program cannot read.");
  }

  // The next field, or false at the end of the record.
  bool Next(uint8_t& nTag, std::span<const uint8_t>& payload) {
    if (m_nAt == m_bytes.size()) return false;
    if (m_bytes.size() - m_nAt < kFieldHeadSize) throw Truncated();
    nTag = m_bytes[m_nAt];
    const size_t nSize = m_bytes[m_nAt + 1] | (size_t{m_bytes[m_nAt + 2]} << 8);
    m_nAt += kFieldHeadSize;
    if (m_bytes.size() - m_nAt < nSize) throw Truncated();
    payload = std::span<const uint8_t>(m_bytes).subspan(m_nAt, nSize);
    m_nAt += nSize;
    if (!m_seen.insert(nTag).second) throw Bad(nTag, "appears twice");
    return true;
  }

  static CStyleRecordError Bad(uint8_t nTag, std::string_view sWhat) {
    return CStyleRecordError("The style record's field " + std::to_string(nTag) + " " +
                             std::string(sWhat) + ".");
  }

  static int32_t Int(uint8_t nTag, std::span<const uint8_t> payload, int32_t nMin, int32_t nMax) {
    if (payload.size() != 4) throw Bad(nTag, "has the wrong size");
    const uint32_t n = payload[0] | (uint32_t{payload[1]} << 8) | (uint32_t{payload[2]} << 16) |
                       (uint32_t{payload[3]} << 24);
    const auto nValue = static_cast<int32_t>(n);
    if (nValue < nMin || nValue > nMax) throw Bad(nTag, "holds a value out of range");
    return nValue;
  }

  // Reads the field if it is one of the table's; a field of a later version
  // is skipped.
  template <typename TStyle, size_t nInts, size_t nBools>
  static void Known(TStyle& style, uint8_t nTag, std::span<const uint8_t> payload,
                    const std::array<SIntField<TStyle>, nInts>& ints,
                    const std::array<SBoolField<TStyle>, nBools>& bools) {
    for (const auto& field : ints) {
      if (field.nTag != nTag) continue;
      style.*field.pMember = Int(nTag, payload, field.nMin, field.nMax);
      return;
    }
    for (const auto& field : bools) {
      if (field.nTag != nTag) continue;
      if (payload.size() != 1 || payload[0] > 1) throw Bad(nTag, "is not a yes or no");
      style.*field.pMember = payload[0] == 1;
      return;
    }
  }

 private:
  static CStyleRecordError Truncated() {
    return CStyleRecordError("The style record is cut short.");
  }

  const std::vector<uint8_t>& m_bytes;
  size_t m_nAt = kHeaderSize;
  std::set<uint8_t> m_seen;
};

// A record of the kind: the field of nOwnTag, which is no integer or yes/no,
// goes to readOwn, the others to the tables.
template <typename TStyle, size_t nInts, size_t nBools, typename FReadOwn>
TStyle Decode(const std::vector<uint8_t>& bytes, uint8_t nKind, uint8_t nOwnTag,
              const std::array<SIntField<TStyle>, nInts>& ints,
              const std::array<SBoolField<TStyle>, nBools>& bools, FReadOwn readOwn) {
  CRecordReader reader(bytes, nKind);
  TStyle style;
  uint8_t nTag = 0;
  std::span<const uint8_t> payload;
  while (reader.Next(nTag, payload)) {
    if (nTag == nOwnTag)
      readOwn(style, payload);
    else
      CRecordReader::Known(style, nTag, payload, ints, bools);
  }
  return style;
}

}  // namespace

std::vector<uint8_t> EncodeCharStyle(const SCharStyle& style) {
  CRecordWriter writer(kCharKind);
  if (style.sFace) {
    const std::string_view sFace = std::string_view(*style.sFace).substr(0, kMaxFaceBytes);
    writer.Field(kFaceTag, std::span(reinterpret_cast<const uint8_t*>(sFace.data()), sFace.size()));
  }
  writer.Fields(style, kCharInts, kCharBools);
  return writer.Take();
}

std::vector<uint8_t> EncodeParaStyle(const SParaStyle& style) {
  CRecordWriter writer(kParaKind);
  if (style.eAlignment) writer.Byte(kAlignmentTag, static_cast<uint8_t>(*style.eAlignment));
  writer.Fields(style, kParaInts, kParaBools);
  return writer.Take();
}

SCharStyle DecodeCharStyle(const std::vector<uint8_t>& bytes) {
  return Decode<SCharStyle>(bytes, kCharKind, kFaceTag, kCharInts, kCharBools,
                            [](SCharStyle& style, std::span<const uint8_t> payload) {
                              if (payload.empty() || payload.size() > kMaxFaceBytes ||
                                  std::find(payload.begin(), payload.end(), 0) != payload.end())
                                throw CRecordReader::Bad(kFaceTag, "is not a font name");
                              style.sFace = std::string(payload.begin(), payload.end());
                            });
}

SParaStyle DecodeParaStyle(const std::vector<uint8_t>& bytes) {
  return Decode<SParaStyle>(
      bytes, kParaKind, kAlignmentTag, kParaInts, kParaBools,
      [](SParaStyle& style, std::span<const uint8_t> payload) {
        if (payload.size() != 1 || payload[0] > static_cast<uint8_t>(EStyleAlignment::Justify))
          throw CRecordReader::Bad(kAlignmentTag, "is not an alignment");
        style.eAlignment = static_cast<EStyleAlignment>(payload[0]);
      });
}

}  // namespace orv
