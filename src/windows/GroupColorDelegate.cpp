#include "windows/GroupColorDelegate.h"

#include <QPainter>

namespace tam32 {

TGroupColorDelegate::TGroupColorDelegate(TRowColor RowColor, QObject* Parent)
    : QStyledItemDelegate(Parent), FRowColor(std::move(RowColor)) {}

void TGroupColorDelegate::paint(QPainter* Painter, const QStyleOptionViewItem& Option,
                                const QModelIndex& Index) const {
    const std::optional<TColor> Color = Index.column() == 0 ? FRowColor(Index.row()) : std::nullopt;
    if (!Color) {
        QStyledItemDelegate::paint(Painter, Option, Index);
        return;
    }
    const TColor Text = 0xFFFFFF - (*Color & 0xFFFFFF);
    Painter->save();
    Painter->fillRect(Option.rect, QColor(GetRValue(*Color), GetGValue(*Color), GetBValue(*Color)));
    Painter->setPen(QColor(GetRValue(Text), GetGValue(Text), GetBValue(Text)));
    Painter->drawText(Option.rect, Qt::AlignCenter | Qt::TextSingleLine, Index.data().toString());
    Painter->restore();
}

}  // namespace tam32
