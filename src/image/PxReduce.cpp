#include "image/PxReduce.h"

namespace tam32 {

void SplitColorBox(int Lo, int Hi, int Level, TPxProgressCallback Callback, void* Data, int& Count,
                   RGBQUAD* Colors, TPxColorEntry* Entries, int Depth) { throw EPxDIBError(QStringLiteral("SplitColorBox: not built yet")); }

void SplitPixelBox(int64_t Lo, int64_t Hi, int Level, TPxProgressCallback Callback, void* Data,
                   int Node, TPxDecisionTree& Tree, int& Count, RGBQUAD* Colors, TPxPixelEntry* Pixels,
                   int Depth) { throw EPxDIBError(QStringLiteral("SplitPixelBox: not built yet")); }

void MakePaletteLow(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                    void* Data, int Depth, std::vector<uint8_t>& Table) { throw EPxDIBError(QStringLiteral("MakePaletteLow: not built yet")); }

void MakePaletteHigh(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors, TPxProgressCallback Callback,
                     void* Data, int Depth, TPxDecisionTree& Tree) { throw EPxDIBError(QStringLiteral("MakePaletteHigh: not built yet")); }

void MakePalette256To16(const TPxDIBInfos& Infos, int& Count, RGBQUAD* Colors,
                        TPxProgressCallback Callback, void* Data, uint8_t (&Remap)[256]) { throw EPxDIBError(QStringLiteral("MakePalette256To16: not built yet")); }

void ConvertTrueColorTo8BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data) { throw EPxDIBError(QStringLiteral("ConvertTrueColorTo8BitRGBLow: not built yet")); }

void ConvertTrueColorTo4BitRGBLow(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                  TPxProgressCallback Callback, void* Data) { throw EPxDIBError(QStringLiteral("ConvertTrueColorTo4BitRGBLow: not built yet")); }

void ConvertTrueColorTo8BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data) { throw EPxDIBError(QStringLiteral("ConvertTrueColorTo8BitRGBHigh: not built yet")); }

void ConvertTrueColorTo4BitRGBHigh(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                                   TPxProgressCallback Callback, void* Data) { throw EPxDIBError(QStringLiteral("ConvertTrueColorTo4BitRGBHigh: not built yet")); }

void Convert8BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TPxProgressCallback Callback, void* Data) { throw EPxDIBError(QStringLiteral("Convert8BitRGBTo4BitRGB: not built yet")); }

void ConvertTrueColorTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                               TColor MonoColor) { throw EPxDIBError(QStringLiteral("ConvertTrueColorTo1BitRGB: not built yet")); }

void Convert8BitTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                          TColor MonoColor) { throw EPxDIBError(QStringLiteral("Convert8BitTo1BitRGB: not built yet")); }

void Convert4BitRGBTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TColor MonoColor) { throw EPxDIBError(QStringLiteral("Convert4BitRGBTo1BitRGB: not built yet")); }

void DitherToFixed8Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("DitherToFixed8Bit: not built yet")); }

void DitherTo1Bit(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) { throw EPxDIBError(QStringLiteral("DitherTo1Bit: not built yet")); }

}  // namespace tam32
