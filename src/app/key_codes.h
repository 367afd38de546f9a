#pragma once
// Key combinations as the shortcut and tool files store them: Windows
// virtual-key codes with accelerator flags, so a file moved between the
// Windows edition and this one keeps its meaning. Here too are the keys'
// display names and the Qt keys they stand for; Qt's key values are fixed
// numbers of its API, kept as plain integers so the core needs no Qt.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orv {

// Accelerator flags of a combination.
inline constexpr uint8_t kAccelVirtKey = 1;
inline constexpr uint8_t kAccelNoInvert = 2;
inline constexpr uint8_t kAccelShift = 4;
inline constexpr uint8_t kAccelControl = 8;
inline constexpr uint8_t kAccelAlt = 16;

struct SKeyCombination {
  uint8_t nFlags = 0;
  uint16_t nKey = 0;  // virtual-key code; 0 is no key
  bool operator==(const SKeyCombination&) const = default;
};

// "A", "F12", "NUMPAD3", "RETURN", …; empty for a code without a name.
std::string KeyName(uint16_t nKey);

// "Ctrl+Alt+Shift+" as set, then the key's name; empty for key 0.
std::string CombinationText(const SKeyCombination& combination);

// Reads "Ctrl+Shift+S", "Alt+RETURN", "F7": modifiers in any order and case,
// a key by its name or one of the common spellings ("Enter", "Del", "Ins",
// "Esc", "Backspace", "PgUp", "PgDown"). nullopt when it names no key.
std::optional<SKeyCombination> ParseCombination(std::string_view sText);

// The activation hot key's modifiers as the settings keep them: 1 Alt, 2 Ctrl, 4 Shift.
uint16_t HotKeyModifiers(const SKeyCombination& combination);
SKeyCombination HotKeyCombination(uint16_t nKey, uint16_t nModifiers);

// The X keysym of a virtual key, for a key grabbed from the X server; nullopt
// for keys without one here.
std::optional<uint32_t> X11KeySymOf(uint16_t nKey);

// The combination as the desktop portal's global shortcuts spell a trigger
// ("CTRL+ALT+F12", "SHIFT+a"); nullopt for keys without an X keysym here.
std::optional<std::string> PortalTriggerOf(const SKeyCombination& combination);

// Qt's modifier bits, as QKeyCombination holds them.
inline constexpr int kQtShift = 0x02000000;
inline constexpr int kQtControl = 0x04000000;
inline constexpr int kQtAlt = 0x08000000;
inline constexpr int kQtKeypad = 0x20000000;

// A Qt key with its modifiers (Qt::Key | Qt::KeyboardModifiers as an int).
// nullopt when the virtual key has no Qt key.
std::optional<int> QtKeyOf(const SKeyCombination& combination);
// The combination of a Qt key press; nullopt for keys the files cannot hold.
std::optional<SKeyCombination> CombinationOfQtKey(int nQtKeyAndModifiers);

}  // namespace orv
