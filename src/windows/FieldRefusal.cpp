#include "windows/FieldRefusal.h"

#include <QGroupBox>
#include <QLabel>
#include <QWidget>

#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "windows/CaptionAsShown.h"

namespace tam32 {
namespace {

const QString kRefusal = QStringLiteral("ERR22");

// A caption as it reads, without a closing "=".
QString Shown(const QString& Caption) {
    QString shown = CaptionAsShown(Caption);
    while (shown.endsWith(QLatin1Char('=')) || shown.endsWith(QLatin1Char(' '))) shown.chop(1);
    return shown;
}

}  // namespace

QString FieldCaption(const QWidget& Field) {
    for (const QLabel* label : Field.window()->findChildren<QLabel*>())
        if (label->buddy() == &Field) return Shown(label->text());
    for (const QWidget* holder = Field.parentWidget(); holder != nullptr && !holder->isWindow(); holder = holder->parentWidget())
        if (auto* group = qobject_cast<const QGroupBox*>(holder); group != nullptr && !group->title().isEmpty())
            return Shown(group->title());
    return Field.accessibleName();
}

void TFieldRefusal::Refuse(QWidget& Field, const QString& Caption) {
    ShowErrorMessage(kRefusal);
    ShowRefused(Field, Caption);
}

void TFieldRefusal::ShowRefused(QWidget& Field, const QString& Caption) {
    FShown = true;
    EngineHost().ShowMessage(QStringLiteral("%1 (%2)").arg(GetErrorMessage(kRefusal), Caption));
    Field.setFocus();
}

void TFieldRefusal::Accepted() {
    if (FShown) EngineHost().SetStatusText(QString());
    FShown = false;
}

}  // namespace tam32
