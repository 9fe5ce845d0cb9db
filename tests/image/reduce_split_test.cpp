// Box splitting of colour entries and of pixels: channel choice, order of the
// halves, rounding, progress, and the fast pixel split against a plain one.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "image/PxReduce.h"
#include "reduce_test_util.h"

namespace tam32 {
namespace {

using namespace reduce_test;

struct TColorSplit {
    std::vector<TPxColorEntry> Entries;
    RGBQUAD Colors[256] = {};
    int Count = 0, Calls = 0;
    void Run(int Depth, int Level = 0) {
        SplitColorBox(0, int(Entries.size()), Level, CountCall, &Calls, Count, Colors, Entries.data(), Depth);
    }
};

TEST(ReduceSplitColorBox, SplitsTheWeightedWidestChannelAtItsMeanUpperPartFirst) {
    struct TCase {
        std::vector<TPxColorEntry> Entries;
        TRGB First, Second;
    };
    const TCase cases[] = {
        // red; the value equal to the mean stays below
        {{{10, 0, 0, 1, 0}, {20, 0, 0, 1, 1}, {30, 0, 0, 1, 2}}, {30, 0, 0}, {15, 0, 0}},
        // weights count: 3 x 10 against 1 x 200
        {{{10, 5, 5, 3, 0}, {200, 5, 5, 1, 1}}, {200, 5, 5}, {10, 5, 5}},
        // vR 2500, vG 1936: 4vG > 3vR, so green although red varies more
        {{{0, 0, 0, 1, 0}, {100, 0, 0, 1, 1}, {0, 88, 0, 1, 2}, {100, 88, 0, 1, 3}}, {50, 88, 0}, {50, 0, 0}},
        // vG 2500, vB 4489: 2vB > 3vG, so blue (the pixel split takes green)
        {{{0, 0, 0, 1, 0}, {0, 100, 0, 1, 1}, {0, 0, 134, 1, 2}, {0, 100, 134, 1, 3}}, {0, 50, 134}, {0, 50, 0}},
    };
    for (const TCase& c : cases) {
        TColorSplit s;
        s.Entries = c.Entries;
        s.Run(1);
        ASSERT_EQ(s.Count, 2);
        EXPECT_EQ(ColorOf(s.Colors[0]), c.First);
        EXPECT_EQ(ColorOf(s.Colors[1]), c.Second);
        // The weights became palette indices: the first entry is in the lower
        // part in every case, the last one in the upper part.
        for (const TPxColorEntry& e : s.Entries) {
            if (e.Index == 0) {
                EXPECT_EQ(e.Weight, 1);
            } else if (e.Index == int(c.Entries.size()) - 1) {
                EXPECT_EQ(e.Weight, 0);
            }
        }
    }
}

TEST(ReduceSplitColorBox, LeafColoursRoundHalvesToEvenAndHugeWeightsStayExact) {
    TColorSplit low, high, huge;
    low.Entries = {{10, 20, 30, 1, 0}, {11, 21, 31, 1, 1}};
    high.Entries = {{11, 21, 31, 1, 0}, {12, 22, 32, 1, 1}};
    // w*R and w*R^2 beyond 32 bits: red mean 255 (2^31-1) / 2^32 = 127.4999...
    huge.Entries = {{255, 255, 1, 2147483647, 0}, {0, 0, 0, 2147483647, 1}, {0, 0, 0, 2, 2}};
    for (TColorSplit* s : {&low, &high, &huge}) s->Run(0);
    EXPECT_EQ(ColorOf(low.Colors[0]), (TRGB{10, 20, 30}));
    EXPECT_EQ(ColorOf(high.Colors[0]), (TRGB{12, 22, 32}));
    EXPECT_EQ(ColorOf(huge.Colors[0]), (TRGB{127, 127, 0}));
}

TEST(ReduceSplitColorBox, EmptyBoxesStillReportEveryLeaf) {
    TColorSplit one, none;
    one.Entries = {{40, 50, 60, 7, 0}};
    one.Run(8);
    none.Run(8, 5);
    EXPECT_EQ(one.Count, 1);
    EXPECT_EQ(one.Calls, 256);
    EXPECT_EQ(none.Count, 0);
    EXPECT_EQ(none.Calls, 8);
}

// The pixel split exactly as defined: extended-precision sums over every
// pixel of every box, a two-sided partition around the mean, upper part first.
struct TPlainPixelSplit {
    std::vector<TPxPixelEntry> Pixels;
    TPxDecisionTree Tree;
    RGBQUAD Colors[256] = {};
    int Count = 0, Depth = 0;

