// The palette builders over a 5-6-5 histogram (Low) and over the used
// colours of an 8-bit image.
#include <gtest/gtest.h>

#include <random>

#include "image/PxReduce.h"
#include "reduce_test_util.h"

namespace tam32 {
namespace {

using namespace reduce_test;

int CellOf(TRGB C) { return (C.R >> 3) * 2048 + (C.G >> 2) * 32 + (C.B >> 3); }

TEST(PaletteLow, CellMeanAddsTheMeanOfTheLowBitsToTheCell) {
    TImage img(24, 4, 1);
    img.Fill([](int x, int) { return x % 2 ? TRGB{15, 7, 23} : TRGB{8, 4, 16}; });
    int count = 0, calls = 0;
    RGBQUAD colors[256] = {};
    std::vector<uint8_t> table;
    MakePaletteLow(img.Infos, count, colors, CountCall, &calls, 8, table);
    ASSERT_EQ(count, 1);
    EXPECT_EQ(calls, 256);
    // red: low bits 14 div 4 = 3, plus 8; green: 6 div 4 = 1, plus 4
    EXPECT_EQ(ColorOf(colors[0]), (TRGB{11, 5, 19}));
}

TEST(PaletteLow, ManyCellsGiveAtMostTheLeavesAndUnusedCellsIndexZero) {
    TImage img(24, 97, 61);
    std::mt19937 rng(11);
    img.Fill([&](int, int) { return TRGB{uint8_t(rng()), uint8_t(rng()), uint8_t(rng() % 64)}; });
    std::vector<bool> used(65536);
    for (int r = 0; r < img.Rows(); ++r)
        for (int x = 0; x < img.Width(); ++x) used[CellOf(img.Pixel(x, r))] = true;
    for (int depth : {8, 4}) {
        int count = 0;
        RGBQUAD colors[256] = {};
        std::vector<uint8_t> table(7, 99);
        MakePaletteLow(img.Infos, count, colors, nullptr, nullptr, depth, table);
        EXPECT_EQ(count, 1 << depth);
        ASSERT_EQ(table.size(), 65536u);
        for (int cell = 0; cell < 65536; ++cell) ASSERT_TRUE(used[cell] ? table[cell] < count : table[cell] == 0);
    }
}

TEST(PaletteLow, DepthsBeyondAByteOfIndexAreRefused) {
    TImage img(24, 1, 1);
    int count = 0;
    RGBQUAD colors[256];
    std::vector<uint8_t> table;
    TPxDecisionTree tree;
    ExpectRaises<EPxDIBInvalidDIBPara>([&] { MakePaletteLow(img.Infos, count, colors, nullptr, nullptr, 9, table); },
                                       "MakePaletteLow: Invalid Depth");
    ExpectRaises<EPxDIBInvalidDIBPara>([&] { MakePaletteHigh(img.Infos, count, colors, nullptr, nullptr, 9, tree); },
                                       "MakePaletteHigh: Invalid Depth");
}

// 24 greys used 1 to 24 times (with unused magenta entries between them):
// each new colour is the mean of the old ones mapped to it, weighted by use.
TEST(Palette256To16, ColoursAreUseWeightedMeansAndUnusedEntriesMapToZero) {
    TImage img(8, 300, 1);
    for (int i = 0; i < 256; ++i) img.Infos.Colors[i] = {255, 0, 255, 0};
    int x = 0;
    for (int g = 0; g < 24; ++g) {
        img.Infos.Colors[10 * g] = {uint8_t(g * 11), uint8_t(g * 11), uint8_t(g * 11), 0};
        for (int k = 0; k <= g; ++k) img.SetIndex(x++, 0, 10 * g);
    }
    int count = 0, calls = 0;
    RGBQUAD colors[16] = {};
    uint8_t remap[256];
    std::fill(std::begin(remap), std::end(remap), uint8_t{200});
    MakePalette256To16(img.Infos, count, colors, CountCall, &calls, remap);
    EXPECT_EQ(calls, 16);
    EXPECT_EQ(count, 16);
    long double sum[16] = {}, n[16] = {};
    for (int i = 0; i < 300; ++i) {
        const int old = img.Index(i, 0);
        sum[remap[old]] += img.Infos.Colors[old].rgbGreen, n[remap[old]] += 1;
    }
    for (int k = 0; k < count; ++k)
        EXPECT_EQ(colors[k].rgbGreen, uint8_t(std::nearbyint(sum[k] / n[k]))) << k;
    for (int i = 0; i < 256; ++i) EXPECT_TRUE(i % 10 == 0 && i < 240 ? remap[i] < count : remap[i] == 0) << i;
    EXPECT_EQ(remap[230], 0);  // the brightest grey is in the upper part of every split
}

}  // namespace
}  // namespace tam32
