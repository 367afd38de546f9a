// The HTML editor's table commands: which places stop which, with which message.

#include "editors/html_table_rules.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

TEST(HtmlTableRules, EachCommandStopsWithItsMessage) {
  const STableSpot outside, plain{.bInTable = true, .nColumns = 3};
  const STableSpot spanning{.bInTable = true, .bSelectionSpansCells = true, .nColumns = 3};
  const STableSpot last{.bInTable = true, .nColumn = 2, .nColumns = 3};
  const STableSpot combined{
      .bInTable = true, .nColumnSpan = 2, .nColumns = 3, .bColumnSpans = true};
  const STableSpot tall{.bInTable = true, .nColumns = 3, .bRowSpans = true};
  const STableSpot wide{.bInTable = true, .nColumns = 3, .bColumnSpans = true};

  const std::string_view kCell = "Please set the cursor into a table cell!";
  const std::string_view kTable = "Please set the cursor into a table!";
  const std::string_view kSelection = "A selection spanning over multiple cells is not allowed.";
  const std::string_view kRows = "Cells which span over multiple rows are NOT supported !";
  const std::string_view kColumns = "All rows must contain the same amount of columns!";
  const std::string_view kNeighbour = "You can only combine cells which have a right neighbour.";
  const std::string_view kInvalid =
      "The selection or cursor position is invalid for this function!";
  struct SCase {
    ETableCommand eCommand;
    const STableSpot& spot;
    std::optional<std::string_view> sMessage;
  };
  const SCase cases[] = {
      {ETableCommand::InsertRow, outside, kCell},
      {ETableCommand::DeleteTable, outside, kTable},
      {ETableCommand::DeleteTable, spanning, std::nullopt},
      {ETableCommand::DeleteColumn, spanning, kSelection},
      {ETableCommand::InsertRow, plain, std::nullopt},
      {ETableCommand::InsertRow, wide, std::nullopt},
      {ETableCommand::DeleteRow, tall, kRows},
      {ETableCommand::InsertColumn, tall, kRows},
      {ETableCommand::InsertColumn, wide, kColumns},
      {ETableCommand::DeleteColumn, plain, std::nullopt},
      {ETableCommand::CombineCells, plain, std::nullopt},
      {ETableCommand::CombineCells, last, kNeighbour},
      {ETableCommand::CombineCells, combined, std::nullopt},
      {ETableCommand::CombineCells, tall, kRows},
      {ETableCommand::SplitCell, plain, kInvalid},
      {ETableCommand::SplitCell, combined, std::nullopt},
  };
  for (const SCase& c : cases)
    EXPECT_EQ(TableCommandError(c.eCommand, c.spot), c.sMessage) << static_cast<int>(c.eCommand);
}

}  // namespace
}  // namespace orv
