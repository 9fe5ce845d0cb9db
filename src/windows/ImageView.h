#pragma once
// The picture of an image window, stretched to the control's size. Reports
// every mouse move over it, pressed buttons or not, and presses and releases.
#include <QWidget>

namespace tam32 {

class TBitmap;

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget* Parent = nullptr);
    // Not owned; nullptr shows nothing.
    void SetPicture(const TBitmap* Picture);

signals:
    // In the control's own (screen) pixels.
    void MouseMoved(QPoint Position);
    void MousePressed(Qt::MouseButton Button, QPoint Position);
    void MouseReleased(QPoint Position);

protected:
    void paintEvent(QPaintEvent* Event) override;
    void mouseMoveEvent(QMouseEvent* Event) override;
    void mousePressEvent(QMouseEvent* Event) override;
    void mouseReleaseEvent(QMouseEvent* Event) override;

private:
    const TBitmap* FPicture = nullptr;
};

}  // namespace tam32
