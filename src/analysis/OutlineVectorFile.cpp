#include "analysis/OutlineVectorFile.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

#include "analysis/GlobalSettings.h"

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

bool TOutlineVectorFile::Create(const QString& Path) {
    FFile.setFileName(Path);
    return FFile.open(QIODevice::WriteOnly | QIODevice::Truncate);
}

void TOutlineVectorFile::WriteObject(int Number, const std::vector<TPoint>& Points, TPoint Centre) {
    if (!FFile.isOpen()) return;
    QByteArray Text = "No." + QByteArray::number(Number) + "\r\n";
    for (const TPoint& P : Points) AppendPoint(Text, P.X, P.Y);
    Text += "-10 -10\r\n";
    AppendPoint(Text, Centre.X, Centre.Y);
    FFile.write(Text);
}

}  // namespace tam32
