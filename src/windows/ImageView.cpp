#include "windows/ImageView.h"

#include <QMouseEvent>
#include <QPainter>

#include "platform/Bitmap.h"

namespace tam32 {

TImageView::TImageView(QWidget* Parent) : QWidget(Parent) {
    setCursor(Qt::CrossCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
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

void TImageView::mouseMoveEvent(QMouseEvent* Event) {
    emit MouseMoved(Event->position().toPoint());
    QWidget::mouseMoveEvent(Event);
}

void TImageView::mousePressEvent(QMouseEvent* Event) {
    emit MousePressed(Event->button(), Event->position().toPoint());
    QWidget::mousePressEvent(Event);
}

void TImageView::mouseReleaseEvent(QMouseEvent* Event) {
    emit MouseReleased(Event->position().toPoint());
    QWidget::mouseReleaseEvent(Event);
}

}  // namespace tam32
