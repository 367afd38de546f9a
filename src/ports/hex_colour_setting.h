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
// None when the setting is unset or unreadable: the desktop's theme decides.
std::optional<int32_t> ReadHexColour(CSettingsStore& store, const SIntSetting& setting);

}  // namespace orv
