#include "shell/http_client.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>

#include "shell/new_version.h"
#include "shell/server_backup.h"
#include "support/local_web_server.h"

namespace orv {
namespace {

class HttpClientTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { s_pServer = new test::CLocalWebServer; }
  static void TearDownTestSuite() { delete s_pServer; }
  static test::CLocalWebServer* s_pServer;
  std::unique_ptr<CHttpClient> m_pClient = MakeHttpClient({2, 2, 3});
  std::vector<std::string> m_status;
  FHttpStatus m_onStatus = [this](const std::string& sText) { m_status.push_back(sText); };
};
test::CLocalWebServer* HttpClientTest::s_pServer = nullptr;

TEST_F(HttpClientTest, AnswersComeBackExactlyAndTheStatusTellsTheSteps) {
  EXPECT_EQ(m_pClient->Download(s_pServer->Url("/no"), m_onStatus), "No");
  EXPECT_EQ(m_pClient->Download(s_pServer->Url("/lower"), nullptr), "no");
  EXPECT_EQ(m_pClient->Download(s_pServer->Url("/empty"), nullptr), "");
  // A long body is cut at the limit.
  EXPECT_EQ(m_pClient->Download(s_pServer->Url("/big"), nullptr), std::string(kHttpBodyLimit, 'x'));
  const std::vector<std::string> steps = {"Resolving name for 127.0.0.1",
                                          "Resolved name for 127.0.0.1",
                                          "Connecting to socket address",
                                          "Connected to socket address",
                                          "Sending request...",
                                          "Request sent",
                                          "Response received"};
  ASSERT_GE(m_status.size(), steps.size() + 3);
  EXPECT_EQ(std::vector<std::string>(m_status.begin(), m_status.begin() + 7), steps);
  EXPECT_EQ(m_status[m_status.size() - 4].substr(0, 12), "Read 2 bytes");
  EXPECT_EQ(m_status.back(), "Request complete");
}

TEST_F(HttpClientTest, FailuresSayWhatWentWrong) {
  const std::string sStall = s_pServer->Url("/stall");
  const std::string sLoop = s_pServer->Url("/loop");
  const struct {
    std::string sUrl, sMessage;
  } cases[] = {
      {s_pServer->Url("/missing"), "Error 404 on " + s_pServer->Url("/missing")},
      {s_pServer->Url("/secret"), "Error 401 on " + s_pServer->Url("/secret")},
      {sStall, "Can't load " + sStall + "\nThe server did not answer in time."},
      {sLoop, "Can't load " + sLoop + "\nThe server redirected too many times."},
      // Plain http is for this machine only, after a redirect too.
      {"http://example.com/",
       "Can't load http://example.com/\n"
       "Only secure (https://) addresses may be used."},
      {s_pServer->Url("/away"),
       "Can't load http://example.com/\n"
       "Only secure (https://) addresses may be used."},
  };
  for (const auto& c : cases) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW_MSG(m_pClient->Download(c.sUrl, nullptr), CHttpFailure, c.sMessage);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5)) << c.sUrl;
  }
}

TEST_F(HttpClientTest, ABackupLandsByteForByteOnlyWithTheRightLogin) {
  std::string sDocument(300'000, '\0');
  for (size_t n = 0; n < sDocument.size(); ++n) sDocument[n] = static_cast<char>(n * 7 % 256);
  test::CTempDir source;
  const std::string sPath = source.File("My notes #2.orv");
  test::WriteWholeFile(sPath, sDocument);
  SBackupAccount account{s_pServer->Url("/dav/"), "user", "wrong"};
  const std::string sBackup = s_pServer->File("My notes #2.orv");
  test::WriteWholeFile(sBackup, "the last backup");
  EXPECT_THROW_MSG(UploadBackup(*m_pClient, account, sPath, nullptr), CHttpFailure,
                   "Error 401 on " + s_pServer->Url("/dav/My%20notes%20%232.orv.uploading") +
                       "\nThe server did not accept the login and password.");
  EXPECT_EQ(test::ReadWholeFile(sBackup), "the last backup");
  account.sPassword = "secret";
  UploadBackup(*m_pClient, account, sPath, m_onStatus);
  EXPECT_EQ(test::ReadWholeFile(sBackup), sDocument);
  EXPECT_FALSE(std::filesystem::exists(sBackup + ".uploading"));
  EXPECT_NE(std::find_if(m_status.begin(), m_status.end(),
                         [](const std::string& s) { return s.starts_with("Sent 300000 bytes"); }),
            m_status.end());
  EXPECT_THROW_MSG(UploadBackup(*m_pClient, account, source.File("gone.orv"), nullptr),
                   CHttpFailure, "Can't open file " + source.File("gone.orv"));
}

TEST_F(HttpClientTest, OnlyAnAnswerOtherThanNoIsANewVersionPage) {
  const std::string sBase = s_pServer->Url("");
  const std::string sAnswerFile = s_pServer->File("answer.html");
  const struct {
    std::string sAnswer;
    bool bShown;
  } cases[] = {{"No", false}, {"", false}, {"no", true}, {"<p>Version 2</p>", true}};
  for (const auto& c : cases) {
    test::WriteWholeFile(sAnswerFile, c.sAnswer);
    const auto page = NewVersionPage(*m_pClient, sBase, "0.1.0", nullptr);
    EXPECT_EQ(page.value_or("-"), c.bShown ? c.sAnswer : "-") << c.sAnswer;
  }
  // The version is all the site learns.
  const std::string sRequest = test::ReadWholeFile(s_pServer->File("request.txt"));
  EXPECT_THAT(sRequest,
              testing::StartsWith("GET /check-for-updates.php?current-version=0.1.0 HTTP/1.1\n"));
  EXPECT_THAT(sRequest, testing::Not(testing::HasSubstr("User-Agent")));
  EXPECT_THAT(sRequest, testing::Not(testing::HasSubstr("Cookie")));
}

}  // namespace
}  // namespace orv
