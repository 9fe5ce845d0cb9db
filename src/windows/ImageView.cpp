#include "windows/ImageView.h"

#include <QPainter>

#include "platform/Bitmap.h"

namespace tam32 {

TImageView::TImageView(QWidget* Parent) : QWidget(Parent) {
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TImageView::SetPicture(const TBitmap* Picture) {
    FPicture = Picture;
    update();
}

void TImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (FPicture == nullptr || FPicture->Empty()) {
        painter.fillRect(rect(), palette().window());
        return;
    }
    painter.drawImage(rect(), FPicture->Image());
}

}  // namespace tam32
