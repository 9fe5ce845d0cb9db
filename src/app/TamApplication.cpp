#include "app/TamApplication.h"

#include <QMessageBox>

#include "analysis/core/ExceptionText.h"
#include "platform/Exceptions.h"

namespace tam32 {

TTamApplication::TTamApplication(int& Argc, char** Argv) : QApplication(Argc, Argv) {}

bool TTamApplication::notify(QObject* Receiver, QEvent* Event) {
    try {
        return QApplication::notify(Receiver, Event);
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception(QStringLiteral("Unknown error")));
    }
    return false;
}

void ShowException(const std::exception& E) {
    if (dynamic_cast<const EAbort*>(&E) != nullptr) return;
    static bool showing = false;
    const QString text = ExceptionText(E);
    if (showing) {
        qWarning("%s", qPrintable(text));
        return;
    }
    showing = true;
    QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(), text);
    showing = false;
}

}  // namespace tam32
