#pragma once
// The activation hot key: a key that brings the window forward from any
// program. On X11 the key is grabbed from the X server on the root window;
// where there is no X server (Wayland without XWayland, the offscreen
// platform) registering fails and the caller says so, or not, as it likes.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <cstdint>
#include <vector>

#include "app/key_codes.h"

namespace orv {

class CActivationHotKey : public QObject, public QAbstractNativeEventFilter {
  Q_OBJECT

 public:
  explicit CActivationHotKey(QObject* pParent = nullptr);
  ~CActivationHotKey() override;

  // Grabs the key in place of the one held; false when the X server refused
  // it (another program holds it) or there is none.
  bool Register(const SKeyCombination& combination);
  void Unregister();

  bool nativeEventFilter(const QByteArray& eventType, void* pMessage, qintptr* pResult) override;

 signals:
  void Activated();

 private:
  uint8_t m_nKeyCode = 0;
  uint16_t m_nModifiers = 0;
};

}  // namespace orv
