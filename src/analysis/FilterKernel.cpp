#include "analysis/FilterKernel.h"

#include <QFile>
#include <charconv>
#include <string_view>

#include "analysis/GlobalSettings.h"

namespace tam32 {
namespace {

// Far more than the largest kernel takes; the numbers come first.
constexpr qint64 kMaxRead = 1 << 20;

// The blank-separated words of a text, one after another.
class TWords {
public:
    explicit TWords(const QByteArray& Text) : FText(Text.constData(), std::size_t(Text.size())) {}

    // The next word; empty at the end of the text.
    std::string_view Next() {
        while (FPos < FText.size() && uint8_t(FText[FPos]) <= ' ') ++FPos;
        const std::size_t Start = FPos;
        while (FPos < FText.size() && uint8_t(FText[FPos]) > ' ') ++FPos;
        return FText.substr(Start, FPos - Start);
    }

private:
    std::string_view FText;
    std::size_t FPos = 0;
};

// Word as a whole number of 32 bits, a sign of '+' as well as '-'.
std::optional<int32_t> WholeNumber(std::string_view Word) {
    if (Word.size() > 1 && Word[0] == '+' && Word[1] != '-') Word.remove_prefix(1);
    int32_t Value = 0;
    const auto [End, Failure] = std::from_chars(Word.data(), Word.data() + Word.size(), Value);
    if (Failure != std::errc() || End != Word.data() + Word.size()) return std::nullopt;
    return Value;
}

QString Shown(std::string_view Word) {
    return QString::fromUtf8(Word.data(), qsizetype(std::min<std::size_t>(Word.size(), 24)));
}

}  // namespace

std::optional<TFilterKernel> ReadKernelText(const QByteArray& Text, QString& Error) {
    TWords Words(Text);
    // Each number is read before any is used, so a bad file changes nothing.
    const auto Read = [&Words, &Error](const QString& What) -> std::optional<int32_t> {
        const std::string_view Word = Words.Next();
        if (Word.empty()) {
            Error = QStringLiteral("the file ends before %1").arg(What);
            return std::nullopt;
        }
        const std::optional<int32_t> Value = WholeNumber(Word);
        if (!Value) Error = QStringLiteral("%1 must be a whole number of 32 bits, not \"%2\"").arg(What, Shown(Word));
        return Value;
    };
    const std::optional<int32_t> Size = Read(QStringLiteral("the size"));
    if (!Size) return std::nullopt;
    if (!IsFilterSize(*Size)) {
        Error =
            QStringLiteral("the size must be an odd whole number from 1 to %1, not %2").arg(kMaxFilterSize).arg(*Size);
        return std::nullopt;
    }
    TFilterKernel Kernel;
    Kernel.Size = *Size;
    const int Count = *Size * *Size;
    Kernel.Weights.reserve(std::size_t(Count));
    for (int I = 0; I < Count; ++I) {
        const std::optional<int32_t> Weight = Read(QStringLiteral("weight %1 of %2").arg(I + 1).arg(Count));
        if (!Weight) return std::nullopt;
        Kernel.Weights.push_back(*Weight);
    }
    const std::optional<int32_t> Divisor = Read(QStringLiteral("the divisor"));
    if (!Divisor) return std::nullopt;
    Kernel.Divisor = *Divisor;
    return Kernel;
}

std::optional<TFilterKernel> ReadKernelFile(const QString& FileName, QString& Error) {
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly)) {
        Error = File.errorString();
        return std::nullopt;
    }
    return ReadKernelText(File.read(kMaxRead), Error);
}

std::optional<TFilterKernel> DefinedFilterKernel() {
    if (!FilterDefined || !IsFilterSize(FilterSize) || FilterKernel.size() != std::size_t(FilterSize))
        return std::nullopt;
    TFilterKernel Kernel;
    Kernel.Size = FilterSize;
    Kernel.Divisor = FilterDivisor;
    Kernel.Weights.resize(std::size_t(FilterSize) * std::size_t(FilterSize));
    for (int Col = 0; Col < FilterSize; ++Col) {
        const std::vector<int32_t>& Column = FilterKernel[std::size_t(Col)];
        if (Column.size() != std::size_t(FilterSize)) return std::nullopt;
        for (int Row = 0; Row < FilterSize; ++Row)
            Kernel.Weights[std::size_t(Row) * std::size_t(FilterSize) + std::size_t(Col)] = Column[std::size_t(Row)];
    }
    return Kernel;
}

void StoreFilterKernel(const TFilterKernel& Kernel) {
    std::vector<std::vector<int32_t>> Columns(std::size_t(Kernel.Size), std::vector<int32_t>(std::size_t(Kernel.Size)));
    for (int Col = 0; Col < Kernel.Size; ++Col)
        for (int Row = 0; Row < Kernel.Size; ++Row)
            Columns[std::size_t(Col)][std::size_t(Row)] = Kernel.Weight(Col, Row);
    FilterKernel = std::move(Columns);
    FilterSize = Kernel.Size;
    FilterDivisor = Kernel.Divisor;
    FilterDefined = true;
}

}  // namespace tam32
