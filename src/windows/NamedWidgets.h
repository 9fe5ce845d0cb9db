#pragma once
// The small widgets the dialogs build, each with its object name (the tests
// and the scripted driver find controls by it), and the number a user typed.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <cmath>
#include <optional>

namespace tam32 {

// A button that Enter does not press: only the dialog's default one is.
inline QPushButton* NamedButton(QWidget* Parent, const char* Name, const QString& Caption) {
    auto* button = new QPushButton(Caption, Parent);
    button->setObjectName(QLatin1String(Name));
    button->setAutoDefault(false);
    return button;
}

inline QLineEdit* NamedEdit(QWidget* Parent, const char* Name, const QString& Text = QString()) {
    auto* edit = new QLineEdit(Text, Parent);
    edit->setObjectName(QLatin1String(Name));
    return edit;
}

template <class TSpin = QSpinBox>
TSpin* NamedSpinEdit(QWidget* Parent, const char* Name, int Min, int Max) {
    auto* edit = new TSpin(Parent);
    edit->setObjectName(QLatin1String(Name));
    edit->setRange(Min, Max);
    return edit;
}

// The label that names Field: a refusal of Field's value quotes it.
inline QLabel* BuddyLabel(QWidget* Parent, const QString& Text, QWidget* Field) {
    auto* label = new QLabel(Text, Parent);
    label->setBuddy(Field);
    return label;
}

// A number typed in C notation, blanks around it allowed; nothing for text
// that is not a finite number.
inline std::optional<double> TypedNumber(const QString& Text) {
    bool ok = false;
    const double value = Text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace tam32
