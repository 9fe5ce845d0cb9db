#include "image/PxDIBLoad.h"

#include <algorithm>
#include <cstring>

#include "image/PxRecordBytes.h"

namespace tam32 {

void CheckDIBDimensions(const BITMAPINFOHEADER& Header) {
    // 16- and 32-bit images are stored with 24 bits.
    const int storedBits = (Header.biBitCount == 16 || Header.biBitCount == 32) ? 24
                                                                                : std::max<int>(Header.biBitCount, 1);
    // Compared by division: the product of a lying header passes 2^63.
    const bool bad = Header.biWidth < 1 || Header.biHeight == 0 ||
                     AbsHeight(Header) > kMaxPixelBlockSize / DIBRowSize(storedBits, Header.biWidth);
    if (bad) throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid Width or Height"));
}

void GetChannelMasks(const TPxDIBInfos& Infos, uint32_t& Red, uint32_t& Green, uint32_t& Blue) {
    if (Infos.Header.biCompression != BI_RGB) {
        uint32_t masks[3];
        std::memcpy(masks, ColorBytes(Infos), sizeof masks);
        Red = masks[0];
        Green = masks[1];
        Blue = masks[2];
    } else if (Infos.Header.biBitCount == 16) {
        Red = 0x7C00;
        Green = 0x03E0;
        Blue = 0x001F;
    } else {
        Red = 0xFF0000;
        Green = 0x00FF00;
        Blue = 0x0000FF;
    }
    if (Red == 0 || Green == 0 || Blue == 0)
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid Masks"));
}

int64_t MaskedSourceSize(const BITMAPINFOHEADER& Header) {
    return TPxMaskedPixels::SourceRowSize(Header.biBitCount, Header.biWidth) * AbsHeight(Header);
}

void FinishMaskedConversion(TPxDIBInfos& Infos) {
    if (Infos.Header.biCompression == BI_BITFIELDS) {
        uint8_t* table = ColorBytes(Infos);
        std::memmove(table, table + 12, std::min<uint32_t>(Infos.Header.biClrUsed, 256) * 4);
    }
    Infos.Header.biCompression = BI_RGB;
    Infos.Header.biBitCount = 24;
    Infos.Header.biSizeImage = 0;
}

}  // namespace tam32
