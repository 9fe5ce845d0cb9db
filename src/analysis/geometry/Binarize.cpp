#include "analysis/geometry/Binarize.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/PictureRows.h"
#include "analysis/core/RowBlocks.h"
#include "analysis/geometry/TargetPixels.h"

namespace tam32 {
namespace {

constexpr int kReach = 2;  // half the side of the 5 x 5 block

// Columns per block of the column pass: a cache line of each row.
constexpr int kColumnsPerBlock = 64;

// Out[i] = 1 when every In[j] with |i - j| <= kReach within 0..Count-1 is 1;
// Stride steps between the elements of one line.
void ShrinkLine(const uint8_t* In, uint8_t* Out, int Count, std::size_t Stride) {
    int Misses = 0;  // background elements within the window
    for (int I = 0; I < std::min(kReach, Count); ++I) Misses += In[I * Stride] == 0;
    for (int I = 0; I < Count; ++I) {
        if (I + kReach < Count) Misses += In[(I + kReach) * Stride] == 0;
        if (I - kReach - 1 >= 0) Misses -= In[(I - kReach - 1) * Stride] == 0;
        Out[I * Stride] = Misses == 0;
    }
}

}  // namespace

bool BinarizeAnalysisImage() {
    const int W = AnalysisImage->Width(), H = AnalysisImage->Height();
    if (PrepareClassification(false, {0, 0, W - 1, H - 1})) return true;
    // The square block is the product of a horizontal and a vertical window.
    const std::size_t Plane = std::size_t(W) * H;
    std::vector<uint8_t> Rows(Plane), Mask(Plane);
    const TPictureRows Picture;
    TBlockSlots<std::vector<uint8_t>> Targets;
    ForEachRowBlock(0, H - 1, [&](const TRowBlock& Block) {
        std::vector<uint8_t>& Target = Targets[Block.Slot];
        Target.resize(std::size_t(W));
        int32_t Threshold = FixedThreshold;
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            const uint8_t* Row = Picture.Row(Y);
            for (int X = 0; X < W; ++X) Target[X] = IsTargetBytesAt(false, Row + std::size_t(X) * 3, 0.0, Threshold);
            ShrinkLine(Target.data(), &Rows[std::size_t(Y) * W], W, 1);
        }
    });
    ForEachBlockOf(kColumnsPerBlock, 0, W - 1, [&](const TRowBlock& Block) {
        for (int X = Block.First; X <= Block.Last; ++X) ShrinkLine(&Rows[X], &Mask[X], H, std::size_t(W));
    });
    const std::vector<uint8_t*> Pixels = WritableAnalysisRows({0, 0, W - 1, H - 1});
    ForEachRowBlock(0, H - 1, [&](const TRowBlock& Block) {
        for (int Y = Block.First; Y <= Block.Last; ++Y) {
            uint8_t* Row = Pixels[std::size_t(Y)];
            const uint8_t* M = &Mask[std::size_t(Y) * W];
            for (int X = 0; X < W; ++X) std::memset(Row + std::size_t(X) * 3, M[X] ? 255 : 0, 3);
        }
    });
    ThresholdCondition = 2;
    ThresholdMethod = 2;
    FixedThreshold = 255;
    BinarizeTarget = 0;
    return false;
}

}  // namespace tam32
