#pragma once
// Keeps the user to one running copy when they ask for it, and lets another
// process ask the running copy whether it has a document open. The running
// copy listens on a local socket named per user; a request is one line,
// "activate" or "isopen <path>", answered by one line.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QLocalSocket;

namespace orv {

// Whether the asked path is the open document's: equal ignoring case; an
// empty path on either side is never open.
bool IsSameDocumentPath(const QString& sAsked, const QString& sOpen);

class CInstanceChecker : public QObject {
  Q_OBJECT

 public:
  // Shown, by the caller, before a second copy hands over and exits.
  static constexpr const char* kPreviousVersionMessage =
      "Previous version detected, will now restore it";

  // sServerName defaults to one per user; tests pass their own.
  explicit CInstanceChecker(QString sServerName = DefaultServerName(), QObject* pParent = nullptr);

  static QString DefaultServerName();

  // True when another copy answered and was asked to come to the front.
  bool ActivateRunning();
  // Listens for the requests of other copies, replacing a server left behind
  // by a copy that died. False when listening failed.
  bool Publish(std::function<void()> onActivate, std::function<bool(const QString&)> isOpen);
  // The running copy's answer, or nothing when no copy answers.
  static std::optional<bool> AskIsOpen(const QString& sPath,
                                       const QString& sServerName = DefaultServerName());

 private:
  void OnNewConnection();
  void OnReadyRead(QLocalSocket* pSocket);
  QByteArray Answer(const QString& sRequest);

  QString m_sServerName;
  QLocalServer m_server;
  std::function<void()> m_onActivate;
  std::function<bool(const QString&)> m_isOpen;
};

}  // namespace orv
