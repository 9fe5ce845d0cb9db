#include "image/PxInternalDIB.h"

#include <cstring>

#include "image/PxMemory.h"

namespace tam32 {

int GetNumColors(int BitCount) {
    switch (BitCount) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}


TPxInternalDIB::TPxInternalDIB(bool AUseFileMapping) : UseFileMapping(AUseFileMapping) {
    CreateDIB(1, 1, 256, 8);
}

TPxInternalDIB::~TPxInternalDIB() { FreeDIB(); }

void TPxInternalDIB::CreateDIB(int AWidth, int AHeight, int ColorCount, int BitCount) {
    if (AWidth <= 0 || AHeight == 0 || ColorCount < 0 || ColorCount > 256 ||
        (BitCount != 1 && BitCount != 4 && BitCount != 8 && BitCount != 24))
        throw EPxDIBInvalidDIBPara(QStringLiteral("TPxInternalDIB.CreateDIB: Invalid Parameters"));
    const int64_t absHeight = AHeight < 0 ? -static_cast<int64_t>(AHeight) : AHeight;
    const int64_t size = DIBRowSize(BitCount, AWidth) * absHeight;
    if (size > kMaxPixelBlockSize)
        throw EPxDIBInvalidDIBPara(QStringLiteral("TPxInternalDIB.CreateDIB: Invalid Parameters"));
    TPxDIBInfos infos;
    GetMemory(infos, size, UseFileMapping);
    infos.Header.biSize = sizeof(BITMAPINFOHEADER);
    infos.Header.biWidth = AWidth;
    infos.Header.biHeight = AHeight;
    infos.Header.biPlanes = 1;
    infos.Header.biBitCount = static_cast<uint16_t>(BitCount);
    infos.Header.biCompression = BI_RGB;
    infos.Header.biSizeImage = 0;
    infos.Header.biXPelsPerMeter = 3780;
    infos.Header.biYPelsPerMeter = 3780;
    infos.Header.biClrUsed = static_cast<uint32_t>(ColorCount);
    infos.Header.biClrImportant = 0;
    Infos = infos;
    PaletteHandle = nullptr;
    Width = AWidth;
    Height = static_cast<int32_t>(absHeight);
    PaletteChangedFlag = true;
}

void TPxInternalDIB::FreeDIB() {
    FreeMemory(Infos.MappingHandle, Infos.Bits, UseFileMapping);
    Infos.BitsSize = 0;
    Infos.MappingHandle = 0;
    Infos.Bits = nullptr;
    PaletteHandle = nullptr;
}

void TPxInternalDIB::Install(const TPxDIBInfos& NewInfos) {
    FreeDIB();
    Infos = NewInfos;
    Width = Infos.Header.biWidth;
    Height = Infos.Header.biHeight < 0 ? -Infos.Header.biHeight : Infos.Header.biHeight;
    PaletteChanged();
}

HPALETTE TPxInternalDIB::GetPalette() const { return GetPaletteFromDIBInfos(Infos); }

void TPxInternalDIB::PaletteChanged() {
    PaletteHandle = nullptr;
    PaletteChangedFlag = true;
}

TPxPixelFormat TPxInternalDIB::GetPixelFormat() const {
    const uint32_t compression = Infos.Header.biCompression;
    switch (Infos.Header.biBitCount) {
    case 1:
        if (compression == BI_RGB) return pxPf1Bit;
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.GetPixelFormat: Invalid DIB(1Bit)"));
    case 4:
        if (compression == BI_RGB) return pxPf4Bit;
        if (compression == BI_RLE4) return pxPf4BitRLE;
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.GetPixelFormat: Invalid DIB(4Bit)"));
    case 8:
        if (compression == BI_RGB) return pxPf8Bit;
        if (compression == BI_RLE8) return pxPf8BitRLE;
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.GetPixelFormat: Invalid DIB(8Bit)"));
    case 24:
        if (compression == BI_RGB) return pxPf24Bit;
        throw EPxDIBInvalidDIB(QStringLiteral("TPxInternalDIB.GetPixelFormat: Invalid DIB(24Bit)"));
    default:
        throw EPxDIBInvalidDIB(
            QStringLiteral("TPxInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)"));
    }
}

HPALETTE GetPaletteFromDIBInfos(const TPxDIBInfos& Infos) {
    const uint32_t n = Infos.Header.biClrUsed;
    if (n == 0) return nullptr;
    std::vector<TPaletteEntry> entries(std::min<uint32_t>(n, 256));
    for (size_t i = 0; i < entries.size(); ++i)
        entries[i] = {Infos.Colors[i].rgbRed, Infos.Colors[i].rgbGreen, Infos.Colors[i].rgbBlue, 0};
    HPALETTE palette = CreatePalette(std::move(entries));
    if (!palette) throw EOutOfResources(QStringLiteral("GetPaletteFromDIBInfos: Cannot Make Palette"));
    return palette;
}

}  // namespace tam32
