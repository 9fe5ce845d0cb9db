#include "app/CorrectedPictureName.h"

#include "import/FileExtension.h"

namespace tam32 {

std::optional<QString> CorrectedPictureName(const QString& Chosen, const QStringList& Readable) {
    const QString extension = ExtractFileExt(Chosen);
    if (extension.isEmpty()) return Chosen + QStringLiteral(".BMP");
    if (IsBmpFileName(Chosen)) return Chosen;
    if (Readable.contains(extension.mid(1), Qt::CaseInsensitive)) return std::nullopt;
    return Chosen.left(Chosen.size() - extension.size()) + QStringLiteral(".BMP");
}

}  // namespace tam32
