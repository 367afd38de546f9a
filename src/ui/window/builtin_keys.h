#pragma once
// The keys the program comes with: the main window's table (commands by their
// display names, "File - New", …) and the note tree's own keys, which work
// only while the tree has the focus.

#include <QKeySequence>
#include <QList>
#include <optional>
#include <string_view>

class QKeyEvent;

namespace orv {

// The window-wide keys of a command; empty when it has none.
QList<QKeySequence> BuiltInKeys(std::string_view sCommand);
// The keys a command has in the note tree; empty when it has none.
QList<QKeySequence> TreeKeys(std::string_view sCommand);
// The bookmark k of a Ctrl+Shift+k press, or null for any other key. Shift
// makes a digit key a symbol key in most layouts ("!" for 1 in the US one),
// so the key's place on the keyboard decides.
std::optional<int> BookmarkDigit(const QKeyEvent& event);

}  // namespace orv
