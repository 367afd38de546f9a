#pragma once
// The editors' text operations between Qt and the core: the core reads and
// writes UTF-8 with CR as the paragraph break, Qt's selection marks breaks
// with U+2029 (U+2028 for a line break inside a paragraph).

#include <QTextCursor>
#include <string>
#include <string_view>

namespace orv {

// The selected text as the core's operations read it.
std::string SelectionText(const QTextCursor& cursor);

// Replaces the selection by sText (a CR, an LF or CR LF each a paragraph
// break) as one undo step. A replacement as long as the selection (the case
// commands) keeps every character's format; any other takes the format of
// the selection's first character. With bReselect the inserted text ends up
// selected, up to but not including its final line break; else the caret
// follows it. Returns the cursor to show.
QTextCursor ReplaceSelection(QTextCursor cursor, std::string_view sText, bool bReselect);

}  // namespace orv
