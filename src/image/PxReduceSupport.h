#pragma once
// Shared steps of the colour reductions and ditherings: checking that a
// source really holds the pixels its header promises, and starting the record
// of the image they produce.
#include <cstdint>

#include "image/PxDIBTypes.h"

namespace tam32::reduction {

// |biHeight|, without overflow for any header.
inline int64_t ImageRows(const TPxDIBInfos& Infos) {
    const int64_t h = Infos.Header.biHeight;
    return h < 0 ? -h : h;
}

inline int64_t ImageStride(const TPxDIBInfos& Infos) {
    return DIBRowSize(Infos.Header.biBitCount, Infos.Header.biWidth);
}

// Stored row r (pixel-block order, whatever the row direction).
inline const uint8_t* SourceRow(const TPxDIBInfos& Infos, int64_t Stride, int64_t r) {
    return Infos.Bits + r * Stride;
}

// The 5-6-5 cell of a colour: the top 5 bits of red, 6 of green, 5 of blue.
inline int Cell565(uint8_t Red, uint8_t Green, uint8_t Blue) {
    return (Red >> 3) << 11 | (Green >> 2) << 5 | Blue >> 3;
}

// Refuses (EPxDIBBadDIBType Message) a source that is not an uncompressed
// image of BitCount bits.
void RequireFormat(const TPxDIBInfos& Infos, int BitCount, const char* Message);

// Refuses (EPxDIBInvalidDIB, message led by Routine) a header without pixels
// or a pixel block shorter than one padded row per image row, so no routine
// reads beyond the block.
void RequirePixelBlock(const TPxDIBInfos& Infos, const char* Routine);

// The record of an uncompressed image of the source's size, row order and
// resolution with BitCount bits and ColorCount entries of Colors, with a
// zero-filled pixel block. The caller guards the block until it hands it on.
TPxDIBInfos NewImageLike(const TPxDIBInfos& Source, int BitCount, int ColorCount,
                         const RGBQUAD* Colors, bool UseFileMapping);

// The two colours of every 1-bit result: black (0) and white (1).
extern const RGBQUAD kBlackWhiteColors[2];

// Stores one row of palette indices as 8-bit or 4-bit (left pixel in the high nibble) pixels.
void StoreIndexRow(const uint8_t* Indices, int64_t Width, int BitCount, uint8_t* Dest);

}  // namespace tam32::reduction
