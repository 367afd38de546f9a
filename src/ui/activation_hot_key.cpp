#include "ui/activation_hot_key.h"

#include <xcb/xcb.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>
#include <memory>

#include "ui/portal_global_shortcut.h"

namespace orv {

namespace {

xcb_connection_t* Connection() {
  auto* pX11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return pX11 ? pX11->connection() : nullptr;
}

xcb_window_t RootWindow(xcb_connection_t* pConnection) {
  return xcb_setup_roots_iterator(xcb_get_setup(pConnection)).data->root;
}

// The key code the X server gives the keysym now, or 0.
uint8_t KeyCodeOf(xcb_connection_t* pConnection, uint32_t nKeySym) {
  const xcb_setup_t* pSetup = xcb_get_setup(pConnection);
  const uint8_t nFirst = pSetup->min_keycode;
  const int nCount = pSetup->max_keycode - nFirst + 1;
  std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> pMapping(
      xcb_get_keyboard_mapping_reply(
          pConnection, xcb_get_keyboard_mapping(pConnection, nFirst, nCount), nullptr),
      &std::free);
  if (!pMapping) return 0;
  const xcb_keysym_t* pSyms = xcb_get_keyboard_mapping_keysyms(pMapping.get());
  const int nPerCode = pMapping->keysyms_per_keycode;
  for (int nCode = 0; nCode < nCount; ++nCode)
    for (int i = 0; i < nPerCode; ++i)
      if (pSyms[nCode * nPerCode + i] == nKeySym) return static_cast<uint8_t>(nFirst + nCode);
  return 0;
}

// Where the desktop speaks Wayland, even to a program that runs on XWayland.
bool InWaylandSession() {
  return qgetenv("XDG_SESSION_TYPE") == "wayland" ||
         !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// Caps Lock and Num Lock must not stop the key: it is grabbed with each.
constexpr uint16_t kLockVariants[] = {0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2,
                                      XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

}  // namespace

CActivationHotKey::CActivationHotKey(QObject* pParent) : QObject(pParent) {
  if (InWaylandSession()) {
    m_pPortal = new CPortalGlobalShortcut(this);
    connect(m_pPortal, &CPortalGlobalShortcut::Activated, this, &CActivationHotKey::Activated);
  }
  QCoreApplication::instance()->installNativeEventFilter(this);
}

CActivationHotKey::~CActivationHotKey() {
  Unregister();
  QCoreApplication::instance()->removeNativeEventFilter(this);
}

bool CActivationHotKey::Register(const SKeyCombination& combination) {
  Unregister();
  if (!m_pPortal) return GrabFromX(combination);
  const std::optional<std::string> sTrigger = PortalTriggerOf(combination);
  return sTrigger && m_pPortal->Bind(QString::fromStdString(*sTrigger));
}

bool CActivationHotKey::GrabFromX(const SKeyCombination& combination) {
  xcb_connection_t* pConnection = Connection();
  const std::optional<uint32_t> nKeySym = X11KeySymOf(combination.nKey);
  if (!pConnection || !nKeySym) return false;
  const uint8_t nKeyCode = KeyCodeOf(pConnection, *nKeySym);
  if (nKeyCode == 0) return false;
  uint16_t nModifiers = 0;
  if (combination.nFlags & kAccelShift) nModifiers |= XCB_MOD_MASK_SHIFT;
  if (combination.nFlags & kAccelControl) nModifiers |= XCB_MOD_MASK_CONTROL;
  if (combination.nFlags & kAccelAlt) nModifiers |= XCB_MOD_MASK_1;
  const xcb_window_t root = RootWindow(pConnection);
  bool bGrabbed = true;
  for (uint16_t nLocks : kLockVariants) {
    xcb_generic_error_t* pError = xcb_request_check(
        pConnection, xcb_grab_key_checked(pConnection, 1, root, nModifiers | nLocks, nKeyCode,
                                          XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    if (pError) bGrabbed = false;
    std::free(pError);
  }
  m_nKeyCode = nKeyCode;
  m_nModifiers = nModifiers;
  if (!bGrabbed) Unregister();  // another program holds it
  return bGrabbed;
}

void CActivationHotKey::Unregister() {
  if (m_pPortal) m_pPortal->Unbind();
  xcb_connection_t* pConnection = Connection();
  if (!pConnection || m_nKeyCode == 0) return;
  for (uint16_t nLocks : kLockVariants)
    xcb_ungrab_key(pConnection, m_nKeyCode, RootWindow(pConnection), m_nModifiers | nLocks);
  xcb_flush(pConnection);
  m_nKeyCode = 0;
}

bool CActivationHotKey::nativeEventFilter(const QByteArray& eventType, void* pMessage,
                                          qintptr* /*pResult*/) {
  if (m_nKeyCode == 0 || eventType != "xcb_generic_event_t") return false;
  const auto* pEvent = static_cast<const xcb_generic_event_t*>(pMessage);
  if ((pEvent->response_type & 0x7F) != XCB_KEY_PRESS) return false;
  const auto* pPress = static_cast<const xcb_key_press_event_t*>(pMessage);
  constexpr uint16_t kLocks = XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2;
  if (pPress->detail != m_nKeyCode || (pPress->state & ~kLocks) != m_nModifiers) return false;
  emit Activated();
  return true;
}

}  // namespace orv
