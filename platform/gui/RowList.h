#pragma once

class QTreeView;

namespace platform {

// A list of records in columns, as the programs' lists are: whole rows, one selected at a time,
// no tree decoration, nothing edited in place, columns that stay where they are, and rows tall
// enough for accented capitals.
void makeRowList(QTreeView* view);

} // namespace platform
