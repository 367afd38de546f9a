#include "shell/web_address.h"

#include "ports/settings_defaults.h"

namespace orv {

namespace {

std::string_view Trimmed(std::string_view sAddress) {
  while (!sAddress.empty() && (sAddress.front() == ' ' || sAddress.front() == '\t'))
    sAddress.remove_prefix(1);
  while (!sAddress.empty() &&
         (sAddress.back() == ' ' || sAddress.back() == '\t' || sAddress.back() == '/'))
    sAddress.remove_suffix(1);
  return sAddress;
}

}  // namespace

std::string WebAddress(CSettingsStore& settings) {
  const std::string sSetting = ReadSetting(settings, kWebAddress);
  const std::string_view sAddress = Trimmed(sSetting);
  return std::string(sAddress.empty() ? Trimmed(ORVELLA_WEB_ADDRESS) : sAddress);
}

std::string WebPageUrl(std::string_view sAddress, EWebPage ePage) {
  std::string_view sPath = "/";
  switch (ePage) {
    case EWebPage::Support:
      sPath = "/support.php";
      break;
    case EWebPage::WebSite:
      break;
    case EWebPage::Faq:
      sPath = "/faq.php";
      break;
    case EWebPage::Forum:
      sPath = "/forum.php";
      break;
    case EWebPage::Register:
      sPath = "/register.php";
      break;
  }
  return std::string(Trimmed(sAddress)) + std::string(sPath);
}

std::string UpdateCheckUrl(std::string_view sAddress, std::string_view sVersion) {
  return std::string(Trimmed(sAddress)) +
         "/check-for-updates.php?current-version=" + std::string(sVersion);
}

}  // namespace orv
