#pragma once
// Paints the group cells of a table of groups (the results window's
// classification table, the sample table): column 0 of each group's row
// filled with the group's colour, its text centred in the complementary
// colour. Other cells are drawn as usual.
#include <QStyledItemDelegate>
#include <functional>
#include <optional>

#include "platform/WinTypes.h"

namespace tam32 {

class TGroupColorDelegate : public QStyledItemDelegate {
public:
    // The colour of the group shown in Row, none for rows without a group;
    // asked at every paint, so the table follows the classifier.
    using TRowColor = std::function<std::optional<TColor>(int Row)>;

    TGroupColorDelegate(TRowColor RowColor, QObject* Parent);
    void paint(QPainter* Painter, const QStyleOptionViewItem& Option, const QModelIndex& Index) const override;

private:
    TRowColor FRowColor;
};

}  // namespace tam32
