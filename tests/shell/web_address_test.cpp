#include "shell/web_address.h"

#include <gtest/gtest.h>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"

namespace orv {
namespace {

TEST(WebAddressTest, TheSettingsAddressWithoutStraySlashesOrSpaces) {
  CMemorySettingsStore settings;
  EXPECT_EQ(WebAddress(settings), "");  // this build names none
  WriteSetting(settings, kWebAddress, " https://orvella.example/ ");
  const std::string sAddress = WebAddress(settings);
  EXPECT_EQ(sAddress, "https://orvella.example");
  EXPECT_EQ(UpdateCheckUrl(sAddress, "0.1.0"),
            "https://orvella.example/check-for-updates.php?current-version=0.1.0");
  EXPECT_EQ(WebPageUrl("https://orvella.example/", EWebPage::Support),
            "https://orvella.example/support.php");
  EXPECT_EQ(WebPageUrl(sAddress, EWebPage::WebSite), "https://orvella.example/");
}

}  // namespace
}  // namespace orv
