#pragma once
// The kernel of the spatial filter: its odd size, integer weights and the
// integer divisor of each weighted sum, as the filter settings keep it and
// as a kernel file holds it. A kernel file (the program only reads them) is
// text of decimal integers separated by blanks, tabs or line ends, in any
// line layout: the size N, the N x N weights row by row (row 0 from column
// 0 to N - 1, then row 1, ...), then the divisor and nothing more; a UTF-8
// byte-order mark at the start is skipped. A file of more than 1 MiB is
// refused.
#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace tam32 {

constexpr int kMaxFilterSize = 31;

// Kernel sizes are odd, 1 to kMaxFilterSize.
constexpr bool IsFilterSize(int64_t Size) { return Size >= 1 && Size <= kMaxFilterSize && Size % 2 == 1; }

struct TFilterKernel {
    int32_t Size = 3;
    std::vector<int32_t> Weights;  // row by row: Weights[Row * Size + Col]
    int32_t Divisor = 1;

    int32_t Weight(int Col, int Row) const { return Weights[std::size_t(Row) * std::size_t(Size) + std::size_t(Col)]; }
};

// The whole kernel of Text, or nullopt and the reason in Error: a size that
// is no odd whole number of 1..31, fewer than Size² + 2 numbers, a number
// among them that is not a whole number of 32 bits, or text after the
// divisor. A divisor of 0 loads (the filter settings refuse it).
std::optional<TFilterKernel> ReadKernelText(const QByteArray& Text, QString& Error);
// The same for the file FileName; nullopt with a message that names the
// file in Message when it cannot be read or is not a kernel.
std::optional<TFilterKernel> ReadKernelFile(const QString& FileName, QString& Message);

// The kernel of the filter settings: nullopt while FilterDefined is off or
// when they do not hold a whole kernel of a valid size.
std::optional<TFilterKernel> DefinedFilterKernel();
// Makes Kernel the one in force (FilterDefined, FilterSize, FilterKernel
// [column][row], FilterDivisor). Kernel must be whole and of a valid size.
void StoreFilterKernel(const TFilterKernel& Kernel);

}  // namespace tam32
