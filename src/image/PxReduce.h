#pragma once
// Colour reduction and dithering: optimal palettes by recursive splitting of
// the colour distribution, exact-colour conversion to 1 bit, and serpentine
// error diffusion to the fixed 215-colour palette or to black and white.
#include <cstdint>
#include <vector>

#include "image/PxDIBTypes.h"

namespace tam32 {

// One colour entry of the Low and 256->16 methods. Weight is the number of
// pixels it stands for until the split replaces it by the palette index.
struct TPxColorEntry {
    int32_t Red, Green, Blue, Weight, Index;
};

// One pixel of the High method, padded to a 32-bit word so that the split
// moves each pixel with one load and one store.
struct TPxPixelEntry {
    uint8_t Blue, Green, Red, Reserved;
};

// A node of the High method's decision tree.
struct TPxTreeNode {
    uint8_t Channel = 3;  // 0 red, 1 green, 2 blue, 3 leaf
    long double Threshold = 0;
    int32_t PaletteIndex = 0;
    int32_t Lower = 0;
    int32_t Upper = 0;
};

struct TPxDecisionTree {
    std::vector<TPxTreeNode> Nodes;  // 2^(depth+1) - 1 entries, every one a leaf of index 0 at the start
    int32_t NextNode = 1;
};

// Both splits append the leaf colours at Colors[Count], which must have room
// for 2^(Depth - Level) more entries, and call Callback (if any) once per leaf
// of the full binary split, 2^(Depth - Level) times in all.
void SplitColorBox(int Lo, int Hi, int Level, TPxProgressCallback Callback, void* Data, int& Count,
                   RGBQUAD* Colors, TPxColorEntry* Entries, int Depth);
void SplitPixelBox(int64_t Lo, int64_t Hi, int Level, TPxProgressCallback Callback, void* Data,
                   int Node, TPxDecisionTree& Tree, int& Count, RGBQUAD* Colors, TPxPixelEntry* Pixels,
                   int Depth);

// Palette builders: Count becomes the number of colours made (at most
// 2^Depth, Depth 0..8). Low also fills Table (65,536 cells, 5-6-5) with each
// cell's palette index; High fills Tree, whose walk gives each pixel's index.
void MakePaletteLow(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                    void* Data, int Depth, std::vector<uint8_t>& Table);
void MakePaletteHigh(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                     void* Data, int Depth, TPxDecisionTree& Tree);
void MakePalette256To16(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors,
                        TPxProgressCallback Callback, void* Data, uint8_t (&Remap)[256]);

// The converters build the new image aside and hand it over in Dest only
// when complete; the source is never changed.
void ConvertTrueColorTo8BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data);
void ConvertTrueColorTo4BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data);
void ConvertTrueColorTo8BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data);
void ConvertTrueColorTo4BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data);
void Convert8BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TPxProgressCallback Callback, void* Data);

// MonoColor is a plain RGB colour ($00BBGGRR); pixels of that colour become 1 (white).
void ConvertTrueColorTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                               TColor MonoColor);
void Convert8BitTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                          TColor MonoColor);
void Convert4BitRGBTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TColor MonoColor);

void DitherToFixed8Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);
void DitherTo1Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping);

}  // namespace tam32
