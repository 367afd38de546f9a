#pragma once
// When the HTML editor's table commands may run, and the message that says
// why not. The editor describes the caret's place; the rules need no more.

#include <optional>
#include <string_view>

namespace orv {

enum class ETableCommand {
  InsertRow,     // below the caret's row
  DeleteRow,     // the caret's row (the last one takes the table with it)
  InsertColumn,  // right of the caret's column
  DeleteColumn,
  CombineCells,  // the caret's cell with its right neighbour
  SplitCell,     // a combined cell back into single ones
  DeleteTable,
};

// Where the caret is, as the table commands see it.
struct STableSpot {
  bool bInTable = false;
  bool bSelectionSpansCells = false;
  int nColumn = 0;  // the caret's cell: its first column and how many it spans
  int nColumnSpan = 1;
  int nRowSpan = 1;
  int nColumns = 0;  // the table's
  // Some cell of the table spans rows, or columns.
  bool bRowSpans = false;
  bool bColumnSpans = false;
};

inline constexpr std::string_view kTableErrorTitle = "Error";

// The message that stops a command on the whole table (its deletion, its
// properties) at spot, or none when it may run.
std::optional<std::string_view> WholeTableError(const STableSpot& spot);
// The message that stops eCommand at spot, or none when it may run.
std::optional<std::string_view> TableCommandError(ETableCommand eCommand, const STableSpot& spot);

}  // namespace orv
