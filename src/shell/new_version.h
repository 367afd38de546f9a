#pragma once
// Asking the program's web site whether a newer version exists. The site
// answers "No" (or nothing) while this one is the newest, else a page about
// the new one. Only the version goes out: no user agent, no cookies.

#include <optional>
#include <string>
#include <string_view>

#include "shell/http_client.h"

namespace orv {

inline constexpr const char* kNewVersionTitle = "New version of Orvella is available";

// The page to show; none when the answer is exactly "No" or empty. Throws
// CHttpFailure when the site cannot be asked.
std::optional<std::string> NewVersionPage(CHttpClient& client, std::string_view sAddress,
                                          std::string_view sVersion, const FHttpStatus& status);

}  // namespace orv
