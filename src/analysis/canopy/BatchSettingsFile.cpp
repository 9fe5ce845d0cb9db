#include "analysis/canopy/BatchSettingsFile.h"

#include <QFileInfo>

#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/Exceptions.h"
#include "platform/IniDocument.h"

namespace tam32 {
namespace {

constexpr QChar kDelimiter = QLatin1Char(',');
constexpr QChar kQuote = QLatin1Char('"');

// Every control character and the space separate fields.
bool IsBlank(QChar C) { return C.unicode() >= 1 && C.unicode() <= 32; }

std::optional<int> DecimalInteger(const QString& Text) {
    const QString Digits = Text.startsWith(QLatin1Char('+')) || Text.startsWith(QLatin1Char('-')) ? Text.mid(1) : Text;
    if (Digits.isEmpty()) return std::nullopt;
    for (const QChar C : Digits)
        if (C < QLatin1Char('0') || C > QLatin1Char('9')) return std::nullopt;
    bool Ok = false;
    const int Value = Text.toInt(&Ok);
    return Ok ? std::optional<int>(Value) : std::nullopt;
}

// Fields First.. of Fields as thresholds within 0..Highest, or nullopt.
std::optional<std::vector<int>> Thresholds(const QStringList& Fields, int First, int Highest) {
    std::vector<int> Values;
    for (int I = First; I < Fields.size(); ++I) {
        const std::optional<int> Value = DecimalInteger(Fields[I]);
        if (!Value || *Value < 0 || *Value > Highest) return std::nullopt;
        Values.push_back(*Value);
    }
    return Values;
}

}  // namespace

QStringList SplitBatchSettingsLine(const QString& Line) {
    QStringList Fields;
    const qsizetype N = Line.size();
    qsizetype I = 0;
    const auto SkipBlanks = [&] {
        while (I < N && IsBlank(Line[I])) ++I;
    };
    SkipBlanks();
    while (I < N) {
        QString Field;
        if (Line[I] == kQuote) {
            for (++I; I < N; ++I) {
                if (Line[I] != kQuote) {
                    Field += Line[I];
                } else if (I + 1 < N && Line[I + 1] == kQuote) {
                    Field += kQuote;
                    ++I;
                } else {
                    ++I;
                    break;
                }
            }
        } else {
            const qsizetype Start = I;
            while (I < N && !IsBlank(Line[I]) && Line[I] != kDelimiter) ++I;
            Field = Line.mid(Start, I - Start);
        }
        Fields << Field;
        SkipBlanks();
        if (I < N && Line[I] == kDelimiter) {
            if (I + 1 == N) Fields << QString();
            ++I;
            SkipBlanks();
        }
    }
    return Fields;
}

std::optional<TBatchSettingsLine> ParseBatchSettingsLine(const QString& Line) {
    const QStringList Fields = SplitBatchSettingsLine(Line);
    if (Fields.size() < 2) return std::nullopt;
    const std::optional<int> Target = DecimalInteger(Fields[1]);
    if (!Target || *Target < 0 || *Target > kRGBTarget) return std::nullopt;
    TBatchSettingsLine Parsed{Fields[0], *Target, {}};
    const bool OneChannel = *Target >= 0 && *Target <= 2 && Fields.size() == 3;
    const bool AllChannels = *Target == kRGBTarget && Fields.size() == 5;
    if (OneChannel || AllChannels) {
        const std::optional<std::vector<int>> Values = Thresholds(Fields, 2, AllChannels ? 254 : 255);
        if (!Values) return std::nullopt;
        Parsed.Thresholds = *Values;
    }
    return Parsed;
}

void TSkippedBatchLines::Note(int LineNumber, const QString& File, TBatchSkip Why, const QString& Detail) {
    QString Reason;
    switch (Why) {
        case TBatchSkip::NotALine: Reason = GetDialogMessage(QStringLiteral("DMS111")); break;
        case TBatchSkip::NoFile: Reason = GetDialogMessage(QStringLiteral("DMS112")); break;
        case TBatchSkip::NotLoaded: Reason = FormatDialogMessage(QStringLiteral("DMS113"), {Detail}); break;
        case TBatchSkip::FixedWithoutThresholds: Reason = GetDialogMessage(QStringLiteral("DMS114")); break;
    }
    FNotes.push_back(FormatDialogMessage(QStringLiteral("DMS110"), {LineNumber, File, Reason}));
}

void TSkippedBatchLines::Report() const {
    for (const QString& Note : FNotes) EngineHost().AppendResultLine(Note);
}

QStringList ReadBatchSettingsFile(const QString& FileName) {
    const auto Unreadable = [&FileName] { return EFOpenError(QStringLiteral("Cannot open file \"%1\"").arg(FileName)); };
    if (!QFileInfo(FileName).isFile()) throw Unreadable();
    const IniDocument Document = IniDocument::Load(FileName);
    if (!Document.Readable) throw Unreadable();
    QStringList Lines;
    for (const IniLine& Line : Document.Lines) Lines << Line.Text;
    return Lines;
}

}  // namespace tam32
