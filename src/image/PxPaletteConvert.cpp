// Reduction of an image to 8 or 4 bits with an optimal palette of its own.
#include <algorithm>
#include <cmath>

#include "image/PxMemory.h"
#include "image/PxReduce.h"
#include "image/PxReduceSupport.h"

namespace tam32 {
using namespace reduction;
namespace {

// Builds the reduced image row by row from a function giving the palette
// indices of one source row.
template <typename TMapRow>
void WriteReduced(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping, int BitCount,
                  int ColorCount, const RGBQUAD* Colors, TMapRow MapRow) {
    TPxDIBInfos dest = NewImageLike(Source, BitCount, ColorCount, Colors, UseFileMapping);
    TPxBitsGuard guard(dest, UseFileMapping);
    const int64_t width = Source.Header.biWidth, rows = ImageRows(Source);
    const int64_t srcStride = ImageStride(Source), dstStride = ImageStride(dest);
    std::vector<uint8_t> indices(width);
    for (int64_t r = 0; r < rows; ++r) {
        MapRow(SourceRow(Source, srcStride, r), indices.data());
        StoreIndexRow(indices.data(), width, BitCount, dest.Bits + r * dstStride);
    }
    Dest = dest;
    guard.Release();
}

void ReduceLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
               TPxProgressCallback Callback, void* Data, int BitCount, const char* Routine,
               const char* Message) {
    RequireFormat(Source, 24, Message);
    RequirePixelBlock(Source, Routine);
    int count = 0;
    RGBQUAD colors[256] = {};
    std::vector<uint8_t> table;
    MakePaletteLow(Source, count, colors, Callback, Data, BitCount, table);
    const int64_t width = Source.Header.biWidth;
    WriteReduced(Source, Dest, UseFileMapping, BitCount, count, colors,
                 [&](const uint8_t* p, uint8_t* indices) {
                     for (int64_t x = 0; x < width; ++x, p += 3)
                         indices[x] = table[Cell565(p[2], p[1], p[0])];
                 });
}

// The decision tree laid out as a complete binary tree of Depth levels
// (children of position k at 2k + 1 for values <= the threshold and 2k + 2
// above it), so a walk computes where it goes next instead of loading it. A
// leaf above the last level passes every pixel down to copies of itself.
// Thresholds are the floor of the split's mean: for whole-number values the
// same test as the partition's.
class TTreeWalk {
public:
    TTreeWalk(const TPxDecisionTree& Tree, int Depth)
        : FDepth(Depth), FTests((size_t{1} << Depth) - 1), FIndex(size_t{1} << Depth) {
        Place(Tree, 0, 0, 0);
    }

    // Palette indices of a row of 24-bit pixels. Eight walks run side by side
    // so that their dependent loads overlap.
    void MapRow(const uint8_t* P, int64_t Width, uint8_t* Indices) const {
        const TTest* tests = FTests.data();
        const uint8_t* index = FIndex.data();
        const size_t first = FTests.size();  // position of the first leaf
        int64_t x = 0;
        for (; x + 8 <= Width; x += 8, P += 24) {
            size_t n0 = 0, n1 = 0, n2 = 0, n3 = 0, n4 = 0, n5 = 0, n6 = 0, n7 = 0;
            for (int d = 0; d < FDepth; ++d) {
                n0 = Step(tests, n0, P);
                n1 = Step(tests, n1, P + 3);
                n2 = Step(tests, n2, P + 6);
                n3 = Step(tests, n3, P + 9);
                n4 = Step(tests, n4, P + 12);
                n5 = Step(tests, n5, P + 15);
                n6 = Step(tests, n6, P + 18);
                n7 = Step(tests, n7, P + 21);
            }
            Indices[x] = index[n0 - first];
            Indices[x + 1] = index[n1 - first];
            Indices[x + 2] = index[n2 - first];
            Indices[x + 3] = index[n3 - first];
            Indices[x + 4] = index[n4 - first];
            Indices[x + 5] = index[n5 - first];
            Indices[x + 6] = index[n6 - first];
            Indices[x + 7] = index[n7 - first];
        }
        for (; x < Width; ++x, P += 3) {
            size_t n = 0;
            for (int d = 0; d < FDepth; ++d) n = Step(tests, n, P);
            Indices[x] = index[n - first];
        }
    }

private:
    struct TTest {
        uint32_t Byte;  // of the pixel: 0 blue, 1 green, 2 red
        int32_t Threshold;
    };

