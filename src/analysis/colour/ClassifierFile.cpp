#include "analysis/colour/ClassifierFile.h"

#include <QDir>
#include <cmath>
#include <limits>

#include "analysis/core/EngineHost.h"
#include "analysis/core/ExceptionText.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/NumberReader.h"
#include "platform/DelphiFormat.h"
#include "platform/FileSave.h"

namespace tam32 {
namespace {

constexpr TColor kMaxColor = 0xFFFFFF;
const char* const kTermLetters[] = {"", "R", "G", "B"};

QString NativeName(const QString& FileName) { return QDir::toNativeSeparators(FileName); }

bool AllFinite(const TClassifierFile& File) {
    for (const std::vector<double>& Term : File.Coefficients)
        for (double C : Term)
            if (!std::isfinite(C)) return false;
    return true;
}

// A coefficient's field: the file's 15 digits, a sign position and a
// four-digit exponent (width 23) when that text reads back to the same
// double; otherwise 17 digits in the same style, which always do.
QString CoefficientField(double Value) {
    const QString Short = FloatToStrF(Value, TFloatFormat::ffExponent, 15, 4);
    const QByteArray Text = Short.toLatin1();
    TNumberReader Reader(Text);
    if (Reader.Real(QString()) == Value) return Short.rightJustified(23);
    return FloatToStrF(Value, TFloatFormat::ffExponent, 17, 4).rightJustified(25);
}

bool Refuse(const QString& Text) {
    EngineHost().ShowMessage(Text);
    return true;
}

}  // namespace

TClassifierFile ActiveClassifierFile() {
    TClassifierFile File;
    File.LastGroup = DiscLastGroup;
    File.TermUsed = ClassTermUsed;
    for (int T = 0; T < 4; ++T) {
        File.Coefficients[T].assign(std::size_t(DiscLastGroup) + 2, 0.0);
        if (T == 0 || ClassTermUsed[T])
            for (std::size_t K = 1; K < File.Coefficients[T].size(); ++K)
                File.Coefficients[T][K] = ClassCoefficients[T].at(K);
    }
    for (int K = 0; K <= DiscLastGroup; ++K) File.Colors.push_back(GroupColors[K]);
    return File;
}

std::optional<TClassifierFile> ReadClassifierFile(const QByteArray& Text, QString& Error) {
    TNumberReader Reader(Text);
    TClassifierFile File;
    const auto Fail = [&] {
        Error = Reader.Error();
        return std::nullopt;
    };
    const std::optional<int64_t> Last = Reader.Whole(QStringLiteral("the last group number"), 1, kMaxLastGroup,
                                                     QStringLiteral("a whole number from 1 to %1").arg(kMaxLastGroup));
    if (!Last) return Fail();
    File.LastGroup = int32_t(*Last);
    for (int T = 0; T < 4; ++T) {
        const std::optional<int64_t> Flag =
            Reader.Whole(QStringLiteral("term flag %1").arg(T + 1), std::numeric_limits<int32_t>::min(),
                         std::numeric_limits<int32_t>::max(), QStringLiteral("a whole number"));
        if (!Flag) return Fail();
        File.TermUsed[T] = *Flag == 0;
    }
    for (std::vector<double>& Term : File.Coefficients) Term.assign(std::size_t(File.LastGroup) + 2, 0.0);
    for (int K = 1; K <= File.LastGroup + 1; ++K)
        for (int T = 0; T < 4; ++T) {
            const std::optional<double> C = Reader.Real(QStringLiteral("coefficient %1 of group %2").arg(T + 1).arg(K));
            if (!C) return Fail();
            File.Coefficients[T][std::size_t(K)] = *C;
        }
    for (int K = 1; K <= File.LastGroup + 1; ++K) {
        const std::optional<int64_t> Color = Reader.Whole(QStringLiteral("the colour of group %1").arg(K), 0, kMaxColor,
                                                          QStringLiteral("a whole number from 0 to %1").arg(kMaxColor));
        if (!Color) return Fail();
        File.Colors.push_back(TColor(*Color));
    }
    if (!Reader.AtEnd(QStringLiteral("the colour of group %1").arg(File.LastGroup + 1))) return Fail();
    return File;
}

QByteArray ClassifierFileText(const TClassifierFile& File) {
    QString Text = QString::number(File.LastGroup) + QStringLiteral("\r\n");
    for (bool Used : File.TermUsed) Text += Used ? QStringLiteral(" 0") : QStringLiteral(" -1");
    Text += QStringLiteral("\r\n");
    for (int K = 1; K <= File.LastGroup + 1; ++K) {
        for (const std::vector<double>& Term : File.Coefficients)
            Text += QLatin1Char(' ') + CoefficientField(Term.at(std::size_t(K)));
        Text += QStringLiteral("\r\n");
    }
    for (TColor Color : File.Colors) Text += QString::number(Color) + QStringLiteral("\r\n");
    return Text.toLatin1();
}

bool SaveClassifierFile(const QString& FileName) {
    const TClassifierFile File = ActiveClassifierFile();
    if (!AllFinite(File))
        return Refuse(QStringLiteral("The classifier holds a value that is not a finite number; \"%1\" was not written.")
                          .arg(NativeName(FileName)));
    try {
        SaveFileAtomically(FileName, ClassifierFileText(File));
    } catch (const EFileSaveError& E) {
        return Refuse(ExceptionText(E));
    }
    return false;
}

bool LoadClassifierFile(const QString& FileName) {
    QString Error;
    const std::optional<QByteArray> Text = ReadNumberFile(FileName, Error);
    if (!Text) return Refuse(Error);
    const std::optional<TClassifierFile> File = ReadClassifierFile(*Text, Error);
    if (!File) return Refuse(QStringLiteral("\"%1\" is not a classifier file: %2").arg(NativeName(FileName), Error));
    DiscLastGroup = File->LastGroup;
    ClassTermUsed = File->TermUsed;
    ClassCoefficients = File->Coefficients;
    for (std::size_t K = 0; K < File->Colors.size(); ++K) GroupColors[K] = File->Colors[K];
    ClassifyDone = true;
    for (int K = 1; K <= File->LastGroup + 1; ++K) {
        QString Line = QStringLiteral("Group[%1]=").arg(K);
        for (int T = 0; T < 4; ++T)
            if (File->TermUsed[T])
                Line += Format(QStringLiteral("%6.3f"), {File->Coefficients[T][std::size_t(K)]}) +
                        QLatin1String(kTermLetters[T]);
        EngineHost().AppendResultLine(Line);
    }
    return false;
}

}  // namespace tam32
