#include "shell/new_version.h"

#include "shell/web_address.h"

namespace orv {

std::optional<std::string> NewVersionPage(CHttpClient& client, std::string_view sAddress,
                                          std::string_view sVersion, const FHttpStatus& status) {
  std::string sAnswer = client.Download(UpdateCheckUrl(sAddress, sVersion), status);
  if (sAnswer.empty() || sAnswer == "No") return std::nullopt;
  return sAnswer;
}

}  // namespace orv
