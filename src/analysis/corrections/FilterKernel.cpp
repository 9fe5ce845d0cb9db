#include "analysis/corrections/FilterKernel.h"

#include <QDir>
#include <cstdint>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/NumberReader.h"

namespace tam32 {

std::optional<TFilterKernel> ReadKernelText(const QByteArray& Text, QString& Error) {
    TNumberReader Numbers(Text);
    // Each number is read before any is used, so a bad file changes nothing.
    const auto Read = [&Numbers, &Error](const QString& What) -> std::optional<int32_t> {
        const std::optional<int64_t> Value =
            Numbers.Whole(What, INT32_MIN, INT32_MAX, QStringLiteral("a whole number of 32 bits"));
        if (!Value) {
            Error = Numbers.Error();
            return std::nullopt;
        }
        return int32_t(*Value);
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
    if (!Numbers.AtEnd(QStringLiteral("the divisor"))) {
        Error = Numbers.Error();
        return std::nullopt;
    }
    Kernel.Divisor = *Divisor;
    return Kernel;
}

std::optional<TFilterKernel> ReadKernelFile(const QString& FileName, QString& Message) {
    const std::optional<QByteArray> Text = ReadNumberFile(FileName, Message);
    if (!Text) return std::nullopt;
    QString Error;
    const std::optional<TFilterKernel> Kernel = ReadKernelText(*Text, Error);
    if (!Kernel)
        Message =
            QStringLiteral("Cannot load the kernel file \"%1\": %2").arg(QDir::toNativeSeparators(FileName), Error);
    return Kernel;
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
