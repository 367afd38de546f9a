#include "ui/portal_global_shortcut.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QDBusVariant>
#include <QList>

namespace {

constexpr auto kService = "org.freedesktop.portal.Desktop";
constexpr auto kPath = "/org/freedesktop/portal/desktop";
constexpr auto kInterface = "org.freedesktop.portal.GlobalShortcuts";
constexpr auto kShortcutId = "activate";
// A portal that never answers must not hang the window at start-up.
constexpr int kCallTimeoutMs = 3000;

// One entry of BindShortcuts' a(sa{sv}).
struct SPortalShortcut {
  QString sId;
  QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const SPortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.sId << shortcut.properties;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, SPortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.sId >> shortcut.properties;
  argument.endStructure();
  return argument;
}

}  // namespace

Q_DECLARE_METATYPE(SPortalShortcut)

namespace orv {

namespace {

QDBusConnection Bus() { return QDBusConnection::sessionBus(); }

QDBusMessage PortalCall(const char* pMethod) {
  return QDBusMessage::createMethodCall(kService, kPath, kInterface, pMethod);
}

// The portal's request objects live at a path made of our bus name and the
// token we chose, so the answer can be listened for before asking.
QString RequestPath(const QString& sToken) {
  QString sSender = Bus().baseService().mid(1);
  sSender.replace('.', '_');
  return QStringLiteral("%1/request/%2/%3").arg(kPath, sSender, sToken);
}

}  // namespace

CPortalGlobalShortcut::CPortalGlobalShortcut(QObject* pParent) : QObject(pParent) {
  qDBusRegisterMetaType<SPortalShortcut>();
  qDBusRegisterMetaType<QList<SPortalShortcut>>();
}

CPortalGlobalShortcut::~CPortalGlobalShortcut() { Unbind(); }

bool CPortalGlobalShortcut::Bind(const QString& sPreferredTrigger) {
  Unbind();
  if (!Bus().isConnected()) return false;
  QDBusMessage versionCall =
      QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
  versionCall << QString(kInterface) << QStringLiteral("version");
  if (Bus().call(versionCall, QDBus::Block, kCallTimeoutMs).type() != QDBusMessage::ReplyMessage)
    return false;
  Bus().connect(kService, kPath, kInterface, "Activated", this, SLOT(OnActivated(QDBusMessage)));
  m_sTrigger = sPreferredTrigger;
  QDBusMessage create = PortalCall("CreateSession");
  const QString sToken = ExpectResponse(SLOT(OnSessionCreated(uint, QVariantMap)));
  create << QVariantMap{
      {"handle_token", sToken},
      {"session_handle_token", QStringLiteral("orvella_session%1").arg(m_nToken)}};
  if (Bus().call(create, QDBus::Block, kCallTimeoutMs).type() == QDBusMessage::ReplyMessage)
    return true;
  Unbind();
  return false;
}

void CPortalGlobalShortcut::Unbind() {
  StopExpecting();
  Bus().disconnect(kService, kPath, kInterface, "Activated", this, SLOT(OnActivated(QDBusMessage)));
  if (!m_sSession.isEmpty())
    Bus().call(QDBusMessage::createMethodCall(kService, m_sSession,
                                              "org.freedesktop.portal.Session", "Close"),
               QDBus::NoBlock);
  m_sSession.clear();
}

QString CPortalGlobalShortcut::ExpectResponse(const char* pSlot) {
  StopExpecting();
  const QString sToken = QStringLiteral("orvella%1").arg(++m_nToken);
  m_sRequest = RequestPath(sToken);
  m_pRequestSlot = pSlot;
  Bus().connect(kService, m_sRequest, "org.freedesktop.portal.Request", "Response", this, pSlot);
  return sToken;
}

void CPortalGlobalShortcut::StopExpecting() {
  if (m_sRequest.isEmpty()) return;
  Bus().disconnect(kService, m_sRequest, "org.freedesktop.portal.Request", "Response", this,
                   m_pRequestSlot);
  m_sRequest.clear();
}

void CPortalGlobalShortcut::OnSessionCreated(uint nResponse, const QVariantMap& results) {
  StopExpecting();
  if (nResponse != 0) return;  // the user or the desktop said no
  const QVariant session = results.value("session_handle");
  // A string by the portal's documentation; some portals send an object path.
  m_sSession = session.canConvert<QDBusObjectPath>() ? session.value<QDBusObjectPath>().path()
                                                     : session.toString();
  const QList<SPortalShortcut> shortcuts{{kShortcutId,
                                          {{"description", tr("Bring the Orvella window forward")},
                                           {"preferred_trigger", m_sTrigger}}}};
  QDBusMessage bind = PortalCall("BindShortcuts");
  const QString sToken = ExpectResponse(SLOT(OnBound(uint, QVariantMap)));
  bind << QVariant::fromValue(QDBusObjectPath(m_sSession)) << QVariant::fromValue(shortcuts)
       << QString() << QVariantMap{{"handle_token", sToken}};
  Bus().call(bind, QDBus::NoBlock);
}

void CPortalGlobalShortcut::OnBound(uint /*nResponse*/, const QVariantMap& /*results*/) {
  // Whatever the user chose in the desktop's dialog is theirs to change there.
  StopExpecting();
}

void CPortalGlobalShortcut::OnActivated(const QDBusMessage& message) {
  // (session o, shortcut id s, timestamp t, options a{sv})
  const QList<QVariant> arguments = message.arguments();
  if (arguments.size() < 2) return;
  if (arguments[0].value<QDBusObjectPath>().path() == m_sSession &&
      arguments[1].toString() == kShortcutId)
    emit Activated();
}

}  // namespace orv
