#include "ui/single_instance.h"

#include <unistd.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace orv {

namespace {

const QString kActivate = QStringLiteral("activate");
const QString kIsOpen = QStringLiteral("isopen ");
// Longer than any path; a peer sending more without a line end is cut off.
constexpr qsizetype kMaxRequest = qsizetype{64} * 1024;
constexpr qsizetype kMaxAnswer = 16;
constexpr int kConnectMs = 1000;
constexpr int kAnswerMs = 5000;

// One request to the running copy and its one-line answer, or nothing when
// no copy answers in time.
std::optional<QByteArray> Ask(const QString& sServerName, const QString& sRequest) {
  QLocalSocket socket;
  socket.connectToServer(sServerName);
  if (!socket.waitForConnected(kConnectMs)) return std::nullopt;
  socket.write(sRequest.toUtf8() + '\n');
  if (socket.bytesToWrite() > 0 && !socket.waitForBytesWritten(kAnswerMs)) return std::nullopt;
  while (!socket.canReadLine()) {
    if (socket.bytesAvailable() > kMaxAnswer || !socket.waitForReadyRead(kAnswerMs))
      return std::nullopt;
  }
  return socket.readLine().trimmed();
}

}  // namespace

bool IsSameDocumentPath(const QString& sAsked, const QString& sOpen) {
  return !sAsked.isEmpty() && !sOpen.isEmpty() && sAsked.compare(sOpen, Qt::CaseInsensitive) == 0;
}

CInstanceChecker::CInstanceChecker(QString sServerName, QObject* pParent)
    : QObject(pParent), m_sServerName(std::move(sServerName)) {
  connect(&m_server, &QLocalServer::newConnection, this, &CInstanceChecker::OnNewConnection);
}

QString CInstanceChecker::DefaultServerName() {
  // In the user's own runtime folder, so that nobody else can take the name
  // first; by uid, which needs no escaping.
  const QString sName = QStringLiteral("Orvella-%1").arg(::getuid());
  const QString sDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  return sDir.isEmpty() ? sName : sDir + '/' + sName;
}

bool CInstanceChecker::ActivateRunning() { return Ask(m_sServerName, kActivate).has_value(); }

std::optional<bool> CInstanceChecker::AskIsOpen(const QString& sPath, const QString& sServerName) {
  const auto answer = Ask(sServerName, kIsOpen + sPath);
  if (!answer) return std::nullopt;
  return *answer == "1";
}

bool CInstanceChecker::Publish(std::function<void()> onActivate,
                               std::function<bool(const QString&)> isOpen) {
  m_onActivate = std::move(onActivate);
  m_isOpen = std::move(isOpen);
  m_server.close();
  // Other users may not ask us anything.
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  // Only called when no copy answered, so a socket file left is a dead copy's.
  QLocalServer::removeServer(m_sServerName);
  return m_server.listen(m_sServerName);
}

void CInstanceChecker::OnNewConnection() {
  while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
    connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
    connect(pSocket, &QLocalSocket::readyRead, this, [this, pSocket] { OnReadyRead(pSocket); });
    if (pSocket->bytesAvailable() > 0) OnReadyRead(pSocket);
  }
}

void CInstanceChecker::OnReadyRead(QLocalSocket* pSocket) {
  // One request a connection; what follows the first line is ignored.
  if (pSocket->state() != QLocalSocket::ConnectedState) return;
  if (!pSocket->canReadLine()) {
    if (pSocket->bytesAvailable() > kMaxRequest) pSocket->abort();
    return;
  }
  QByteArray line = pSocket->readLine(kMaxRequest);
  if (!line.endsWith('\n')) {
    pSocket->abort();
    return;
  }
  line.chop(1);
  pSocket->write(Answer(QString::fromUtf8(line)) + '\n');
  pSocket->disconnectFromServer();
}

QByteArray CInstanceChecker::Answer(const QString& sRequest) {
  if (sRequest == kActivate) {
    if (m_onActivate) m_onActivate();
    return "1";
  }
  if (sRequest.startsWith(kIsOpen)) {
    const QString sPath = sRequest.mid(kIsOpen.size());
    return !sPath.isEmpty() && m_isOpen && m_isOpen(sPath) ? "1" : "0";
  }
  return "0";
}

}  // namespace orv
