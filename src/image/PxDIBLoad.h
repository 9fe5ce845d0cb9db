#pragma once
// Steps shared by the BMP file reader and the packed DIB reader.
#include <cstdint>

#include "image/PxDIBTypes.h"
#include "image/PxMaskedPixels.h"
#include "image/PxMemory.h"

namespace tam32 {

// Refuses a width below 1, a height of 0, and dimensions whose 24-bit
// (or own-depth) pixel block would pass the model's size limit, with
// EPxDIBInvalidDIB "TPxInternalDIB.LoadFromStream: Invalid Width or Height".
void CheckDIBDimensions(const BITMAPINFOHEADER& Header);

inline int64_t AbsHeight(const BITMAPINFOHEADER& Header) {
    return Header.biHeight < 0 ? -static_cast<int64_t>(Header.biHeight) : Header.biHeight;
}

// Bytes an uncompressed image of this header needs.
inline int64_t UncompressedBitsSize(const BITMAPINFOHEADER& Header) {
    return DIBRowSize(Header.biBitCount, Header.biWidth) * AbsHeight(Header);
}

// True for 1, 4, 8 and 24 bits without compression.
inline bool IsUncompressed(const BITMAPINFOHEADER& Header) { return Header.biCompression == BI_RGB; }

// The three masks of a 16- or 32-bit image: the words that followed the
// header when it is compressed (bit fields), else the 5-5-5 or 8-8-8 default.
// Zero masks raise EPxDIBInvalidDIB "TPxInternalDIB.LoadFromStream: Invalid Masks".
void GetChannelMasks(const TPxDIBInfos& Infos, uint32_t& Red, uint32_t& Green, uint32_t& Blue);

// Converts a 16- or 32-bit image into a new 24-bit pixel block, one source
// row at a time: SourceRow(y, SourceRowSize) returns row y in file order.
// Afterwards the header describes the 24-bit result and, with bit fields,
// the colour entries that followed the masks move down.
template <typename RowSource>
void ConvertMaskedImage(TPxDIBInfos& Infos, bool UseFileMapping, RowSource SourceRow);

// Bytes the source rows of a 16- or 32-bit image take.
int64_t MaskedSourceSize(const BITMAPINFOHEADER& Header);

void FinishMaskedConversion(TPxDIBInfos& Infos);

template <typename RowSource>
void ConvertMaskedImage(TPxDIBInfos& Infos, bool UseFileMapping, RowSource SourceRow) {
    uint32_t red, green, blue;
    GetChannelMasks(Infos, red, green, blue);
    const TPxMaskedPixels pixels(Infos.Header.biBitCount, red, green, blue);
    const int width = Infos.Header.biWidth;
    const int64_t height = AbsHeight(Infos.Header);
    const int64_t sourceRow = TPxMaskedPixels::SourceRowSize(Infos.Header.biBitCount, width);
    const int64_t destRow = DIBRowSize(24, width);
    GetMemory(Infos, destRow * height, UseFileMapping);
    for (int64_t y = 0; y < height; ++y) pixels.ConvertRow(SourceRow(y, sourceRow), Infos.Bits + y * destRow, width);
    FinishMaskedConversion(Infos);
}

}  // namespace tam32
