#include "app/TamApplication.h"

#include <QMessageBox>
#include <new>

#include "analysis/UnreadablePictureMessage.h"
#include "import/UnreadablePicture.h"
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

QString ExceptionText(const std::exception& E) {
    if (const auto* picture = dynamic_cast<const EPictureUnreadable*>(&E)) return UnreadablePictureMessage(*picture);
    if (const auto* own = dynamic_cast<const Exception*>(&E))
        return QStringLiteral("%1: %2").arg(QLatin1String(own->ClassName()), own->Message());
    if (dynamic_cast<const std::bad_alloc*>(&E) != nullptr) return QStringLiteral("EOutOfMemory: Out of memory");
    return QStringLiteral("Exception: %1").arg(QString::fromLocal8Bit(E.what()));
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
