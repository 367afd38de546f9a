#include "ui/window/builtin_keys.h"

#include <QKeyEvent>
#include <optional>
#include <string>
#include <utility>

namespace orv {

namespace {

struct SKeys {
  std::string_view sCommand;
  const char* pKeys;  // separated by "; ", in QKeySequence's portable form
};

constexpr SKeys kTreeKeys[] = {
    // In an editor Shift+Return breaks a line.
    {"Notes - Advanced - Stats...", "Shift+Return"},
    {"Notes - New Note", "Shift+Ins"},
    {"Notes - Insert Before", "Ctrl+Shift+Ins"},
    {"Notes - New Subnote", "Ins"},
    {"Notes - Delete", "Del"},
    {"Notes - Move - Up", "Shift+Up"},
    {"Notes - Move - Down", "Shift+Down"},
    {"Notes - Move - Left", "Shift+Left"},
    {"Notes - Move - Right", "Shift+Right"},
    {"Notes - Navigate - Parent", "Backspace"},
    {"Notes - Navigate - Root", "Ctrl+Backspace"},
    {"Notes - Navigate - Back", "Ctrl+Left"},
    {"Notes - Navigate - Forward", "Ctrl+Right"},
    {"Notes - Collapse - Collapse Subnotes", "Ctrl+D"},
    // The number pad's: the main keyboard's type into labels.
    {"Notes - Collapse - Collapse Single Level", "Num+-"},
    {"Notes - Expand - Expand Subnotes", "Ctrl+E"},
    {"Notes - Expand - Expand Single Level", "Num++"},
    {"Notes - Copy Subnotes", "Ctrl+C"},
    {"Notes - Cut Subnotes", "Ctrl+X"},
    {"Notes - Paste Subnotes", "Ctrl+V"},
};

// Keys of the table that another command takes in the same place: in the
// HTML editor Ctrl+R shows the source ("View - HTML - Source"), so it cannot
// also align right.
constexpr SKeys kKeysGivenUp[] = {
    {"HTML Editor - Right Justify", "Ctrl+R"},
};

template <size_t N>
QList<QKeySequence> Find(const SKeys (&table)[N], std::string_view sCommand) {
  for (const SKeys& keys : table)
    if (keys.sCommand == sCommand)
      return QKeySequence::listFromString(QString::fromLatin1(keys.pKeys),
                                          QKeySequence::PortableText);
  return {};
}

}  // namespace

QList<QKeySequence> CommandKeys(const CAcceleratorManager& keys, std::string_view sCommand) {
  QList<QKeySequence> sequences;
  if (const CCmdAccelOb* pCommand = keys.FindByName(sCommand))
    for (const CAccelsOb& accel : pCommand->m_Accels)
      if (const std::optional<int> nQt = QtKeyOf(accel.combination))
        sequences.append(QKeySequence(QKeyCombination::fromCombined(*nQt)));
  for (const QKeySequence& key : Find(kKeysGivenUp, sCommand)) sequences.removeAll(key);
  return sequences;
}

QList<QKeySequence> TreeKeys(std::string_view sCommand) { return Find(kTreeKeys, sCommand); }

namespace {

// The bookmark k of a Ctrl+Shift+k press, or null.
std::optional<int> BookmarkDigit(const QKeyEvent& event) {
  if (event.key() >= Qt::Key_0 && event.key() <= Qt::Key_9) return event.key() - Qt::Key_0;
  // The key codes of the digit row, 1 … 9 then 0, on X and Wayland alike
  // (the kernel's codes plus 8), whatever the layout prints on the keys.
  constexpr quint32 kKeyCodeOf1 = 10;
  constexpr quint32 kKeyCodeOf0 = 19;
  const quint32 nCode = event.nativeScanCode();
  if (nCode < kKeyCodeOf1 || nCode > kKeyCodeOf0) return std::nullopt;
  return static_cast<int>(nCode - kKeyCodeOf1 + 1) % 10;
}

}  // namespace

std::string UnmatchedKeyCommand(const QKeyEvent& event, bool bInTree) {
  const Qt::KeyboardModifiers eModifiers = event.modifiers() & ~Qt::KeypadModifier;
  const Qt::KeyboardModifiers eCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;
  if (eModifiers == eCtrlShift && event.key() == Qt::Key_Backtab)
    return "Folders - Previous Folder";
  if (eModifiers == eCtrlShift)
    if (std::optional<int> nDigit = BookmarkDigit(event))
      return "Bookmarks - Set Bookmark - " + std::to_string(*nDigit);
  if (bInTree && event.modifiers() == Qt::KeypadModifier) {
    if (event.key() == Qt::Key_Minus) return "Notes - Collapse - Collapse Single Level";
    if (event.key() == Qt::Key_Plus) return "Notes - Expand - Expand Single Level";
  }
  return {};
}

}  // namespace orv
