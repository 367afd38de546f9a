#include "ui/dialogs/font_ref.h"

#include <algorithm>
#include <cmath>

#include "app/font_record.h"

namespace orv {

namespace {

// A record's height is in pixels at 96 dots an inch; a point is 1/72 inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;

}  // namespace

std::optional<QFont> StoredFont(CSettingsStore& settings, const SBinarySetting& setting,
                                const QFont& base) {
  std::optional<std::vector<uint8_t>> bytes = ReadSetting(settings, setting);
  std::optional<SFontRecord> record = bytes ? ReadFontRecord(*bytes) : std::nullopt;
  if (!record) return std::nullopt;
  QFont font = base;
  font.setFamilies({QString::fromStdString(record->sFace)});
  if (record->nHeight != 0) font.setPointSizeF(std::abs(record->nHeight) / kPixelsPerPoint);
  if (record->nWeight > 0)
    font.setWeight(static_cast<QFont::Weight>(std::clamp(record->nWeight, 100, 900)));
  font.setItalic(record->bItalic);
  font.setUnderline(record->bUnderline);
  font.setStrikeOut(record->bStrikeOut);
  return font;
}

void StoreFont(CSettingsStore& settings, const SBinarySetting& setting, const QFont& font) {
  SFontRecord record;
  record.sFace = font.family().toStdString();
  // Negative: the characters' height, as a font chooser on Windows writes it.
  if (font.pointSizeF() > 0)
    record.nHeight = -static_cast<int32_t>(std::lround(font.pointSizeF() * kPixelsPerPoint));
  record.nWeight = font.weight();
  record.bItalic = font.italic();
  record.bUnderline = font.underline();
  record.bStrikeOut = font.strikeOut();
  WriteSetting(settings, setting, WriteFontRecord(record));
}

}  // namespace orv
