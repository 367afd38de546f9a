#pragma once
// The keys of the main window's commands (by their display names, "File -
// New", …) as Qt sequences, and the note tree's own keys, which work only
// while the tree has the focus.

#include <QKeySequence>
#include <QList>
#include <string>
#include <string_view>

#include "app/accelerator_manager.h"

class QKeyEvent;

namespace orv {

// The window-wide keys of a command, built-in and the user's; empty when it has none.
QList<QKeySequence> CommandKeys(const CAcceleratorManager& keys, std::string_view sCommand);
// The keys a command has in the note tree; empty when it has none.
QList<QKeySequence> TreeKeys(std::string_view sCommand);
// The command of a key press that can miss its shortcut, or empty: Shift
// makes a digit key a symbol key in most layouts ("!" for 1 in the US one),
// so for Ctrl+Shift+k the key's place on the keyboard decides; X reports
// Ctrl+Shift+Tab as Backtab; and X's key mapping drops the number pad's flag
// from − and +, which the tree takes (bInTree) only from the number pad.
std::string UnmatchedKeyCommand(const QKeyEvent& event, bool bInTree);

}  // namespace orv
