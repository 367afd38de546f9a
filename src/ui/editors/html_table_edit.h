#pragma once
// The HTML editor's table commands on the web view's document.

#include <QString>
#include <QTextCursor>

#include "editors/html_table_rules.h"

namespace orv {

// Where the cursor is, as the table rules see it.
STableSpot TableSpotOf(const QTextCursor& cursor);
// Runs eCommand at the cursor as one undo step; returns the message that
// stopped it instead ("" when it ran).
QString RunTableCommand(QTextCursor cursor, ETableCommand eCommand);

}  // namespace orv
