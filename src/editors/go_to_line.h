#pragma once
// Go To Line: the dialog's label, the number typed and the line it leads to.

#include <string>
#include <string_view>

namespace orv {

// Where the dialog keeps the number last typed (the text as typed).
inline constexpr std::string_view kGoToSection = "CDlgGoTo";
inline constexpr std::string_view kGoToLastLineKey = "lastLine";
inline constexpr std::string_view kGoToLastLineDefault = "0";

// "Line number (1 - 42)".
std::string GoToLineLabel(int nLineCount);

enum class EGoToEditor {
  kText,   // the plain-text and rich-text editors
  kSource  // the HTML editor's source view
};

// The 0-based line whose start the caret moves to, or -1 for the end of the
// text. sTyped is read as a decimal number n (no number is 0) naming line n,
// counted from 1. In the text editors 0 or less stays on nCurrentLine and a
// number past the last line goes to the end of the text; the source view goes
// to its first line for those below 1 and to its last for those past it.
int GoToLineTarget(std::string_view sTyped, int nLineCount, int nCurrentLine, EGoToEditor eEditor);

}  // namespace orv
