#pragma once
// The line and white-space commands of the editors' Advanced menu, as pure
// functions from the selected text (UTF-8) to its replacement. A paragraph
// break in the selection is CR; an LF may occur and is dropped or kept as each
// function says.
//
// Sort, Tabify and Untabify cut the text into lines first: every LF is
// dropped, and each line keeps its CR; a last line without one is a line too
// when it is not empty. They write every line followed by LF (a line with a
// CR thus ends in CR LF), so the last line ends in a line break too.

#include <string>
#include <string_view>

namespace orv {

// Every word (a run of characters other than space and tab) followed by one
// space, unless it ends with CR; one more space when the text ends in blanks.
std::string DeleteHorizontalWhiteSpace(std::string_view sText);
// Drops every LF and makes every CR a space.
std::string JoinSelectedLines(std::string_view sText);
// The lines in byte order, each compared with its CR: upper case before lower
// case, a line before a longer one that begins with it, empty lines first.
std::string SortSelectedLines(std::string_view sText);
// One tab in front of every line: it indents, it does not turn spaces into tabs.
std::string TabifySelection(std::string_view sText);
// A line that begins with a tab loses that one tab.
std::string UntabifySelection(std::string_view sText);
// Drops every LF and reverses the rest, line breaks included. Characters are
// kept whole: a letter with its accents, an emoji sequence, stay as they are.
// Throws std::length_error for a text of 2 GiB or more.
std::string ReverseSelectedText(std::string_view sText);

}  // namespace orv
