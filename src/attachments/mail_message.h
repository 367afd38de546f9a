#pragma once
// A mail handed to the user's mail client to finish and send: subject, body,
// recipients and attached files. CMailMsg is what commands fill; the desktop
// hands it on through xdg-email (CXdgEmailMsg), tests keep it.

#include <cstddef>
#include <string>
#include <vector>

namespace orv {

struct SMailRecipient {
  std::string sAddress;
  std::string sName;  // display name, may be empty
};

struct SMailAttachment {
  std::string sPath;  // absolute
  std::string sName;  // the name a client that can show one shows
};

// A reserved domain: a mail sent by mistake reaches no one.
inline constexpr char kPlaceholderRecipient[] = "recipient@example.invalid";

// The longest single argument Linux passes to a program (128 KiB with its
// terminating zero): the whole mail travels as one mailto: argument.
inline constexpr size_t kMailArgumentLimit = 128 * 1024 - 1;

class CMailMsg {
 public:
  virtual ~CMailMsg() = default;

  void SetSubject(std::string sSubject) { m_sSubject = std::move(sSubject); }
  void SetBody(std::string sBody) { m_sBody = std::move(sBody); }
  void AddRecipient(std::string sAddress, std::string sName = {});
  void AddAttachment(std::string sPath, std::string sName);

  const std::string& Subject() const { return m_sSubject; }
  const std::string& Body() const { return m_sBody; }
  const std::vector<SMailRecipient>& Recipients() const { return m_recipients; }
  const std::vector<SMailAttachment>& Attachments() const { return m_attachments; }

  // Hands the mail to the mail client; true when the client took it.
  virtual bool Send() = 0;

 private:
  std::string m_sSubject;
  std::string m_sBody;
  std::vector<SMailRecipient> m_recipients;
  std::vector<SMailAttachment> m_attachments;
};

// The mail as one mailto: URL (RFC 6068): every byte but the unreserved ones
// percent-encoded, line breaks as CR LF, attachments as the "attach"
// parameter that xdg-email itself writes and the clients it knows read.
std::string MailtoUrl(const CMailMsg& mail);

// Whether the mail fits in the one argument the mail client is given.
inline bool FitsMailArgument(const CMailMsg& mail) {
  return MailtoUrl(mail).size() <= kMailArgumentLimit;
}

// Hands the mail to xdg-email as one finished mailto: URL, in an argument
// vector, never through a shell. (Given --subject and --body, xdg-email
// passes the text through `echo`, which cuts it at a "\c".) The user's
// MAILER, when set, is the client xdg-email starts.
class CXdgEmailMsg : public CMailMsg {
 public:
  bool Send() override;
};

}  // namespace orv
