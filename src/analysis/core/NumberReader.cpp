#include "analysis/core/NumberReader.h"

#include <QDir>
#include <QFile>

#include "analysis/core/ExceptionText.h"
#include "platform/Exceptions.h"

namespace tam32 {

std::optional<QByteArray> ReadNumberFile(const QString& FileName, QString& Message) {
    QFile File(FileName);
    // One byte more than may be there tells a file that is too long.
    QByteArray Text;
    if (File.open(QIODevice::ReadOnly)) Text = File.read(kMaxNumberFileSize + 1);
    if (File.error() != QFileDevice::NoError) {
        Message = QStringLiteral("Cannot open \"%1\": %2").arg(QDir::toNativeSeparators(FileName), File.errorString());
        return std::nullopt;
    }
    if (Text.size() > kMaxNumberFileSize) {
        Message = ExceptionText(EFileTooLarge(FileName, kMaxNumberFileSize));
        return std::nullopt;
    }
    return Text;
}

}  // namespace tam32
