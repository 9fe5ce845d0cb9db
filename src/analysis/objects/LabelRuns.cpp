#include "analysis/objects/LabelRuns.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstring>
#include <new>

namespace tam32 {
namespace {

static_assert(std::endian::native == std::endian::little, "flags are scanned eight bytes at a time");
constexpr uint64_t kLowBits = 0x0101010101010101ull, kHighBits = 0x8080808080808080ull;

// The first column from X to Last whose flag is set (Set) or clear (!Set);
// Last + 1 when there is none. Eight flags are looked at at a time.
int NextColumn(const uint8_t* Flags, int X, int Last, bool Set) {
    for (; X <= Last - 7; X += 8) {
        uint64_t Word;
        std::memcpy(&Word, Flags + X, sizeof Word);
        // Set: the nonzero bytes; clear: the lowest zero byte is exact.
        const uint64_t Hits = Set ? Word : (Word - kLowBits) & ~Word & kHighBits;
        if (Hits != 0) return X + std::countr_zero(Hits) / 8;
    }
    while (X <= Last && (Flags[X] != 0) != Set) ++X;
    return X;
}

}  // namespace

TLabelRuns::TLabelRuns(int Top, std::size_t ReservedRuns) : FTop(Top) {
    for (auto* Table : {&RunStartX, &RunEndX, &RunY, &RunLabel, &FParent}) Table->reserve(ReservedRuns);
    RowFirstRun.push_back(0);
}

void TRowRuns::Clear() {
    StartX.clear();
    EndX.clear();
    RowEnd.clear();
}

void TRowRuns::AddRow(const uint8_t* Flags, int First, int Last) {
    for (int X = First; X <= Last;) {
        X = NextColumn(Flags, X, Last, true);
        if (X > Last) break;
        StartX.push_back(X);
        X = NextColumn(Flags, X, Last, false);
        EndX.push_back(X - 1);
    }
    RowEnd.push_back(int32_t(StartX.size()));
}

void TLabelRuns::AddRow(const uint8_t* Flags, int First, int Last) {
    FFlagRuns.Clear();
    FFlagRuns.AddRow(Flags, First, Last);
    AddRow(FFlagRuns, 0);
}

void TLabelRuns::AddRow(const TRowRuns& Rows, int Row) {
    const int Y = FTop + int(RowFirstRun.size()) - 1;
    const int32_t RowStart = RowFirstRun.back();
    const int32_t AboveStart = RowFirstRun.size() >= 2 ? RowFirstRun[RowFirstRun.size() - 2] : RowStart;
    const int32_t First = Row > 0 ? Rows.RowEnd[std::size_t(Row) - 1] : 0, End = Rows.RowEnd[std::size_t(Row)];
    // Indices and labels are 32-bit: a picture with more runs is as good as
    // out of memory.
    if (int64_t(RunStartX.size()) + (End - First) > int64_t(INT32_MAX)) throw std::bad_alloc();
    for (int32_t K = First; K < End; ++K) {
        const auto Run = int32_t(RunStartX.size());
        RunStartX.push_back(Rows.StartX[std::size_t(K)]);
        RunEndX.push_back(Rows.EndX[std::size_t(K)]);
        RunY.push_back(Y);
        RunLabel.push_back(0);
        FParent.push_back(Run);
    }
    // Both rows' runs lie in column order: one sweep meets every touching pair.
    const auto RowEnd = int32_t(RunStartX.size());
    int32_t Above = AboveStart;
    for (int32_t Run = RowStart; Run < RowEnd; ++Run) {
        while (Above < RowStart && RunEndX[Above] < RunStartX[Run] - 1) ++Above;
        for (int32_t K = Above; K < RowStart && RunStartX[K] <= RunEndX[Run] + 1; ++K) Join(Run, K);
    }
    RowFirstRun.push_back(RowEnd);
}

int32_t TLabelRuns::Find(int32_t Run) {
    while (FParent[Run] != Run) {
        FParent[Run] = FParent[FParent[Run]];
        Run = FParent[Run];
    }
    return Run;
}

void TLabelRuns::Join(int32_t A, int32_t B) {
    A = Find(A);
    B = Find(B);
    if (A < B)
        FParent[B] = A;
    else if (B < A)
        FParent[A] = B;
}

int TLabelRuns::Label() {
    for (auto* Table : {&ObjectArea, &ObjectSumX, &ObjectSumY}) Table->assign(1, 0);
    ObjectFirstRun.assign(1, -1);
    for (int32_t Run = 0; Run < RunCount(); ++Run) {
        // The root is the smallest index of its object, so it came first.
        const int32_t Root = Find(Run);
        if (Root == Run) {
            RunLabel[Run] = int32_t(ObjectArea.size());
            ObjectArea.push_back(0);
            ObjectSumX.push_back(0);
            ObjectSumY.push_back(0);
            ObjectFirstRun.push_back(Run);
        } else {
            RunLabel[Run] = RunLabel[Root];
        }
        const int64_t S = RunStartX[Run], E = RunEndX[Run], Length = E - S + 1;
        ObjectArea[RunLabel[Run]] += Length;
        ObjectSumX[RunLabel[Run]] += (E * (E + 1) - (S - 1) * S) / 2;
        ObjectSumY[RunLabel[Run]] += Length * RunY[Run];
    }
    FParent = {};
    return ObjectCount();
}

bool TLabelRuns::InObject(int Object, int X, int Y) const {
    const int64_t Row = int64_t(Y) - FTop;
    if (Row < 0 || Row + 1 >= int64_t(RowFirstRun.size())) return false;
    const auto Begin = RunStartX.begin() + RowFirstRun[std::size_t(Row)];
    const auto End = RunStartX.begin() + RowFirstRun[std::size_t(Row) + 1];
    const auto After = std::upper_bound(Begin, End, X);
    if (After == Begin) return false;
    const auto Run = std::size_t(After - RunStartX.begin()) - 1;
    return RunEndX[Run] >= X && RunLabel[Run] == Object;
}

}  // namespace tam32
