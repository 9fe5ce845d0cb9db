#include "analysis/objects/OutlineVectorFile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include "analysis/core/GlobalSettings.h"
#include "platform/FileSave.h"

namespace tam32 {
namespace {

void AppendPoint(QByteArray& Text, int X, int Y) {
    Text += QByteArray::number(X);
    Text += ' ';
    Text += QByteArray::number(Y);
    Text += "\r\n";
}

}  // namespace

QString OutlineVectorFileName(const QString& AnalysisFile) {
    const QString Name = QFileInfo(AnalysisFile).fileName();
    const int Dot = Name.lastIndexOf(QLatin1Char('.'));
    const QString VectorName = (Dot >= 0 ? Name.left(Dot) : Name) + QStringLiteral("vec");
    // The folder usually ends in a separator; one without is taken as a folder too.
    return LabelTraceVectorFolder.isEmpty() ? VectorName : QDir(LabelTraceVectorFolder).filePath(VectorName);
}

void TOutlineVectorFile::WriteObject(int Number, const std::vector<TPoint>& Points, TPoint Centre) {
    FText += "No." + QByteArray::number(Number) + "\r\n";
    for (const TPoint& P : Points) AppendPoint(FText, P.X, P.Y);
    FText += "-10 -10\r\n";
    AppendPoint(FText, Centre.X, Centre.Y);
}

void TOutlineVectorFile::SaveToFile(const QString& Path) const { SaveFileAtomically(Path, FText); }

}  // namespace tam32