    void Place(const TPxDecisionTree& Tree, int Node, size_t Position, int Level) {
        const TPxTreeNode& t = Tree.Nodes[Node];
        if (Level == FDepth) {
            FIndex[Position - FTests.size()] = static_cast<uint8_t>(t.PaletteIndex);
            return;
        }
        if (t.Channel < 3) {
            FTests[Position] = {static_cast<uint32_t>(2 - t.Channel),
                                static_cast<int32_t>(std::clamp(std::floor(t.Threshold), -1.0L, 255.0L))};
            Place(Tree, t.Lower, 2 * Position + 1, Level + 1);
            Place(Tree, t.Upper, 2 * Position + 2, Level + 1);
        } else {
            FTests[Position] = {0, 255};
            Place(Tree, Node, 2 * Position + 1, Level + 1);
            Place(Tree, Node, 2 * Position + 2, Level + 1);
        }
    }

    static size_t Step(const TTest* Tests, size_t N, const uint8_t* Pixel) {
        const TTest& t = Tests[N];
        return 2 * N + 1 + (Pixel[t.Byte] > t.Threshold);
    }

    int FDepth;
    std::vector<TTest> FTests;   // 2^Depth - 1 inner positions
    std::vector<uint8_t> FIndex;  // palette index of each of the 2^Depth last positions
};

void ReduceHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                TPxProgressCallback Callback, void* Data, int BitCount, const char* Routine,
                const char* Message) {
    RequireFormat(Source, 24, Message);
    RequirePixelBlock(Source, Routine);
    int count = 0;
    RGBQUAD colors[256] = {};
    TPxDecisionTree tree;
    MakePaletteHigh(Source, count, colors, Callback, Data, BitCount, tree);
    const TTreeWalk walk(tree, BitCount);
    const int64_t width = Source.Header.biWidth;
    WriteReduced(Source, Dest, UseFileMapping, BitCount, count, colors,
                 [&](const uint8_t* p, uint8_t* indices) { walk.MapRow(p, width, indices); });
}

}  // namespace

void ConvertTrueColorTo8BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data) {
    ReduceLow(Source, Dest, UseFileMapping, Callback, Data, 8, "ConvertTrueColorTo8BitRGBLow",
              "ConvertTrueColorTo8BitRGBLow: Invalid Bitcount");
}

void ConvertTrueColorTo4BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data) {
    ReduceLow(Source, Dest, UseFileMapping, Callback, Data, 4, "ConvertTrueColorTo4BitRGBLow",
              "ConvertTrueColorTo4BitRGBLow: Invalid Bitcount");
}

void ConvertTrueColorTo8BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data) {
    ReduceHigh(Source, Dest, UseFileMapping, Callback, Data, 8, "ConvertTrueColorTo8BitRGBHigh",
               "ConvertTrueColorTo8BitRGBHigh: Invalid Bitcount");
}

void ConvertTrueColorTo4BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data) {
    ReduceHigh(Source, Dest, UseFileMapping, Callback, Data, 4, "ConvertTrueColorTo4BitRGBHigh",
               "ConvertTrueColorTo4BitRGBHigh: Invalid Bitcount");
}

void Convert8BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TPxProgressCallback Callback, void* Data) {
    RequireFormat(Source, 8, "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
    RequirePixelBlock(Source, "Convert8BitRGBTo4BitRGB");
    int count = 0;
    RGBQUAD colors[16] = {};
    uint8_t remap[256];
    MakePalette256To16(Source, count, colors, Callback, Data, remap);
    const int64_t width = Source.Header.biWidth;
    WriteReduced(Source, Dest, UseFileMapping, 4, count, colors, [&](const uint8_t* p, uint8_t* indices) {
        for (int64_t x = 0; x < width; ++x) indices[x] = remap[p[x]];
    });
}

}  // namespace tam32
