#pragma once
// The picture of an image window, stretched to the control's size.
#include <QWidget>

namespace tam32 {

class TBitmap;

class TImageView : public QWidget {
    Q_OBJECT
public:
    explicit TImageView(QWidget* Parent = nullptr);
    // Not owned; nullptr shows nothing.
    void SetPicture(const TBitmap* Picture);

protected:
    void paintEvent(QPaintEvent* Event) override;

private:
    const TBitmap* FPicture = nullptr;
};

}  // namespace tam32
