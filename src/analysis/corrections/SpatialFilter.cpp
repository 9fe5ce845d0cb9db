#include "analysis/corrections/SpatialFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/Resampling.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/corrections/FilterKernel.h"

namespace tam32 {
namespace {

constexpr int kChannels = 3;
// Channel values summed at a time in registers, while every weight adds to them.
constexpr std::size_t kLanes = 32;
// Sums that span at most this many values are divided through a table.
constexpr int64_t kMaxTable = int64_t(1) << 20;
// Every integer up to this magnitude is exact in a float.
constexpr int64_t kExactInFloat = int64_t(1) << 24;

// Sum / Divisor to the nearest integer, an exact half to the even one,
// held to 0..255.
uint8_t QuotientByte(int64_t Sum, int64_t Divisor) {
    // |Sum| < 2^50, so the quotient of the doubles lies within 0.1 of the
    // true one and the nearest integer to it at most one away.
    int64_t Q = int64_t(std::nearbyint(double(Sum) / double(Divisor)));
    const int64_t Rest = Sum - Q * Divisor;  // Sum / Divisor = Q + Rest / Divisor
    const int64_t Twice = 2 * std::abs(Rest), Magnitude = std::abs(Divisor);
    // More than half away, or an exact half from an odd Q: the neighbour on
    // the side of Rest / Divisor.
    if (Twice > Magnitude || (Twice == Magnitude && Q % 2 != 0)) Q += (Rest < 0) == (Divisor < 0) ? 1 : -1;
    return uint8_t(std::clamp<int64_t>(Q, 0, 255));
}

// The byte of each weighted sum: looked up when the sums span few values,
// divided otherwise.
class TQuotientBytes {
public:
    TQuotientBytes(int64_t Lowest, int64_t Highest, int32_t Divisor) : FLowest(Lowest), FDivisor(Divisor) {
        if (Highest - Lowest >= kMaxTable) return;
        FTable.resize(std::size_t(Highest - Lowest + 1));
        for (std::size_t I = 0; I < FTable.size(); ++I) FTable[I] = QuotientByte(Lowest + int64_t(I), Divisor);
    }
    uint8_t operator()(int64_t Sum) const {
        return FTable.empty() ? QuotientByte(Sum, FDivisor) : FTable[std::size_t(Sum - FLowest)];
    }

private:
    int64_t FLowest;
    int32_t FDivisor;
    std::vector<uint8_t> FTable;
};

// A weight that is not 0, at its column's place in a padded source row.
template <typename T>
struct TTap {
    std::size_t Shift;  // channel values from the row's start
    T Weight;
};

// A weight and the source values that it multiplies.
template <typename T>
struct TRowTap {
    const T* Source;
    T Weight;
};

// The weighted sums, in T, of one output row at a time: the source rows
// that the kernel's rows read are kept as T with Half pixels of 0 on either
// side (and 0 up to a whole number of lanes beyond), so that columns beyond
// the picture add nothing without a test. T holds every sum exactly (the
// caller's choice), so the result is that of whole-number arithmetic.
template <typename T>
class TUserFilter {
public:
    TUserFilter(const TFilterKernel& Kernel, const TQuotientBytes& Bytes)
        : FSize(Kernel.Size),
          FHalf(Kernel.Size / 2),
          FValues(std::size_t(FPicture.Width()) * kChannels),
          FLaneValues((FValues + kLanes - 1) / kLanes * kLanes),
          FPadded(FLaneValues + std::size_t(2 * FHalf * kChannels)),
          FTaps(std::size_t(FSize)),
          FBytes(Bytes) {
        for (int J = 0; J < FSize; ++J)
            for (int I = 0; I < FSize; ++I)
                if (const int32_t W = Kernel.Weight(I, J); W != 0)
                    FTaps[std::size_t(J)].push_back({std::size_t(I) * kChannels, T(W)});
    }

