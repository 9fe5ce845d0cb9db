#include "windows/WholeSpinBox.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>

namespace tam32 {

QValidator::State TWholeSpinBox::validate(QString& Text, int& Pos) const {
    const QValidator::State state = QSpinBox::validate(Text, Pos);
    static const QRegularExpression kDecimal(QStringLiteral("^\\s*[-+]?\\d*[.,]\\d*\\s*$"));
    return state == QValidator::Invalid && kDecimal.match(Text).hasMatch() ? QValidator::Intermediate : state;
}

void TWholeSpinBox::focusOutEvent(QFocusEvent* Event) {
    if (hasAcceptableInput()) {
        QSpinBox::focusOutEvent(Event);
        return;
    }
    // Not read back into a value: the text stays for the user to see.
    QCoreApplication::sendEvent(lineEdit(), Event);
    QWidget::focusOutEvent(Event);
}

void TWholeSpinBox::keyPressEvent(QKeyEvent* Event) {
    if ((Event->key() == Qt::Key_Return || Event->key() == Qt::Key_Enter) && !hasAcceptableInput()) {
        Event->ignore();
        return;
    }
    QSpinBox::keyPressEvent(Event);
}

}  // namespace tam32
