#include "analysis/core/UnreadablePictureMessage.h"

#include <QDir>

#include "analysis/core/Messages.h"
#include "import/UnreadablePicture.h"

namespace tam32 {

QString UnreadablePictureMessage(const EPictureUnreadable& E) {
    const QString name = QDir::toNativeSeparators(E.FileName());
    switch (E.Fault()) {
        case TPictureFault::TooLarge: return FormatErrorMessage(QStringLiteral("ERR26"), {name});
        case TPictureFault::Damaged: return FormatDialogMessage(QStringLiteral("DMS89"), {name});
        case TPictureFault::NotAPicture: break;
    }
    return FormatDialogMessage(QStringLiteral("DMS88"), {name});
}

}  // namespace tam32
