#pragma once
// The fonts of the tree and the editors ("treeFont", "textFont", "rtfFont",
// "HTMLFont") are kept as the Windows edition kept them: a 60-byte LOGFONTA
// record, or the 92-byte LOGFONTW when the face name does not fit the code
// page. Only what a font chooser sets is read; docs/formats/font-record.md
// gives the layout.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orv {

struct SFontRecord {
  std::string sFace;  // UTF-8
  // Height in pixels at 96 dpi: negative for the characters' height, positive
  // for the cell's (a little more); 0 for the face's default size.
  int32_t nHeight = 0;
  int32_t nWeight = 0;  // 100 thin … 400 normal … 700 bold … 900; 0 default
  bool bItalic = false;
  bool bUnderline = false;
  bool bStrikeOut = false;
  bool operator==(const SFontRecord&) const = default;
};

inline constexpr size_t kFontRecordSize = 60;
inline constexpr size_t kWideFontRecordSize = 92;

// The record, or null when the bytes are not one: the wrong size, no face
// name, or a weight out of range.
std::optional<SFontRecord> ReadFontRecord(std::span<const uint8_t> bytes);
// The narrow record when the face is windows-1252 text of at most 31 bytes,
// else the wide one (faces beyond 31 UTF-16 units are cut there).
std::vector<uint8_t> WriteFontRecord(const SFontRecord& font);

}  // namespace orv
