#include "analysis/objects/Skeleton.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <numbers>

#include "analysis/core/RowBlocks.h"
#include "platform/Exceptions.h"

namespace tam32 {
namespace {

// ConnectivityNumber of every ring, indexed by its bits (bit k set: p_k = 255).
const std::array<uint8_t, 256> kConnectivity = [] {
    std::array<uint8_t, 256> Numbers{};
    for (unsigned Bits = 0; Bits < 256; ++Bits) {
        std::array<uint8_t, 9> Ring{};
        for (unsigned K = 0; K < 8; ++K) Ring[K] = (Bits >> K & 1u) != 0 ? 255 : 0;
        Ring[8] = Ring[0];
        Numbers[Bits] = uint8_t(ConnectivityNumber(Ring));
    }
    return Numbers;
}();

// Rings whose centre may go: more than one neighbour and connectivity number 1.
const std::array<bool, 256> kThinnable = [] {
    std::array<bool, 256> Thinnable{};
    for (unsigned Bits = 0; Bits < 256; ++Bits) Thinnable[Bits] = std::popcount(Bits) > 1 && kConnectivity[Bits] == 1;
    return Thinnable;
}();

constexpr unsigned kNorth = 1u << 2, kWest = 1u << 4;

// Region: the neighbours that count as the region (deleted in this pass
// included); Remaining: those still target.
bool Deletable(unsigned Region, unsigned Remaining) {
    if (!kThinnable[Region] || Remaining == 0) return false;
    // A neighbour deleted in this pass above or to the left must not have
    // been what held the region together.
    const unsigned DeletedNow = Region & ~Remaining;
    if ((DeletedNow & kNorth) != 0 && kConnectivity[Region & ~kNorth] != 1) return false;
    if ((DeletedNow & kWest) != 0 && kConnectivity[Region & ~kWest] != 1) return false;
    return true;
}

}  // namespace

int ConnectivityNumber(const std::array<uint8_t, 9>& Ring) {
    int Number = 0;
    for (std::size_t K = 0; K < 8; K += 2)
        if (Ring[K] == 0 && (Ring[K + 1] == 255 || Ring[K + 2] == 255)) ++Number;
    return Number;
}

TSkeletonGrid::TSkeletonGrid(const TRect& Box)
    : FBox(Box),
      FStride(std::size_t(std::max(Box.Right - Box.Left + 3, 0))),
      FCells(FStride * std::size_t(std::max(Box.Bottom - Box.Top + 3, 0)), 0) {}

int TSkeletonGrid::Thin() {
    FSpans.assign(std::size_t(std::max(FBox.Bottom - FBox.Top + 1, 0)), {INT_MAX, INT_MIN});
    ForEachRowBlock(FBox.Top, FBox.Bottom, [this](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            std::array<int, 2>& Span = FSpans[std::size_t(Y - FBox.Top)];
            for (int X = FBox.Left; X <= FBox.Right; ++X)
                if (Cell(X, Y) == kTarget) Span = {std::min(Span[0], X), X};
        }
    });
    int Passes = 0;
    for (unsigned Pass = 1;; ++Pass) {
        if (Pass >= kTarget) throw ERangeError(kRangeCheckError);
        if (ThinningPass(uint16_t(Pass)) == 0) return Passes;
        ++Passes;
    }
}

