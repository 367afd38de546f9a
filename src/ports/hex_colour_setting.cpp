#include "ports/hex_colour_setting.h"

#include <cstdio>

#include "ports/settings_store.h"

namespace orv {

std::optional<int32_t> ParseHexColour(std::string_view sValue) {
  if (sValue.size() != 6) return std::nullopt;
  int32_t nRgb = 0;
  for (char c : sValue) {
    int nDigit = 0;
    if (c >= '0' && c <= '9')
      nDigit = c - '0';
    else if (c >= 'a' && c <= 'f')
      nDigit = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      nDigit = c - 'A' + 10;
    else
      return std::nullopt;
    nRgb = nRgb * 16 + nDigit;
  }
  // Written red first; a COLORREF holds red in its low byte.
  return ((nRgb >> 16) & 0xFF) | (nRgb & 0xFF00) | ((nRgb & 0xFF) << 16);
}

namespace {

bool IsHexColour(const SIntSetting& setting) {
  return setting.sName == kHtmlBckColor.sName || setting.sName == kHtmlTextColor.sName;
}

}  // namespace

std::optional<int32_t> ReadColour(CSettingsStore& store, const SIntSetting& setting) {
  if (IsHexColour(setting))
    return ParseHexColour(store.GetString(setting.sSection, setting.sName, ""));
  const int32_t nColour = store.GetInt(setting.sSection, setting.sName, -1);
  return nColour >= 0 ? std::optional(nColour) : std::nullopt;
}

void WriteColour(CSettingsStore& store, const SIntSetting& setting, int32_t nColorRef) {
  if (!IsHexColour(setting)) return WriteSetting(store, setting, nColorRef);
  char sHex[7];
  std::snprintf(sHex, sizeof sHex, "%02x%02x%02x", nColorRef & 0xFF, (nColorRef >> 8) & 0xFF,
                (nColorRef >> 16) & 0xFF);
  store.SetString(setting.sSection, setting.sName, sHex);
}

}  // namespace orv
