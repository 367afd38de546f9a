#include "attachments/mail_message.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <future>
#include <thread>

extern char** environ;

namespace orv {

namespace {

// A client that is still running by then has the mail on screen: xdg-email
// waits for some (Thunderbird started cold) until the user closes them.
constexpr std::chrono::seconds kClientWait{3};

bool IsUnreserved(unsigned char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

void AppendEncoded(std::string& sUrl, std::string_view sText, bool bKeepAt = false) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (size_t i = 0; i < sText.size(); ++i) {
    const auto c = static_cast<unsigned char>(sText[i]);
    if (c == '\r' || c == '\n') {
      // Any line break a note holds becomes the CR LF that mail wants.
      if (c == '\r' && i + 1 < sText.size() && sText[i + 1] == '\n') ++i;
      sUrl += "%0D%0A";
    } else if (IsUnreserved(c) || (bKeepAt && c == '@')) {
      sUrl += static_cast<char>(c);
    } else {
      sUrl += '%';
      sUrl += kHex[c >> 4];
      sUrl += kHex[c & 15];
    }
  }
}

}  // namespace

void CMailMsg::AddRecipient(std::string sAddress, std::string sName) {
  m_recipients.push_back({std::move(sAddress), std::move(sName)});
}

void CMailMsg::AddAttachment(std::string sPath, std::string sName) {
  m_attachments.push_back({std::move(sPath), std::move(sName)});
}

std::string MailtoUrl(const CMailMsg& mail) {
  std::string sUrl = "mailto:";
  for (size_t i = 0; i < mail.Recipients().size(); ++i) {
    const SMailRecipient& to = mail.Recipients()[i];
    if (i > 0) sUrl += ',';
    AppendEncoded(sUrl, to.sName.empty() ? to.sAddress : to.sName + " <" + to.sAddress + ">", true);
  }
  char cSeparator = '?';
  auto parameter = [&](std::string_view sKey, std::string_view sValue) {
    sUrl += cSeparator;
    cSeparator = '&';
    sUrl += sKey;
    sUrl += '=';
    AppendEncoded(sUrl, sValue);
  };
  if (!mail.Subject().empty()) parameter("subject", mail.Subject());
  if (!mail.Body().empty()) parameter("body", mail.Body());
  for (const SMailAttachment& attachment : mail.Attachments())
    parameter("attach", attachment.sPath);
  return sUrl;
}

bool CXdgEmailMsg::Send() {
  std::string sUrl = MailtoUrl(*this);
  if (sUrl.size() > kMailArgumentLimit) return false;
  std::string sProgram = "xdg-email";
  char* argv[] = {sProgram.data(), sUrl.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return false;
  // Waited for on a thread of its own, so a client that stays in the
  // foreground is reaped whenever it ends without holding up the caller.
  std::promise<int> exited;
  std::future<int> status = exited.get_future();
  std::thread([pid, exited = std::move(exited)]() mutable {
    int nStatus = 0;
    while (waitpid(pid, &nStatus, 0) < 0 && errno == EINTR) {
    }
    exited.set_value(nStatus);
  }).detach();
  if (status.wait_for(kClientWait) == std::future_status::timeout) return true;
  const int nStatus = status.get();
  return WIFEXITED(nStatus) && WEXITSTATUS(nStatus) == 0;
}

}  // namespace orv
