#include "ui/editors/html_table_edit.h"

#include <QTextTable>

namespace orv {

namespace {

void RemoveTable(QTextTable& table) {
  QTextCursor whole(table.document());
  whole.setPosition(table.firstPosition() - 1);
  whole.setPosition(table.lastPosition() + 1, QTextCursor::KeepAnchor);
  whole.removeSelectedText();
}

}  // namespace

STableSpot TableSpotOf(const QTextCursor& cursor) {
  STableSpot spot;
  QTextTable* pTable = cursor.currentTable();
  if (!pTable) return spot;
  spot.bInTable = true;
  const QTextTableCell cell = pTable->cellAt(cursor);
  if (!cell.isValid()) return spot;
  spot.bSelectionSpansCells =
      cursor.hasComplexSelection() ||
      (cursor.hasSelection() && (pTable->cellAt(cursor.selectionStart()) != cell ||
                                 pTable->cellAt(cursor.selectionEnd()) != cell));
  spot.nColumn = cell.column();
  spot.nColumnSpan = cell.columnSpan();
  spot.nRowSpan = cell.rowSpan();
  spot.nColumns = pTable->columns();
  for (int r = 0; r < pTable->rows(); ++r) {
    for (int c = 0; c < pTable->columns(); ++c) {
      const QTextTableCell other = pTable->cellAt(r, c);
      spot.bRowSpans |= other.rowSpan() > 1;
      spot.bColumnSpans |= other.columnSpan() > 1;
    }
  }
  return spot;
}

QString RunTableCommand(QTextCursor cursor, ETableCommand eCommand) {
  if (std::optional<std::string_view> sError = TableCommandError(eCommand, TableSpotOf(cursor)))
    return QString::fromUtf8(sError->data(), static_cast<qsizetype>(sError->size()));
  QTextTable& table = *cursor.currentTable();
  const QTextTableCell cell = table.cellAt(cursor);
  cursor.beginEditBlock();
  switch (eCommand) {
    case ETableCommand::InsertRow:
      table.insertRows(cell.row() + cell.rowSpan(), 1);
      break;
    case ETableCommand::DeleteRow:
      // The last row, or the last column, goes with its table.
      if (table.rows() > 1)
        table.removeRows(cell.row(), 1);
      else
        RemoveTable(table);
      break;
    case ETableCommand::DeleteTable:
      RemoveTable(table);
      break;
    case ETableCommand::InsertColumn:
      table.insertColumns(cell.column() + cell.columnSpan(), 1);
      break;
    case ETableCommand::DeleteColumn:
      if (table.columns() > 1)
        table.removeColumns(cell.column(), 1);
      else
        RemoveTable(table);
      break;
    case ETableCommand::CombineCells: {
      const QTextTableCell right = table.cellAt(cell.row(), cell.column() + cell.columnSpan());
      table.mergeCells(cell.row(), cell.column(), 1, cell.columnSpan() + right.columnSpan());
      break;
    }
    case ETableCommand::SplitCell:
      table.splitCell(cell.row(), cell.column(), 1, 1);
      break;
  }
  cursor.endEditBlock();
  return {};
}

}  // namespace orv
