#include "image/PxReduceSupport.h"

#include <cstring>

#include "image/PxConvertSupport.h"
#include "image/PxMemory.h"

namespace tam32::reduction {

const RGBQUAD kBlackWhiteColors[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};

void RequireFormat(const TPxDIBInfos& Infos, int BitCount, const char* Message) {
    if (Infos.Header.biBitCount != BitCount || Infos.Header.biCompression != BI_RGB)
        throw EPxDIBBadDIBType(QString::fromLatin1(Message));
}

void RequirePixelBlock(const TPxDIBInfos& Infos, const char* Routine) {
    const TPxConvertGeometry g = ConvertGeometry(Infos, Infos.Header.biBitCount, Routine);
    CheckUncompressedSource(Infos, g.Stride, g.Height, Routine);
}

TPxDIBInfos NewImageLike(const TPxDIBInfos& Source, int BitCount, int ColorCount,
                         const RGBQUAD* Colors, bool UseFileMapping) {
    TPxDIBInfos infos;
    infos.Header = Source.Header;
    infos.Header.biBitCount = static_cast<uint16_t>(BitCount);
    infos.Header.biCompression = BI_RGB;
    infos.Header.biSizeImage = 0;
    infos.Header.biClrUsed = static_cast<uint32_t>(ColorCount);
    infos.Header.biClrImportant = 0;
    std::memcpy(infos.Colors, Colors, sizeof(RGBQUAD) * ColorCount);
    GetMemory(infos, DIBRowSize(BitCount, Source.Header.biWidth) * ImageRows(Source), UseFileMapping);
    return infos;
}

void StoreIndexRow(const uint8_t* Indices, int64_t Width, int BitCount, uint8_t* Dest) {
    if (BitCount == 8) {
        std::memcpy(Dest, Indices, Width);
        return;
    }
    int64_t x = 0;
    for (; x + 1 < Width; x += 2) *Dest++ = static_cast<uint8_t>(Indices[x] << 4 | Indices[x + 1]);
    if (x < Width) *Dest = static_cast<uint8_t>(Indices[x] << 4);
}

}  // namespace tam32::reduction
