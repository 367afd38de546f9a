#include "ui/single_instance.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QUuid>
#include <chrono>
#include <future>

#include "support/test_support.h"

namespace orv {
namespace {

// The asking copy blocks on its socket, so it asks from another thread while
// this one runs the answering copy's event loop.
template <class TAsk>
auto WhileServing(TAsk ask) {
  auto answer = std::async(std::launch::async, ask);
  while (answer.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return answer.get();
}

class SingleInstanceTest : public ::testing::Test {
 protected:
  void Publish() {
    ASSERT_TRUE(m_running.Publish([this] { ++m_nActivated; },
                                  [this](const QString& sPath) {
                                    m_asked.push_back(sPath);
                                    return IsSameDocumentPath(sPath, "/home/u/Notes.orv");
                                  }));
  }
  std::optional<bool> AskIsOpen(const QString& sPath) {
    return WhileServing([&] { return CInstanceChecker::AskIsOpen(sPath, m_sName); });
  }

  const QString m_sName = "orvella-test-" + QUuid::createUuid().toString(QUuid::WithoutBraces);
  CInstanceChecker m_running{m_sName};
  CInstanceChecker m_second{m_sName};
  int m_nActivated = 0;
  QStringList m_asked;
};

TEST_F(SingleInstanceTest, NoRunningCopyAnswersNothing) {
  EXPECT_FALSE(m_second.ActivateRunning());
  EXPECT_EQ(CInstanceChecker::AskIsOpen("/home/u/Notes.orv", m_sName), std::nullopt);
}

TEST(SingleInstanceNameTest, DefaultNameIsInAFolderOnlyTheUserCanEnter) {
  const QFileInfo name(CInstanceChecker::DefaultServerName());
  EXPECT_TRUE(name.fileName().startsWith("Orvella-"));
  const QFileInfo dir(name.path());
  EXPECT_TRUE(dir.isDir());
  EXPECT_EQ(dir.ownerId(), ::getuid());
  EXPECT_EQ(dir.permissions() & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                 QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
            QFile::Permissions());
}

TEST_F(SingleInstanceTest, SecondCopyActivatesTheFirst) {
  Publish();
  EXPECT_TRUE(WhileServing([&] { return m_second.ActivateRunning(); }));
  EXPECT_EQ(m_nActivated, 1);
}

TEST_F(SingleInstanceTest, IsOpenComparesIgnoringCase) {
  Publish();
  EXPECT_EQ(AskIsOpen("/HOME/u/notes.ORV"), true);
  EXPECT_EQ(AskIsOpen("/home/u/Other.orv"), false);
  EXPECT_EQ(AskIsOpen("/home/u/Notes.orv with space"), false);
  EXPECT_EQ(AskIsOpen(""), false);  // answered without asking the window
  EXPECT_EQ(m_asked, (QStringList{"/HOME/u/notes.ORV", "/home/u/Other.orv",
                                  "/home/u/Notes.orv with space"}));
  EXPECT_EQ(m_nActivated, 0);

  EXPECT_FALSE(IsSameDocumentPath("/a.orv", ""));
  EXPECT_FALSE(IsSameDocumentPath("", ""));
}

TEST_F(SingleInstanceTest, PublishReplacesADeadCopysSocket) {
  test::WriteWholeFile((QDir::tempPath() + "/" + m_sName).toStdString(), "");
  EXPECT_FALSE(m_second.ActivateRunning());
  Publish();
  EXPECT_TRUE(WhileServing([&] { return m_second.ActivateRunning(); }));
}

TEST_F(SingleInstanceTest, OddRequestsAreRefusedAndServingGoesOn) {
  Publish();
  const auto send = [&](const QByteArray& request) {
    return WhileServing([&] {
      QLocalSocket socket;
      socket.connectToServer(m_sName);
      socket.waitForConnected(1000);
      socket.write(request);
      socket.waitForBytesWritten(1000);
      QByteArray answer;
      while (socket.waitForReadyRead(2000)) answer += socket.readAll();
      return std::pair{answer, socket.state() == QLocalSocket::UnconnectedState};
    });
  };
  EXPECT_EQ(send("shutdown\n"), std::pair(QByteArray("0\n"), true));
  // A request without an end is cut off rather than gathered forever.
  EXPECT_EQ(send(QByteArray(100 * 1024, 'x')), std::pair(QByteArray(), true));
  EXPECT_EQ(AskIsOpen("/home/u/notes.orv"), true);
  EXPECT_EQ(m_nActivated, 0);
}

}  // namespace
}  // namespace orv
