// The HTML editor's colours as the settings keep them: six hex digits, red first.

#include "ports/hex_colour_setting.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"

namespace orv {
namespace {

TEST(HexColourSetting, ReadsSixHexDigitsRedFirst) {
  const std::pair<std::string_view, std::optional<int32_t>> cases[] = {
      {"ff8000", 0x0080FF},      {"0000FF", 0xFF0000},     {"000000", 0},
      {"ffffff", 0xFFFFFF},      {"", std::nullopt},       {"fff", std::nullopt},
      {"ff80000", std::nullopt}, {"gg0000", std::nullopt}, {"16777215", std::nullopt},
      {" ff800", std::nullopt},
  };
  for (auto [sValue, nColour] : cases) EXPECT_EQ(ParseHexColour(sValue), nColour) << sValue;

  CMemorySettingsStore store;
  EXPECT_EQ(ReadColour(store, kHtmlBckColor), std::nullopt);
  store.SetString("Settings", "htmlBckColor", "102030");
  EXPECT_EQ(ReadColour(store, kHtmlBckColor), 0x302010);
  // The others are numbers; each is written back in its own form.
  WriteColour(store, kHtmlTextColor, 0x0080FF);
  WriteColour(store, kTextColor, 0x0080FF);
  EXPECT_EQ(store.GetString("Settings", "HTMLtextColor", ""), "ff8000");
  EXPECT_EQ(store.GetInt("Settings", "textColor", -1), 0x0080FF);
  EXPECT_EQ(ReadColour(store, kTreeBckColor), std::nullopt);
}

}  // namespace
}  // namespace orv
