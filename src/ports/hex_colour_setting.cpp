#include "ports/hex_colour_setting.h"

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

std::optional<int32_t> ReadHexColour(CSettingsStore& store, const SIntSetting& setting) {
  return ParseHexColour(store.GetString(setting.sSection, setting.sName, ""));
}

}  // namespace orv