    // Output rows Block.First..Block.Last into Out; from any thread.
    void ApplyUserFilter(const TRowBlock& Block, TResultPicture& Out) const {
        TWindow Window{std::vector<T>(FPadded * std::size_t(FSize), T(0)), std::vector<T>(FLaneValues), {}};
        int Loaded = std::max(Block.First - FHalf, 0);
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            for (; Loaded < FPicture.Height() && Loaded <= Y + FHalf; ++Loaded) LoadRow(Window, Loaded);
            FilterRow(Window, Y, Out);
        }
    }

private:
    // The source rows that the block's output rows read, and its sums.
    struct TWindow {
        std::vector<T> Rows;  // source row Y in place Y mod Size
        std::vector<T> Sums;
        std::vector<TRowTap<T>> RowTaps;  // of the output row
    };

    // Row Y takes the place of row Y - Size, which no later output row reads.
    T* PaddedRow(TWindow& Window, int Y) const { return Window.Rows.data() + std::size_t(Y % FSize) * FPadded; }
    void LoadRow(TWindow& Window, int Y) const {
        const uint8_t* Source = FPicture.Row(Y);
        T* Row = PaddedRow(Window, Y) + std::size_t(FHalf * kChannels);
        for (std::size_t K = 0; K < FValues; ++K) Row[K] = T(Source[K]);
    }
    void FilterRow(TWindow& Window, int Y, TResultPicture& Out) const {
        Window.RowTaps.clear();
        for (int J = 0; J < FSize; ++J) {
            const int SourceY = Y + J - FHalf;
            if (SourceY < 0 || SourceY >= FPicture.Height()) continue;
            for (const TTap<T>& Tap : FTaps[std::size_t(J)])
                Window.RowTaps.push_back({PaddedRow(Window, SourceY) + Tap.Shift, Tap.Weight});
        }
        // A fixed number of lanes, so that the sums stay in vector registers.
        for (std::size_t K = 0; K < FLaneValues; K += kLanes) {
            T Sums[kLanes] = {};
            for (const TRowTap<T>& Tap : Window.RowTaps) {
                const T* Source = Tap.Source + K;
                for (std::size_t L = 0; L < kLanes; ++L) Sums[L] += Tap.Weight * Source[L];
            }
            std::copy(Sums, Sums + kLanes, Window.Sums.data() + K);
        }
        // Blue, green, red in memory.
        for (int X = 0; X < FPicture.Width(); ++X) {
            const T* Sum = Window.Sums.data() + std::size_t(X) * kChannels;
            Out.PutResultPixel(X, Y, FBytes(int64_t(Sum[2])), FBytes(int64_t(Sum[1])), FBytes(int64_t(Sum[0])));
        }
    }

    const TPictureRows FPicture;
    const int FSize, FHalf;
    const std::size_t FValues, FLaneValues, FPadded;
    std::vector<std::vector<TTap<T>>> FTaps;  // by kernel row
    const TQuotientBytes& FBytes;
};

template <typename T>
void FilterPicture(const TFilterKernel& Kernel, const TQuotientBytes& Bytes, TResultPicture& Out) {
    const TUserFilter<T> Filter(Kernel, Bytes);
    ForEachResultRowBlock(Out.Height(), [&](const TRowBlock& Block) { Filter.ApplyUserFilter(Block, Out); });
}

}  // namespace

bool FilterImageFile(const QString& SrcName, const QString& DstName) {
    if (!FilterDefined) return true;
    const std::optional<TFilterKernel> Kernel = DefinedFilterKernel();
    if (!Kernel || Kernel->Divisor == 0) {
        ShowErrorMessage(QStringLiteral("ERR22"));
        return true;
    }
    // The range of the sums; every partial sum lies within it as well.
    int64_t Lowest = 0, Highest = 0;
    for (const int32_t W : Kernel->Weights) (W < 0 ? Lowest : Highest) += int64_t(W) * 255;
    const TAnalysisImageRelease Release;
    if (LoadAnalysisImage(SrcName)) return true;
    ShowInstructionMessage(QStringLiteral("MSG9"));
    TResultPicture Out(AnalysisImage->Width(), AnalysisImage->Height());
    const TQuotientBytes Bytes(Lowest, Highest, Kernel->Divisor);
    if (std::max(-Lowest, Highest) <= kExactInFloat)
        FilterPicture<float>(*Kernel, Bytes, Out);
    else
        FilterPicture<double>(*Kernel, Bytes, Out);  // exact below 2^53; the sums stay below 2^50
    if (SaveCorrectedPicture(Out.Picture(), DstName)) return true;
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return false;
}

}  // namespace tam32
