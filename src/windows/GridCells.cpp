#include "windows/GridCells.h"

#include <QTableWidget>

namespace tam32 {

QString CellText(const QTableWidget& Grid, int Row, int Col) {
    const QTableWidgetItem* item = Grid.item(Row, Col);
    return item != nullptr ? item->text() : QString();
}

void SetCellText(QTableWidget& Grid, int Row, int Col, const QString& Text) {
    if (QTableWidgetItem* item = Grid.item(Row, Col))
        item->setText(Text);
    else
        Grid.setItem(Row, Col, new QTableWidgetItem(Text));
}

}  // namespace tam32
