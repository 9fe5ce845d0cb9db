// Conversion to 1 bit by exact colour match: the pixels of one colour become
// white, all others black.
#include "image/PxMemory.h"
#include "image/PxReduce.h"
#include "image/PxReduceSupport.h"

namespace tam32 {
using namespace reduction;
namespace {

// Builds the 1-bit image row by row from a function that marks (1) the
// matching pixels of one source row.
template <typename TMatchRow>
void WriteMatches(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping, TMatchRow MatchRow) {
    TPxDIBInfos dest = NewImageLike(Source, 1, 2, kBlackWhiteColors, UseFileMapping);
    TPxBitsGuard guard(dest, UseFileMapping);
    const int64_t width = Source.Header.biWidth, rows = ImageRows(Source);
    const int64_t srcStride = ImageStride(Source), dstStride = ImageStride(dest);
    std::vector<uint8_t> marks(width);
    for (int64_t r = 0; r < rows; ++r) {
        MatchRow(SourceRow(Source, srcStride, r), marks.data());
        uint8_t* out = dest.Bits + r * dstStride;
        for (int64_t x = 0; x < width; ++x) out[x >> 3] |= static_cast<uint8_t>(marks[x] << (7 - (x & 7)));
    }
    Dest = dest;
    guard.Release();
}

bool SameColor(const RGBQUAD& Entry, TColor Color) {
    return Entry.rgbRed == GetRValue(Color) && Entry.rgbGreen == GetGValue(Color) &&
           Entry.rgbBlue == GetBValue(Color);
}

}  // namespace

void ConvertTrueColorTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                               TColor MonoColor) {
    RequireFormat(Source, 24, "ConvertTrueColorTo1BitRGB: Invalid Bitcount");
    RequirePixelBlock(Source, "ConvertTrueColorTo1BitRGB");
    const uint8_t red = GetRValue(MonoColor), green = GetGValue(MonoColor), blue = GetBValue(MonoColor);
    const int64_t width = Source.Header.biWidth;
    WriteMatches(Source, Dest, UseFileMapping, [&](const uint8_t* p, uint8_t* marks) {
        for (int64_t x = 0; x < width; ++x, p += 3) marks[x] = p[0] == blue && p[1] == green && p[2] == red;
    });
}

void Convert8BitTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                          TColor MonoColor) {
    RequireFormat(Source, 8, "Convert8BitTo1BitRGB: Invalid Bitcount or Compression");
    RequirePixelBlock(Source, "Convert8BitTo1BitRGB");
    uint8_t match[256];
    for (int i = 0; i < 256; ++i) match[i] = SameColor(Source.Colors[i], MonoColor);
    const int64_t width = Source.Header.biWidth;
    WriteMatches(Source, Dest, UseFileMapping, [&](const uint8_t* p, uint8_t* marks) {
        for (int64_t x = 0; x < width; ++x) marks[x] = match[p[x]];
    });
}

void Convert4BitRGBTo1BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                             TColor MonoColor) {
    // A compressed block holds no pixels to match: refused like another bit count.
    RequireFormat(Source, 4, "Convert4BitRGBTo1BitRGB: Invalid Bitcount");
    RequirePixelBlock(Source, "Convert4BitRGBTo1BitRGB");
    uint8_t match[16];
    for (int i = 0; i < 16; ++i) match[i] = SameColor(Source.Colors[i], MonoColor);
    const int64_t width = Source.Header.biWidth;
    WriteMatches(Source, Dest, UseFileMapping, [&](const uint8_t* p, uint8_t* marks) {
        for (int64_t x = 0; x < width; ++x) marks[x] = match[(p[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
    });
}

}  // namespace tam32
