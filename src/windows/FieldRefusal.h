#pragma once
// A dialog's refusal of a value the user typed, shown where the user is
// looking: "ERR22" in the status bar as every refusal, the same text
// followed by the field's caption in a box over the dialog, and the focus
// on the field. Once the dialog's action succeeds after a refusal, the
// status bar no longer says "ERR22".
#include <QString>

class QWidget;

namespace tam32 {

// What names Field for its user: the text of the label that stands for it,
// else the title of the group that holds it, else its accessible name.
QString FieldCaption(const QWidget& Field);

class TFieldRefusal {
public:
    // "ERR22" in the status bar, then the box and the focus.
    void Refuse(QWidget& Field, const QString& Caption);
    void Refuse(QWidget& Field) { Refuse(Field, FieldCaption(Field)); }
    // The box and the focus once "ERR22" is in the status bar already.
    void ShowRefused(QWidget& Field, const QString& Caption);
    // The dialog's action went through.
    void Accepted();

private:
    bool FShown = false;
};

}  // namespace tam32
