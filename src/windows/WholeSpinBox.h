#pragma once
// A spin box of whole numbers that keeps a decimal the user types. A plain
// spin box drops the point as it is typed, so "0.5" reads 5, or puts its
// last value back when the focus leaves it; this one leaves the text as
// typed, without a value, until the user mends it, so that the dialog's OK
// can refuse it (hasAcceptableInput() is false meanwhile). Enter in such a
// text goes to the dialog's default button.
#include <QSpinBox>

namespace tam32 {

class TWholeSpinBox : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QValidator::State validate(QString& Text, int& Pos) const override;
    void focusOutEvent(QFocusEvent* Event) override;
    void keyPressEvent(QKeyEvent* Event) override;
};

}  // namespace tam32
