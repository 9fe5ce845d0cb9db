// Optimal palettes of a 24-bit image (Low: over a 5-6-5 histogram; High: over
// all pixels) and of the used colours of an 8-bit image.
#include <algorithm>
#include <memory>

#include "image/PxReduce.h"
#include "image/PxReduceSupport.h"
#include "platform/Rounding.h"

namespace tam32 {
using namespace reduction;
namespace {

constexpr int kCellCount = 65536;

// The palette index of a cell is stored in a byte and the callers' colour
// tables hold 256 entries.
void RequireDepth(int Depth, const char* Routine) {
    if (Depth < 0 || Depth > 8)
        throw EPxDIBInvalidDIBPara(QString::fromLatin1(Routine) + QStringLiteral(": Invalid Depth"));
}

// Pixel count and sums of the bits below the cell's own (64-bit: a large
// image overflows 32-bit sums).
struct TCellSums {
    int64_t Count, Red, Green, Blue;
};

}  // namespace

void MakePaletteLow(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                    void* Data, int Depth, std::vector<uint8_t>& Table) {
    RequireDepth(Depth, "MakePaletteLow");
    RequireFormat(Infos, 24, "MakePaletteLow: Invalid Bitcount");
    RequirePixelBlock(Infos, "MakePaletteLow");
    const int64_t width = Infos.Header.biWidth, rows = ImageRows(Infos), stride = ImageStride(Infos);

    std::vector<TCellSums> cells(kCellCount);
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* p = SourceRow(Infos, stride, r);
        for (int64_t x = 0; x < width; ++x, p += 3) {
            TCellSums& c = cells[Cell565(p[2], p[1], p[0])];
            ++c.Count;
            c.Red += p[2] & 7;
            c.Green += p[1] & 3;
            c.Blue += p[0] & 7;
        }
    }

    // The mean colour of a cell is exact within the cell: its own bits plus
    // the mean of the bits below them.
    std::vector<TPxColorEntry> entries;
    for (int cell = 0; cell < kCellCount; ++cell) {
        const TCellSums& c = cells[cell];
        if (c.Count == 0) continue;
        entries.push_back({static_cast<int32_t>(c.Red / c.Count + (cell >> 11) * 8),
                           static_cast<int32_t>(c.Green / c.Count + ((cell >> 5) & 63) * 4),
                           static_cast<int32_t>(c.Blue / c.Count + (cell & 31) * 8),
                           CheckedCast<int32_t>(c.Count), cell});
    }
    Count = 0;
    SplitColorBox(0, static_cast<int>(entries.size()), 0, Callback, Data, Count, Colors, entries.data(),
                  Depth);
    Table.assign(kCellCount, 0);
    for (const TPxColorEntry& e : entries) Table[e.Index] = static_cast<uint8_t>(e.Weight);
}

void MakePaletteHigh(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                     void* Data, int Depth, TPxDecisionTree& Tree) {
    RequireDepth(Depth, "MakePaletteHigh");
    RequireFormat(Infos, 24, "MakePaletteHigh: Invalid Bitcount");
    RequirePixelBlock(Infos, "MakePaletteHigh");
    const int64_t width = Infos.Header.biWidth, rows = ImageRows(Infos), stride = ImageStride(Infos);

    const auto pixels = std::make_unique_for_overwrite<TPxPixelEntry[]>(width * rows);
    TPxPixelEntry* q = pixels.get();
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* p = SourceRow(Infos, stride, r);
        for (int64_t x = 0; x < width; ++x, p += 3) *q++ = {p[0], p[1], p[2], 0};
    }
    Tree.Nodes.assign((size_t{2} << Depth) - 1, TPxTreeNode{});
    Tree.NextNode = 1;
    Count = 0;
    SplitPixelBox(0, width * rows, 0, Callback, Data, 0, Tree, Count, Colors, pixels.get(), Depth);
}

void MakePalette256To16(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors,
                        TPxProgressCallback Callback, void* Data, uint8_t (&Remap)[256]) {
    RequireFormat(Infos, 8, "MakePalette256To16: Invalid Bitcount or Compression");
    RequirePixelBlock(Infos, "MakePalette256To16");
    const int64_t width = Infos.Header.biWidth, rows = ImageRows(Infos), stride = ImageStride(Infos);

    int64_t uses[256] = {};
    for (int64_t r = 0; r < rows; ++r) {
        const uint8_t* p = SourceRow(Infos, stride, r);
        for (int64_t x = 0; x < width; ++x) ++uses[p[x]];
    }
    std::vector<TPxColorEntry> entries;
    for (int i = 0; i < 256; ++i) {
        if (uses[i] == 0) continue;
        const RGBQUAD& c = Infos.Colors[i];
        entries.push_back({c.rgbRed, c.rgbGreen, c.rgbBlue, CheckedCast<int32_t>(uses[i]), i});
    }
    Count = 0;
    SplitColorBox(0, static_cast<int>(entries.size()), 0, Callback, Data, Count, Colors, entries.data(), 4);
    std::fill(std::begin(Remap), std::end(Remap), uint8_t{0});
    for (const TPxColorEntry& e : entries) Remap[e.Index] = static_cast<uint8_t>(e.Weight);
}

}  // namespace tam32
