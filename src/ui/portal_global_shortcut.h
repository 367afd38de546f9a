#pragma once
// A global shortcut through the desktop portal (org.freedesktop.portal
// .GlobalShortcuts over D-Bus): on Wayland no program may grab a key, so the
// compositor binds it for us, after asking the user, and tells us when it is
// pressed. The portal's answers come later, as signals on request objects.

#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantMap>

namespace orv {

class CPortalGlobalShortcut : public QObject {
  Q_OBJECT

 public:
  explicit CPortalGlobalShortcut(QObject* pParent = nullptr);
  ~CPortalGlobalShortcut() override;

  // Asks for a new session with the one shortcut, the trigger a preference
  // the user may change in the desktop's own dialog. False when the session
  // bus has no portal with global shortcuts.
  bool Bind(const QString& sPreferredTrigger);
  void Unbind();

 signals:
  void Activated();

 private slots:
  void OnSessionCreated(uint nResponse, const QVariantMap& results);
  void OnBound(uint nResponse, const QVariantMap& results);
  void OnActivated(const QDBusMessage& message);

 private:
  // Listens for the answer to a request made with the token, before making it.
  QString ExpectResponse(const char* pSlot);
  void StopExpecting();

  QString m_sTrigger;
  QString m_sSession;  // the session's object path, once the portal gave it
  QString m_sRequest;  // the request whose answer is awaited
  const char* m_pRequestSlot = nullptr;
  unsigned m_nToken = 0;
};

}  // namespace orv
