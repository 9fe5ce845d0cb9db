#include "analysis/objects/ObjectOutline.h"

#include <cmath>
#include <numbers>

namespace tam32 {
namespace {

// Direction d steps by kSteps[d] (x right, y down).
constexpr TPoint kSteps[8] = {{-1, 1}, {0, 1}, {1, 1}, {1, 0}, {1, -1}, {0, -1}, {-1, -1}, {-1, 0}};

constexpr TPoint Step(TPoint P, int Direction) { return {P.X + kSteps[Direction].X, P.Y + kSteps[Direction].Y}; }

}  // namespace

void OutlineNeighbours(const TLabelRuns& Runs, int RunIndex, int Y1, int X1, bool& InAtSecond, bool& InAtFirst, int X2,
                       int Y2) {
    const int Object = Runs.RunLabel[std::size_t(RunIndex)];
    InAtFirst = Runs.InObject(Object, X1, Y1);
    InAtSecond = Runs.InObject(Object, X2, Y2);
}

void TraceObjectOutline(const TLabelRuns& Runs, int RunIndex, float& Perimeter, float& OutlineArea,
                        std::vector<TPoint>& Points) {
    const auto Run = std::size_t(RunIndex);
    const int64_t Limit = 1'000'000 + 64 * Runs.ObjectArea[std::size_t(Runs.RunLabel[Run])];
    const TPoint Start{Runs.RunStartX[Run] - 1, Runs.RunY[Run]};
    Points.assign(1, Start);
    TPoint P = Start;
    int Direction = 5;
    int64_t Straight = 0, Diagonal = 0;
    for (int64_t Iteration = 1;; ++Iteration) {
        if (Iteration > Limit) {
            Perimeter = OutlineArea = 0.0f;
            return;
        }
        const int Next = (Direction + 1) % 8;
        bool InA = false, InB = false;
        OutlineNeighbours(Runs, RunIndex, P.Y + kSteps[Direction].Y, P.X + kSteps[Direction].X, InB, InA,
                          P.X + kSteps[Next].X, P.Y + kSteps[Next].Y);
        if (InA || !InB) {
            Direction = Next;
            continue;
        }
        P = Step(P, Direction);
        ++(Direction % 2 == 1 ? Straight : Diagonal);
        Points.push_back(P);
        Direction = (Direction + 5) % 8;
        if (P == Start) break;
    }
    Perimeter = float(double(Straight) + double(Diagonal) * std::numbers::sqrt2);
    // Twice the area, positive for the walk's turning sense (y down).
    int64_t Twice = 0;
    for (std::size_t I = 0; I + 1 < Points.size(); ++I)
        Twice += (int64_t(Points[I].X) + Points[I + 1].X) * (int64_t(Points[I].Y) - Points[I + 1].Y);
    OutlineArea = float(double(Twice) / 2.0);
}

}  // namespace tam32
