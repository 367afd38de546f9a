#pragma once
// The program's web site: where it asks for a newer version and where the
// Help menu's pages live. Its address is a setting, else the build's own
// (cmake -DORVELLA_WEB_ADDRESS=...); without one there is no update check
// and no web pages.

#include <string>
#include <string_view>

#include "ports/settings_store.h"

namespace orv {

// "https://example.org" without a closing slash; empty when none is known.
std::string WebAddress(CSettingsStore& settings);

enum class EWebPage { Support, WebSite, Faq, Forum, Register };

std::string WebPageUrl(std::string_view sAddress, EWebPage ePage);

// What the site answers "No" to while sVersion is the newest.
std::string UpdateCheckUrl(std::string_view sAddress, std::string_view sVersion);

}  // namespace orv
