#include "editors/html_table_rules.h"

namespace orv {

std::optional<std::string_view> WholeTableError(const STableSpot& spot) {
  if (!spot.bInTable) return "Please set the cursor into a table!";
  return std::nullopt;
}

std::optional<std::string_view> TableCommandError(ETableCommand eCommand, const STableSpot& spot) {
  if (eCommand == ETableCommand::DeleteTable) return WholeTableError(spot);
  if (!spot.bInTable) return "Please set the cursor into a table cell!";
  if (spot.bSelectionSpansCells) return "A selection spanning over multiple cells is not allowed.";
  switch (eCommand) {
    case ETableCommand::InsertRow:
    case ETableCommand::DeleteRow:
      // A row through a tall cell would cut it in two.
      if (spot.bRowSpans) return "Cells which span over multiple rows are NOT supported !";
      break;
    case ETableCommand::InsertColumn:
    case ETableCommand::DeleteColumn:
      if (spot.bRowSpans) return "Cells which span over multiple rows are NOT supported !";
      if (spot.bColumnSpans) return "All rows must contain the same amount of columns!";
      break;
    case ETableCommand::CombineCells:
      if (spot.nRowSpan > 1 || spot.bRowSpans)
        return "Cells which span over multiple rows are NOT supported !";
      if (spot.nColumn + spot.nColumnSpan >= spot.nColumns)
        return "You can only combine cells which have a right neighbour.";
      break;
    case ETableCommand::SplitCell:
      if (spot.nColumnSpan < 2 && spot.nRowSpan < 2)
        return "The selection or cursor position is invalid for this function!";
      break;
    case ETableCommand::DeleteTable:
      break;
  }
  return std::nullopt;
}

}  // namespace orv
