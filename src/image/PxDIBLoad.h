#pragma once
// Steps shared by the BMP file reader and the packed DIB reader.
#include <cstdint>

#include "image/PxDIBTypes.h"

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

// After a 16/32-bit conversion: the header describes the 24-bit result and,
// with bit fields, the colour entries that followed the masks move down.
void FinishMaskedConversion(TPxDIBInfos& Infos);

}  // namespace tam32
