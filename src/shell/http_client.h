#pragma once
// Talking to web servers: fetching a page as text (the update check),
// uploading a file by HTTP PUT and renaming it by WebDAV MOVE (the server backup). Every address
// must be https:// but the own machine's (127.0.0.1), so no password or answer travels in the
// clear. Transfers block: callers keep them off the UI thread.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

namespace orv {

// A failed transfer; what() is the text for the user.
class CHttpFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr size_t kHttpBufferSize = 10'000'000;
// A page is cut after this many bytes.
inline constexpr size_t kHttpBodyLimit = 9'998'000;

struct SHttpLimits {
  long nConnectSeconds = 20;
  // A page must arrive in this time; an upload may take longer, but not stall
  // (less than a kilobyte a second) for as long.
  long nTotalSeconds = 60;
  long nMaxRedirects = 5;
};

// Receives the transfer's status texts ("Resolving name for …", "Read 1000
// bytes (2.0 Kb/s)", …) as it goes, on the transferring thread.
using FHttpStatus = std::function<void(const std::string&)>;

class CHttpClient {
 public:
  virtual ~CHttpClient() = default;
  // The body of a GET of sUrl, cut at kHttpBodyLimit bytes.
  virtual std::string Download(const std::string& sUrl, const FHttpStatus& status) = 0;
  // Sends the file at sPath by PUT to sUrl with basic authentication.
  virtual void Upload(const std::string& sUrl, const std::string& sPath, const std::string& sLogin,
                      const std::string& sPassword, const FHttpStatus& status) = 0;
  // Renames sFrom to sTo on a WebDAV server (MOVE), over what sTo held.
  virtual void Move(const std::string& sFrom, const std::string& sTo, const std::string& sLogin,
                    const std::string& sPassword, const FHttpStatus& status) = 0;
};

// The client of this platform (libcurl).
std::unique_ptr<CHttpClient> MakeHttpClient(const SHttpLimits& limits = {});

// Whether sUrl may be asked at all: https://, or http:// to 127.0.0.1.
bool IsAllowedHttpUrl(const std::string& sUrl);

}  // namespace orv
