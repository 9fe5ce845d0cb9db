#pragma once
// Checks and set-up shared by the format conversions: every routine refuses a
// source of the wrong kind, a record whose sizes cannot be right, or a pixel
// block shorter than its header claims, before it allocates anything.
#include <cstdint>

#include "image/PxDIBTypes.h"
#include "image/PxMemory.h"

namespace tam32 {

// Width, height (absolute) and the stride of the uncompressed layout, all in
// 64 bits so that no header can make them wrap.
struct TPxConvertGeometry {
    int64_t Width;
    int64_t Height;
    int64_t Stride;
    int64_t BlockSize() const { return Stride * Height; }
};

// Raises EPxDIBBadDIBType "<Routine>: Invalid Bitcount & Compression
// Combination" unless the header has exactly this bit count and compression.
void CheckSourceFormat(const TPxDIBInfos& Source, uint16_t BitCount, uint32_t Compression,
                       const char* Routine);

// Geometry of the image for an uncompressed layout of StrideBitCount bits per
// pixel; refuses a width below 1, a height of 0 and blocks beyond
// kMaxPixelBlockSize (EPxDIBInvalidDIB).
TPxConvertGeometry ConvertGeometry(const TPxDIBInfos& Source, int StrideBitCount,
                                   const char* Routine);

// Refuses (EPxDIBInvalidDIB) an uncompressed source whose block is shorter
// than the Stride x Height bytes its header describes.
void CheckUncompressedSource(const TPxDIBInfos& Source, int64_t Stride, int64_t Height,
                             const char* Routine);

// The source record with its pixel block fields cleared, ready for a block
// of its own; everything else is the source's.
TPxDIBInfos RecordWithoutBlock(const TPxDIBInfos& Source);

// Converts an uncompressed image of SourceBits per pixel into a new
// uncompressed one of DestBits, row by row in storage order (row order and
// the sign of biHeight stay). ConvertRow(Source row, Dest row, Width) fills
// the pixels of one row; the padding of the new rows stays 0.
template <class RowConverter>
void ConvertUncompressed(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping,
                         uint16_t SourceBits, uint16_t DestBits, const char* Routine,
                         RowConverter ConvertRow) {
    CheckSourceFormat(Source, SourceBits, BI_RGB, Routine);
    const TPxConvertGeometry g = ConvertGeometry(Source, DestBits, Routine);
    const int64_t sourceStride = DIBRowSize(SourceBits, g.Width);
    CheckUncompressedSource(Source, sourceStride, g.Height, Routine);

    TPxDIBInfos result = RecordWithoutBlock(Source);
    TPxBitsGuard guard(result, UseFileMapping);
    GetMemory(result, g.BlockSize(), UseFileMapping);
    for (int64_t row = 0; row < g.Height; ++row)
        ConvertRow(Source.Bits + row * sourceStride, result.Bits + row * g.Stride, g.Width);
    result.Header.biBitCount = DestBits;
    result.Header.biCompression = BI_RGB;
    result.Header.biSizeImage = 0;
    guard.Release();
    Dest = result;
}

}  // namespace tam32
