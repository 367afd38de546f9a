#include "shell/http_client.h"

#include <curl/curl.h>
#include <sys/socket.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

namespace orv {

namespace {

using FUrlPtr = std::unique_ptr<CURLU, decltype(&curl_url_cleanup)>;
using FCurlPtr = std::unique_ptr<CURL, decltype(&curl_easy_cleanup)>;
using FFilePtr = std::unique_ptr<FILE, decltype(&std::fclose)>;
using FHeadersPtr = std::unique_ptr<curl_slist, decltype(&curl_slist_free_all)>;

std::string UrlPart(const std::string& sUrl, CURLUPart ePart) {
  FUrlPtr pUrl(curl_url(), curl_url_cleanup);
  char* pPart = nullptr;
  if (!pUrl || curl_url_set(pUrl.get(), CURLUPART_URL, sUrl.c_str(), 0) != CURLUE_OK ||
      curl_url_get(pUrl.get(), ePart, &pPart, 0) != CURLUE_OK)
    return {};
  std::string sPart(pPart);
  curl_free(pPart);
  return sPart;
}

// " (2.0 Kb/s)"
std::string SpeedText(double dBytesPerSecond) {
  char text[48];
  std::snprintf(text, sizeof text, " (%0.1f Kb/s)", dBytesPerSecond / 1024.0);
  return text;
}

// One request to one address, with its status texts.
class CRequest {
 public:
  CRequest(const SHttpLimits& limits, const std::string& sUrl, const FHttpStatus& status,
           bool bUpload)
      : m_pCurl(curl_easy_init(), curl_easy_cleanup),
        m_sUrl(sUrl),
        m_status(status),
        m_bUpload(bUpload) {
    if (!m_pCurl) throw CHttpFailure("Not enough memory");
    CURL* pCurl = m_pCurl.get();
    curl_easy_setopt(pCurl, CURLOPT_URL, sUrl.c_str());
    curl_easy_setopt(pCurl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(pCurl, CURLOPT_NOSIGNAL, 1L);        // other threads keep their signals
    curl_easy_setopt(pCurl, CURLOPT_FOLLOWLOCATION, 0L);  // each hop is checked here
    curl_easy_setopt(pCurl, CURLOPT_CONNECTTIMEOUT, limits.nConnectSeconds);
    if (bUpload) {
      curl_easy_setopt(pCurl, CURLOPT_LOW_SPEED_LIMIT, 1024L);
      curl_easy_setopt(pCurl, CURLOPT_LOW_SPEED_TIME, limits.nTotalSeconds);
    } else {
      curl_easy_setopt(pCurl, CURLOPT_TIMEOUT, limits.nTotalSeconds);
    }
    curl_easy_setopt(pCurl, CURLOPT_WRITEFUNCTION, &CRequest::OnBody);
    curl_easy_setopt(pCurl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(pCurl, CURLOPT_HEADERFUNCTION, &CRequest::OnHeader);
    curl_easy_setopt(pCurl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(pCurl, CURLOPT_OPENSOCKETFUNCTION, &CRequest::OnOpenSocket);
    curl_easy_setopt(pCurl, CURLOPT_OPENSOCKETDATA, this);
    curl_easy_setopt(pCurl, CURLOPT_PREREQFUNCTION, &CRequest::OnConnected);
    curl_easy_setopt(pCurl, CURLOPT_PREREQDATA, this);
    curl_easy_setopt(pCurl, CURLOPT_XFERINFOFUNCTION, &CRequest::OnProgress);
    curl_easy_setopt(pCurl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(pCurl, CURLOPT_NOPROGRESS, 0L);
  }

  CURL* Handle() { return m_pCurl.get(); }

  // Runs the request; the body read goes to *pBody when one is given.
  long Perform(std::string* pBody) {
    m_pBody = pBody;
    m_host = UrlPart(m_sUrl, CURLUPART_HOST);
    Say("Resolving name for " + m_host);
    m_start = std::chrono::steady_clock::now();
    const CURLcode eResult = curl_easy_perform(m_pCurl.get());
    long nStatus = 0;
    curl_easy_getinfo(m_pCurl.get(), CURLINFO_RESPONSE_CODE, &nStatus);
    Say("Closing the connection to the server");
    if (eResult != CURLE_OK && !(eResult == CURLE_WRITE_ERROR && m_bCut)) {
      std::string sReason = curl_easy_strerror(eResult);
      if (eResult == CURLE_OPERATION_TIMEDOUT) sReason = "The server did not answer in time.";
      throw CHttpFailure("Can't load " + m_sUrl + "\n" + sReason);
    }
    return nStatus;
  }

  std::string RedirectUrl() {
    char* pLocation = nullptr;
    curl_easy_getinfo(m_pCurl.get(), CURLINFO_REDIRECT_URL, &pLocation);
    return pLocation ? pLocation : "";
  }

  void Close() {
    m_pCurl.reset();
    Say("Connection to the server closed");
    Say("Request complete");
  }

 private:
  void Say(const std::string& sText) {
    if (m_status) m_status(sText);
  }

  static size_t OnBody(char* pData, size_t, size_t nBytes, void* pThis) {
    CRequest& self = *static_cast<CRequest*>(pThis);
    if (!self.m_pBody) return nBytes;  // an upload's answer is not kept
    const size_t nRoom = kHttpBodyLimit - self.m_pBody->size();
    self.m_pBody->append(pData, std::min(nBytes, nRoom));
    if (nBytes < nRoom) return nBytes;
    self.m_bCut = true;
    return 0;  // stops the transfer: the rest is not read
  }

  static size_t OnHeader(char*, size_t, size_t nBytes, void* pThis) {
    CRequest& self = *static_cast<CRequest*>(pThis);
    if (!self.m_bAnswered) {
      self.m_bAnswered = true;
      self.Say("Request sent");
      self.Say("Response received");
    }
    return nBytes;
  }

  static curl_socket_t OnOpenSocket(void* pThis, curlsocktype, curl_sockaddr* pAddress) {
    CRequest& self = *static_cast<CRequest*>(pThis);
    self.Say("Resolved name for " + self.m_host);
    self.Say("Connecting to socket address");
    return socket(pAddress->family, pAddress->socktype, pAddress->protocol);
  }

  static int OnConnected(void* pThis, char*, char*, int, int) {
    CRequest& self = *static_cast<CRequest*>(pThis);
    self.Say("Connected to socket address");
    self.Say("Sending request...");
    return CURL_PREREQFUNC_OK;
  }

  static int OnProgress(void* pThis, curl_off_t, curl_off_t nRead, curl_off_t, curl_off_t nSent) {
    CRequest& self = *static_cast<CRequest*>(pThis);
    const curl_off_t nBytes = self.m_bUpload ? nSent : nRead;
    if (nBytes == self.m_nShown) return 0;
    self.m_nShown = nBytes;
    const double dSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - self.m_start).count();
    std::string sText =
        std::string(self.m_bUpload ? "Sent " : "Read ") + std::to_string(nBytes) + " bytes";
    if (dSeconds > 0) sText += SpeedText(static_cast<double>(nBytes) / dSeconds);
    self.Say(sText);
    return 0;
  }

  FCurlPtr m_pCurl;
  std::string m_sUrl;
  std::string m_host;
  FHttpStatus m_status;
  bool m_bUpload;
  std::string* m_pBody = nullptr;
  bool m_bCut = false;
  bool m_bAnswered = false;
  curl_off_t m_nShown = 0;
  std::chrono::steady_clock::time_point m_start;
};

std::string Refused(const std::string& sUrl) {
  return "Can't load " + sUrl + "\nOnly secure (https://) addresses may be used.";
}

std::string ErrorOn(long nStatus, const std::string& sUrl) {
  return "Error " + std::to_string(nStatus) + " on " + sUrl;
}

void SetLogin(CURL* pCurl, const std::string& sLogin, const std::string& sPassword) {
  curl_easy_setopt(pCurl, CURLOPT_HTTPAUTH, CURLAUTH_BASIC);
  curl_easy_setopt(pCurl, CURLOPT_USERNAME, sLogin.c_str());
  curl_easy_setopt(pCurl, CURLOPT_PASSWORD, sPassword.c_str());
}

// Runs a request that changes something on the server; anything but a 2xx
// answer (a redirect too) means it did not happen. Only these carry the
// login, so a 401 here is the server turning the account away.
void PerformChange(CRequest& request, const std::string& sUrl) {
  const long nStatus = request.Perform(nullptr);
  request.Close();
  if (nStatus == 401)
    throw CHttpFailure(ErrorOn(nStatus, sUrl) +
                       "\nThe server did not accept the login and password.");
  if (nStatus < 200 || nStatus >= 300) throw CHttpFailure(ErrorOn(nStatus, sUrl));
}

class CCurlClient : public CHttpClient {
 public:
  explicit CCurlClient(const SHttpLimits& limits) : m_limits(limits) {}

  std::string Download(const std::string& sUrl, const FHttpStatus& status) override {
    std::string sBody;
    try {
      sBody.reserve(kHttpBufferSize);
    } catch (const std::bad_alloc&) {
      throw CHttpFailure("Not enough memory");
    }
    std::string sAt = sUrl;
    for (long nHops = 0;; ++nHops) {
      if (!IsAllowedHttpUrl(sAt)) throw CHttpFailure(Refused(sAt));
      CRequest request(m_limits, sAt, status, false);
      sBody.clear();
      const long nStatus = request.Perform(&sBody);
      const std::string sNext = request.RedirectUrl();
      request.Close();
      if (nStatus >= 300 && nStatus < 400 && !sNext.empty()) {
        if (nHops >= m_limits.nMaxRedirects)
          throw CHttpFailure("Can't load " + sUrl + "\nThe server redirected too many times.");
        sAt = sNext;
        continue;
      }
      // An error page is no answer: it would read as one.
      if (nStatus >= 400) throw CHttpFailure(ErrorOn(nStatus, sAt));
      return sBody;
    }
  }

  void Upload(const std::string& sUrl, const std::string& sPath, const std::string& sLogin,
              const std::string& sPassword, const FHttpStatus& status) override {
    if (!IsAllowedHttpUrl(sUrl)) throw CHttpFailure(Refused(sUrl));
    FFilePtr pFile(std::fopen(sPath.c_str(), "rb"), std::fclose);
    std::error_code error;
    const auto nSize = std::filesystem::file_size(sPath, error);
    if (!pFile || error) throw CHttpFailure("Can't open file " + sPath);
    CRequest request(m_limits, sUrl, status, true);
    CURL* pCurl = request.Handle();
    curl_easy_setopt(pCurl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(pCurl, CURLOPT_READDATA, pFile.get());
    curl_easy_setopt(pCurl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(nSize));
    SetLogin(pCurl, sLogin, sPassword);
    PerformChange(request, sUrl);
  }

  void Move(const std::string& sFrom, const std::string& sTo, const std::string& sLogin,
            const std::string& sPassword, const FHttpStatus& status) override {
    for (const std::string& sUrl : {sFrom, sTo})
      if (!IsAllowedHttpUrl(sUrl)) throw CHttpFailure(Refused(sUrl));
    CRequest request(m_limits, sFrom, status, false);
    CURL* pCurl = request.Handle();
    FHeadersPtr pHeaders(curl_slist_append(nullptr, ("Destination: " + sTo).c_str()),
                         curl_slist_free_all);
    if (pHeaders) curl_slist_append(pHeaders.get(), "Overwrite: T");
    curl_easy_setopt(pCurl, CURLOPT_CUSTOMREQUEST, "MOVE");
    curl_easy_setopt(pCurl, CURLOPT_HTTPHEADER, pHeaders.get());
    SetLogin(pCurl, sLogin, sPassword);
    PerformChange(request, sFrom);
  }

 private:
  SHttpLimits m_limits;
};

}  // namespace

bool IsAllowedHttpUrl(const std::string& sUrl) {
  const std::string sScheme = UrlPart(sUrl, CURLUPART_SCHEME);
  return sScheme == "https" || (sScheme == "http" && UrlPart(sUrl, CURLUPART_HOST) == "127.0.0.1");
}

std::unique_ptr<CHttpClient> MakeHttpClient(const SHttpLimits& limits) {
  static const CURLcode eInit = curl_global_init(CURL_GLOBAL_DEFAULT);
  if (eInit != CURLE_OK) throw CHttpFailure("Not enough memory");
  return std::make_unique<CCurlClient>(limits);
}

}  // namespace orv
