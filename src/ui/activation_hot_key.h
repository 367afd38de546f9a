#pragma once
// The activation hot key: a key that brings the window forward from any
// program. On X11 the key is grabbed from the X server on the root window. In
// a Wayland session a grab would work only while an X program has the focus,
// so the desktop portal binds it instead. Where neither can (no portal with
// global shortcuts, the offscreen platform) registering fails and the caller
// says so, or not, as it likes.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <vector>

#include "app/key_codes.h"

namespace orv {

class CPortalGlobalShortcut;

class CActivationHotKey : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  explicit CActivationHotKey(QObject* pParent = nullptr);
  ~CActivationHotKey() override;

  // Takes the key in place of the one held; false when the X server refused
  // it (another program holds it) or there is neither X nor a portal. On the
  // portal the desktop may still ask the user, or bind another key.
  bool Register(const SKeyCombination& combination);
  void Unregister();

  bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;

 signals:
  void Activated();

 private:
  bool GrabFromX(const SKeyCombination& combination);

  CPortalGlobalShortcut* m_pPortal = nullptr;  // in a Wayland session only
  uint8_t m_nKeyCode = 0;
  uint16_t m_nModifiers = 0;
};

}  // namespace orv
