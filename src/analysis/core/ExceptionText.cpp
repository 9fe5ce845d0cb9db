#include "analysis/core/ExceptionText.h"

#include <QDir>
#include <new>

#include "analysis/core/Messages.h"
#include "analysis/core/UnreadablePictureMessage.h"
#include "import/UnreadablePicture.h"
#include "platform/Exceptions.h"
#include "platform/FileSave.h"

namespace tam32 {

QString ExceptionText(const std::exception& E) {
    if (const auto* picture = dynamic_cast<const EPictureUnreadable*>(&E)) return UnreadablePictureMessage(*picture);
    if (const auto* save = dynamic_cast<const EFileSaveError*>(&E))
        return FormatErrorMessage(QStringLiteral("ERR24"), {QDir::toNativeSeparators(save->FileName()), save->Reason()});
    if (const auto* large = dynamic_cast<const EFileTooLarge*>(&E))
        return FormatDialogMessage(QStringLiteral("DMS87"), {QDir::toNativeSeparators(large->FileName()), large->Limit()});
    if (dynamic_cast<const EOutOfMemory*>(&E) != nullptr || dynamic_cast<const std::bad_alloc*>(&E) != nullptr)
        return FormatErrorMessage(QStringLiteral("ERR25"), {});
    if (const auto* own = dynamic_cast<const Exception*>(&E))
        return QStringLiteral("%1: %2").arg(QLatin1String(own->ClassName()), own->Message());
    return QStringLiteral("Exception: %1").arg(QString::fromLocal8Bit(E.what()));
}

}  // namespace tam32
