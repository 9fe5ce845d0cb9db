// The labelling core: objects of runs against a flood fill of the same mask,
// on noise and on shapes whose parts join late.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <tuple>
#include <vector>

#include "analysis/SyntheticMasks.h"
#include "analysis/objects/LabelRuns.h"

namespace tam32 {
namespace {

TLabelRuns LabelMask(const test::TMask& Mask) {
    TLabelRuns Runs(0, 1);
    for (int Y = 0; Y < Mask.Height; ++Y)
        Runs.AddRow(&Mask.Pixels[std::size_t(Y) * std::size_t(Mask.Width)], 0, Mask.Width - 1);
    Runs.Label();
    return Runs;
}

// Object numbers of a breadth-first flood fill over the eight neighbours,
// numbered in raster order of their first pixels; 0 for background.
std::vector<int> FloodFill(const test::TMask& Mask) {
    std::vector<int> Labels(Mask.Pixels.size(), 0);
    int Count = 0;
    for (int Y0 = 0; Y0 < Mask.Height; ++Y0)
        for (int X0 = 0; X0 < Mask.Width; ++X0) {
            if (!Mask.At(X0, Y0) || Labels[std::size_t(Y0 * Mask.Width + X0)] != 0) continue;
            std::deque<std::pair<int, int>> Queue{{X0, Y0}};
            Labels[std::size_t(Y0 * Mask.Width + X0)] = ++Count;
            while (!Queue.empty()) {
                const auto [X, Y] = Queue.front();
                Queue.pop_front();
                for (int Dy = -1; Dy <= 1; ++Dy)
                    for (int Dx = -1; Dx <= 1; ++Dx) {
                        const int Nx = X + Dx, Ny = Y + Dy;
                        if (Nx < 0 || Ny < 0 || Nx >= Mask.Width || Ny >= Mask.Height || !Mask.At(Nx, Ny)) continue;
                        int& Label = Labels[std::size_t(Ny * Mask.Width + Nx)];
                        if (Label != 0) continue;
                        Label = Count;
                        Queue.emplace_back(Nx, Ny);
                    }
            }
        }
    return Labels;
}

// A square spiral of one-pixel walls and one-pixel corridors, Size x Size.
test::TMask Spiral(int Size) {
    test::TMask Mask{Size, Size, std::vector<uint8_t>(std::size_t(Size * Size))};
    int X = 0, Y = 0, Dx = 1, Dy = 0;
    for (int Length = Size - 1, Turn = 0; Length > 0; ++Turn) {
        for (int I = 0; I < Length; ++I, X += Dx, Y += Dy) Mask.At(X, Y) = 1;
        std::tie(Dx, Dy) = std::pair(-Dy, Dx);
        if (Turn >= 2 && Turn % 2 == 0) Length -= 2;
    }
    Mask.At(X, Y) = 1;
    return Mask;
}

test::TMask FromRows(const std::vector<const char*>& Rows) {
    test::TMask Mask{int(std::strlen(Rows[0])), int(Rows.size()), {}};
    for (const char* Row : Rows)
        for (const char* C = Row; *C != 0; ++C) Mask.Pixels.push_back(*C == '#' ? 1 : 0);
    return Mask;
}

TEST(LabelRunsTest, ObjectsAndMeasuresAreThoseOfAFloodFill) {
    const struct {
        const char* Name;
        test::TMask Mask;
    } Cases[] = {
        {"sparse noise", test::NoiseMask(67, 41, 1, 0.3, 1)},
        {"dense noise", test::NoiseMask(64, 48, 2, 0.6, 2)},
        {"every pixel", test::NoiseMask(33, 7, 1, 1.0, 3)},
        {"square spiral", Spiral(21)},
        {"U joined below, corners, zigzag",
         FromRows({"#...#.#.....#...", "#...#..#...#.#..", "#...#...#.#...#.", "#####....#.....#"})},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        const TLabelRuns Runs = LabelMask(Case.Mask);
        const std::vector<int> Expected = FloodFill(Case.Mask);
        std::vector<int> Labels(Case.Mask.Pixels.size(), 0);
        std::vector<int64_t> Area(std::size_t(Runs.ObjectCount()) + 1), SumX(Area.size()), SumY(Area.size());
        for (int Run = 0; Run < Runs.RunCount(); ++Run)
            for (int X = Runs.RunStartX[std::size_t(Run)]; X <= Runs.RunEndX[std::size_t(Run)]; ++X) {
                const int Y = Runs.RunY[std::size_t(Run)], Object = Runs.RunLabel[std::size_t(Run)];
                Labels[std::size_t(Y * Case.Mask.Width + X)] = Object;
                ++Area[std::size_t(Object)];
                SumX[std::size_t(Object)] += X;
                SumY[std::size_t(Object)] += Y;
            }
        ASSERT_EQ(Labels, Expected);
        EXPECT_EQ(Runs.ObjectArea, Area);
        EXPECT_EQ(Runs.ObjectSumX, SumX);
        EXPECT_EQ(Runs.ObjectSumY, SumY);
    }
    EXPECT_EQ(LabelMask(Spiral(21)).ObjectCount(), 1);
}

}  // namespace
}  // namespace tam32