int64_t TSkeletonGrid::ThinningPass(uint16_t Pass) {
    const auto InRegion = [Pass](uint16_t V) { return unsigned(V == kTarget || V == Pass); };
    const auto Target = [](uint16_t V) { return unsigned(V == kTarget); };
    int64_t Deleted = 0;
    for (int Y = FBox.Top; Y <= FBox.Bottom; ++Y) {
        std::array<int, 2>& Span = FSpans[std::size_t(Y - FBox.Top)];
        std::array<int, 2> Kept{INT_MAX, INT_MIN};
        for (int X = Span[0]; X <= Span[1]; ++X) {
            uint16_t* P = &Cell(X, Y);
            if (*P != kTarget) continue;
            const uint16_t* Up = P - FStride;
            const uint16_t* Down = P + FStride;
            // With all four edge neighbours in the region the pixel lies
            // inside it and stays (the first test of the thinning).
            const bool Inside = InRegion(P[1]) && InRegion(Up[0]) && InRegion(P[-1]) && InRegion(Down[0]);
            if (!Inside) {
                const uint16_t Ring[8] = {P[1], Up[1], Up[0], Up[-1], P[-1], Down[-1], Down[0], Down[1]};
                unsigned Region = 0, Remaining = 0;
                for (unsigned K = 0; K < 8; ++K) {
                    Region |= InRegion(Ring[K]) << K;
                    Remaining |= Target(Ring[K]) << K;
                }
                if (Deletable(Region, Remaining)) {
                    *P = Pass;
                    ++Deleted;
                    continue;
                }
            }
            Kept = {std::min(Kept[0], X), X};
        }
        Span = Kept;
    }
    return Deleted;
}

TSkeletonClasses::TSkeletonClasses(const TSkeletonGrid& Grid)
    : FBox(Grid.Box()),
      FStride(std::size_t(std::max(FBox.Right - FBox.Left + 3, 0))),
      FCells(FStride * std::size_t(std::max(FBox.Bottom - FBox.Top + 3, 0)), 0) {
    const TRect Box = FBox;
    ForEachRowBlock(Box.Top, Box.Bottom, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            // Neighbours beyond the box do not count.
            const int Above = std::max(Y - 1, Box.Top), Below = std::min(Y + 1, Box.Bottom);
            for (int X = Box.Left; X <= Box.Right; ++X) {
                if (!Grid.IsSkeleton(X, Y)) continue;
                const int Left = std::max(X - 1, Box.Left), Right = std::min(X + 1, Box.Right);
                int Count = 0;
                for (int Ny = Above; Ny <= Below; ++Ny)
                    for (int Nx = Left; Nx <= Right; ++Nx) Count += Grid.IsSkeleton(Nx, Ny) ? 1 : 0;
                Cell(X, Y) = uint8_t(Count > 1 ? Count : 0);
            }
        }
    });
}

void TSkeletonClasses::Mark(int X, int Y, bool& NewMarks) {
    uint8_t& C = Cell(X, Y);
    if (C == 1) return;
    C = 1;
    NewMarks = true;
}

double TSkeletonClasses::TraceLineLength(int X, int Y, bool& NewMarks) {
    const int64_t MaxSteps = int64_t(FBox.Right - FBox.Left + 1) * (FBox.Bottom - FBox.Top + 1);
    double Length = 0.0;
    for (int64_t Steps = 0; Steps < MaxSteps; ++Steps) {
        int Count = 0, Best = 1, StepX = 0, StepY = 0;
        for (int Dy = -1; Dy <= 1; ++Dy)
            for (int Dx = -1; Dx <= 1; ++Dx) {
                if (Dx == 0 && Dy == 0) continue;
                const int V = Cell(X + Dx, Y + Dy);
                if (V >= 2) ++Count;
                if (V > Best) {
                    Best = V;
                    StepX = Dx;
                    StepY = Dy;
                }
            }
        if (Count == 0) {
            Mark(X, Y, NewMarks);
            break;
        }
        Length += StepX != 0 && StepY != 0 ? std::numbers::sqrt2 : 1.0;
        // The pixel left behind is marked when it had one way on; an end
        // point's step also marks it unless it is a branch point among others.
        const bool LeaveHere = Best == 2 ? !(Cell(X, Y) >= 4 && Count != 1) : Count == 1;
        if (LeaveHere) Mark(X, Y, NewMarks);
        X += StepX;
        Y += StepY;
        if (Best == 3) continue;
        if (Best == 2) {
            Mark(X, Y, NewMarks);
        } else {
            int Branches = 0;
            for (int Dy = -1; Dy <= 1; ++Dy)
                for (int Dx = -1; Dx <= 1; ++Dx)
                    if ((Dx != 0 || Dy != 0) && Cell(X + Dx, Y + Dy) >= 4) ++Branches;
            if (Branches >= 2) Mark(X, Y, NewMarks);
        }
        break;
    }
    return Length;
}

}  // namespace tam32
