#pragma once
// The text of a table widget's cells as the original string grids hold it:
// every cell has a text, empty until set, whether or not it has an item.
#include <QString>

class QTableWidget;

namespace tam32 {

// Empty for a cell without an item.
QString CellText(const QTableWidget& Grid, int Row, int Col);
// Makes the cell's item when it has none.
void SetCellText(QTableWidget& Grid, int Row, int Col, const QString& Text);

}  // namespace tam32