    static int Value(const TPxPixelEntry& P, int Channel) {
        return Channel == 0 ? P.Red : Channel == 1 ? P.Green : P.Blue;
    }
    void Split(int64_t Lo, int64_t Hi, int Level, int Node) {
        if (Lo == Hi) return;
        long double n = Hi - Lo, sum[3] = {}, sq[3] = {}, m[3], v[3];
        for (int64_t i = Lo; i < Hi; ++i)
            for (int c = 0; c < 3; ++c) {
                sum[c] += Value(Pixels[i], c);
                sq[c] += static_cast<long double>(Value(Pixels[i], c)) * Value(Pixels[i], c);
            }
        for (int c = 0; c < 3; ++c) m[c] = sum[c] / n, v[c] = sq[c] / n - m[c] * m[c];
        if (Level == Depth) {
            Tree.Nodes[Node].Channel = 3;
            Tree.Nodes[Node].PaletteIndex = Count;
            Colors[Count++] = {uint8_t(std::nearbyint(m[2])), uint8_t(std::nearbyint(m[1])),
                               uint8_t(std::nearbyint(m[0])), 0};
            return;
        }
        const int ch = 4 * v[1] <= 3 * v[0] && 2 * v[2] <= 3 * v[0]   ? 0
                       : 3 * v[0] <= 4 * v[1] && 2 * v[2] <= 4 * v[1] ? 1
                                                                      : 2;
        int64_t i = Lo, j = Hi - 1;
        for (;;) {
            while (i <= j && Value(Pixels[i], ch) <= m[ch]) ++i;
            while (i <= j && Value(Pixels[j], ch) > m[ch]) --j;
            if (i >= j) break;
            std::swap(Pixels[i++], Pixels[j--]);
        }
        Tree.Nodes[Node].Channel = static_cast<uint8_t>(ch);
        Tree.Nodes[Node].Threshold = m[ch];
        Tree.Nodes[Node].Upper = Tree.NextNode++;
        Split(i, Hi, Level + 1, Tree.Nodes[Node].Upper);
        Tree.Nodes[Node].Lower = Tree.NextNode++;
        Split(Lo, i, Level + 1, Tree.Nodes[Node].Lower);
    }
};

void ExpectSplitLikePlain(std::vector<TPxPixelEntry> Pixels, int Depth) {
    TPlainPixelSplit plain;
    plain.Pixels = Pixels;
    plain.Depth = Depth;
    plain.Tree.Nodes.resize((size_t{2} << Depth) - 1);
    plain.Split(0, int64_t(Pixels.size()), 0, 0);

    TPxDecisionTree tree;
    tree.Nodes.resize((size_t{2} << Depth) - 1);
    RGBQUAD colors[256] = {};
    int count = 0, calls = 0;
    SplitPixelBox(0, int64_t(Pixels.size()), 0, CountCall, &calls, 0, tree, count, colors, Pixels.data(), Depth);

    EXPECT_EQ(calls, 1 << Depth);
    ASSERT_EQ(count, plain.Count);
    for (int i = 0; i < count; ++i) EXPECT_EQ(ColorOf(colors[i]), ColorOf(plain.Colors[i])) << i;
    ASSERT_EQ(tree.NextNode, plain.Tree.NextNode);
    for (int i = 0; i < tree.NextNode; ++i) {
        const TPxTreeNode &a = tree.Nodes[i], &b = plain.Tree.Nodes[i];
        EXPECT_TRUE(a.Channel == b.Channel && a.Threshold == b.Threshold && a.PaletteIndex == b.PaletteIndex &&
                    a.Lower == b.Lower && a.Upper == b.Upper)
            << "node " << i;
    }
}

// A shuffled gradient with noise of the given spread on each channel.
std::vector<TPxPixelEntry> RandomPixels(int N, uint32_t Seed, int Spread) {
    std::mt19937 rng(Seed);
    std::vector<TPxPixelEntry> p(N);
    for (int i = 0; i < N; ++i) {
        auto v = [&](int offset) {
            const int noise = int(rng() % (2 * Spread + 1)) - Spread;
            return uint8_t(std::clamp(int(i * 256LL / N) + offset + noise, 0, 255));
        };
        p[i] = {v(0), v(40), v(-30), 0};
    }
    std::shuffle(p.begin(), p.end(), rng);
    return p;
}

TEST(ReduceSplitPixelBox, FastSplitEqualsThePlainDefinition) {
    ExpectSplitLikePlain(RandomPixels(30000, 1, 255), 8);  // noise over the whole cube
    ExpectSplitLikePlain(RandomPixels(30000, 2, 6), 8);    // a noisy gradient
    ExpectSplitLikePlain(RandomPixels(20000, 3, 20), 4);
    ExpectSplitLikePlain(RandomPixels(50, 4, 1), 8);  // fewer pixels than leaves: many empty boxes
    std::vector<TPxPixelEntry> few;
    for (int i = 0; i < 999; ++i) few.push_back({uint8_t(i % 3 * 100), uint8_t(i % 2 * 255), 7, 0});
    ExpectSplitLikePlain(few, 8);  // ties everywhere
}

TEST(ReduceSplitPixelBox, GreenNeedsTwiceBlueVarianceWithinFourTimesItsOwn) {
    std::vector<TPxPixelEntry> p = {{0, 0, 0, 0}, {0, 100, 0, 0}, {134, 0, 0, 0}, {134, 100, 0, 0}};
    TPxDecisionTree tree;
    RGBQUAD colors[2] = {};
    int count = 0;
    SplitPixelBox(0, 4, 0, nullptr, nullptr, 0, tree, count, colors, p.data(), 1);
    ASSERT_EQ(count, 2);
    EXPECT_EQ(tree.Nodes[0].Channel, 1);
    EXPECT_EQ(ColorOf(colors[0]), (TRGB{0, 100, 67}));
}

TEST(ReduceSplitPixelBox, SlotsOfEmptyBoxesAreLeavesOfIndexZero) {
    // One colour: every split leaves its upper part empty. The tree starts
    // without nodes and grows; slots no box fills lead a walk only to index 0.
    std::vector<TPxPixelEntry> p(5, TPxPixelEntry{9, 8, 7, 0});
    TPxDecisionTree tree;
    RGBQUAD colors[4] = {};
    int count = 0;
    SplitPixelBox(0, 5, 0, nullptr, nullptr, 0, tree, count, colors, p.data(), 2);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(tree.NextNode, 5);
    ASSERT_GE(tree.Nodes.size(), 5u);
    EXPECT_EQ(tree.Nodes[0].Upper, 1);
    EXPECT_EQ(tree.Nodes[2].Upper, 3);
    for (int empty : {1, 3}) EXPECT_TRUE(tree.Nodes[empty].Channel == 3 && tree.Nodes[empty].PaletteIndex == 0);
}

}  // namespace
}  // namespace tam32
