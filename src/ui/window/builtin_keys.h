#pragma once
// The keys the program comes with: the main window's table (commands by their
// display names, "File - New", …) and the note tree's own keys, which work
// only while the tree has the focus.

#include <QKeySequence>
#include <QList>
#include <string_view>

namespace orv {

// The window-wide keys of a command; empty when it has none.
QList<QKeySequence> BuiltInKeys(std::string_view sCommand);
// The keys a command has in the note tree; empty when it has none.
QList<QKeySequence> TreeKeys(std::string_view sCommand);

}  // namespace orv
