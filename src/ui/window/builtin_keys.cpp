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

constexpr SKeys kWindowKeys[] = {
    {"File - New", "Ctrl+N"},
    {"File - Open", "Ctrl+O"},
    {"File - Save", "Ctrl+S"},
    {"File - Properties ...", "Ctrl+Alt+Return"},
    {"View - HTML - Web", "Ctrl+W"},
    {"View - HTML - Source", "Ctrl+R"},
    {"View - Focus To Tree", "F5"},
    {"View - Focus To Editor", "F6"},
    {"Edit - Undo", "Alt+Backspace; Ctrl+Z"},
    {"Edit - Cut", "Shift+Del; Ctrl+X"},
    {"Edit - Copy", "Ctrl+C; Ctrl+Ins"},
    {"Edit - Paste", "Ctrl+V; Shift+Ins"},
    {"Edit - Select All", "Ctrl+A"},
    {"Edit - Find - Select All", "Ctrl+F"},
    {"Edit - Find - Replace", "Ctrl+H"},
    {"Edit - Find - Find Next", "F3"},
    {"Edit - Find - Find Previous", "Shift+F3"},
    {"Edit - Advanced - Case - Lowercase", "Ctrl+Alt+Shift+L"},
    {"Edit - Advanced - Case - Uppercase", "Ctrl+Alt+Shift+U"},
    {"Edit - Advanced - Case - Capitalize", "Ctrl+Alt+Shift+P"},
    {"Edit - Advanced - Case - Sentencize", "Ctrl+Alt+Shift+J"},
    {"Edit - Advanced - Case - Invert Case", "Ctrl+Alt+Shift+K"},
    {"Edit - Advanced - Case - Go To Line", "Ctrl+G"},
    {"Notes - Rename", "F2"},
    {"Notes - Set Icon", "Ctrl+Shift+F2"},
    {"Notes - Set Description", "Shift+F2"},
    {"Folders - New", "F7"},
    {"Folders - Rename", "Shift+F7"},
    {"Folders - Delete", "Ctrl+F7"},
    {"Folders - Set Icon", "Ctrl+Shift+F7"},
    {"Folders - Next Folder", "Ctrl+Tab; Ctrl+PgDown"},
    {"Folders - Previous Folder", "Ctrl+Shift+Backtab; Ctrl+PgUp"},
    {"Insert - Internal Hyperlink ...", "Ctrl+Shift+H"},
    {"Insert - Web Hyperlink ...", "Ctrl+Shift+W"},
    {"Insert - E-Mail Link ...", "Ctrl+Shift+E"},
    {"Insert - Link to File...", "Ctrl+Shift+F"},
    {"Help - Help Contents", "F1"},
    {"Tray - Minimize", "Shift+Esc"},
};

constexpr SKeys kTreeKeys[] = {
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

template <size_t N>
QList<QKeySequence> Find(const SKeys (&table)[N], std::string_view sCommand) {
  for (const SKeys& keys : table)
    if (keys.sCommand == sCommand)
      return QKeySequence::listFromString(QString::fromLatin1(keys.pKeys),
                                          QKeySequence::PortableText);
  return {};
}

}  // namespace

QList<QKeySequence> BuiltInKeys(std::string_view sCommand) {
  // Bookmark k: Ctrl+Shift+k sets it, Ctrl+k goes to it.
  for (auto [sPrefix, sModifiers] :
       {std::pair{std::string_view("Bookmarks - Set Bookmark - "), "Ctrl+Shift+"},
        std::pair{std::string_view("Bookmarks - Go To Bookmark - "), "Ctrl+"}}) {
    if (sCommand.size() == sPrefix.size() + 1 && sCommand.starts_with(sPrefix))
      return {QKeySequence(QString::fromLatin1(sModifiers) + QChar::fromLatin1(sCommand.back()))};
  }
  return Find(kWindowKeys, sCommand);
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
