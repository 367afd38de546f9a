#pragma once
// The HTML editor's colours ("htmlBckColor", "HTMLtextColor") are kept as
// six hexadecimal digits, red, green and blue ("ff8000"), not as a number.

#include <cstdint>
#include <optional>
#include <string_view>

#include "ports/settings_defaults.h"

namespace orv {

// The colour as a COLORREF (red in the low byte), or none when the value is
// not six hexadecimal digits.
std::optional<int32_t> ParseHexColour(std::string_view sValue);
// Any colour of the settings, in the form it is kept in: the HTML editor's
// two as hex digits, the others as numbers. None when unset or unreadable.
std::optional<int32_t> ReadColour(CSettingsStore& store, const SIntSetting& setting);
void WriteColour(CSettingsStore& store, const SIntSetting& setting, int32_t nColorRef);

}  // namespace orv
