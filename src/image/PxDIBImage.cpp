#include "image/PxDIBImage.h"

#include <cstring>

#include "image/PxConvert.h"
#include "image/PxMemory.h"
#include "platform/PictureImage.h"

namespace tam32 {
namespace {

QImage UncompressedToQImage(const TPxDIBInfos& Infos) {
    const BITMAPINFOHEADER& h = Infos.Header;
    const int width = h.biWidth;
    const int height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
    const int64_t stride = DIBRowSize(h.biBitCount, width);
    auto sourceRow = [&](int y) {
        return Infos.Bits + stride * (h.biHeight > 0 ? height - 1 - y : y);
    };
    QImage image;
    switch (h.biBitCount) {
    case 24:
        image = NewPictureImage(width, height, QImage::Format_BGR888);
        for (int y = 0; y < height; ++y) std::memcpy(image.scanLine(y), sourceRow(y), size_t(width) * 3);
        break;
    case 8:
        image = NewPictureImage(width, height, QImage::Format_Indexed8);
        image.setColorTable(PxDIBColorTable(Infos, 256));
        for (int y = 0; y < height; ++y) std::memcpy(image.scanLine(y), sourceRow(y), size_t(width));
        break;
    case 4:
        image = NewPictureImage(width, height, QImage::Format_Indexed8);
        image.setColorTable(PxDIBColorTable(Infos, 256));
        for (int y = 0; y < height; ++y) UnpackNibbleRow(sourceRow(y), image.scanLine(y), width);
        break;
    case 1:
        image = NewPictureImage(width, height, QImage::Format_Mono);
        image.setColorTable(PxDIBColorTable(Infos, 2));
        for (int y = 0; y < height; ++y) std::memcpy(image.scanLine(y), sourceRow(y), size_t(width + 7) / 8);
        break;
    default:
        throw EPxDIBBadDIBType(QStringLiteral("PxDIBToQImage: Bad DIB Type"));
    }
    return image;
}

}  // namespace

void UnpackNibbleRow(const uint8_t* In, uchar* Out, int Width) {
    for (int x = 0; x < Width; ++x) Out[x] = x % 2 == 0 ? In[x / 2] >> 4 : In[x / 2] & 0x0F;
}

void PackNibbleRow(const uchar* In, uint8_t* Out, int Width) {
    for (int x = 0; x < Width; x += 2)
        Out[x / 2] = uint8_t((In[x] & 0x0F) << 4 | (x + 1 < Width ? In[x + 1] & 0x0F : Out[x / 2] & 0x0F));
}

QList<QRgb> PxDIBColorTable(const TPxDIBInfos& Infos, int Count) {
    QList<QRgb> table(Count);
    for (int i = 0; i < Count; ++i)
        table[i] = qRgb(Infos.Colors[i].rgbRed, Infos.Colors[i].rgbGreen, Infos.Colors[i].rgbBlue);
    return table;
}

void PxDIBFromQImage(const QImage& Image, int BitCount, TPxDIBInfos& Infos, bool UseFileMapping) {
    QImage source;
    switch (BitCount) {
    case 1: source = ConvertedPictureImage(Image, QImage::Format_Mono); break;
    case 4:
    case 8: source = ConvertedPictureImage(Image, QImage::Format_Indexed8); break;
    default: source = ConvertedPictureImage(Image, QImage::Format_BGR888); BitCount = 24; break;
    }
    const int width = source.width();
    const int height = source.height();
    if (width < 1 || height < 1 || DIBRowSize(BitCount, width) * height > kMaxPixelBlockSize)
        throw EPxDIBInvalidDIBPara(QStringLiteral("TPxInternalDIB.CreateDIB: Invalid Parameters"));
    const int64_t stride = DIBRowSize(BitCount, width);
    GetMemory(Infos, stride * height, UseFileMapping);
    BITMAPINFOHEADER& h = Infos.Header;
    h = BITMAPINFOHEADER{40, width, height, 1, static_cast<uint16_t>(BitCount), BI_RGB, 0, 3780, 3780, 0, 0};
    const QList<QRgb> table = source.colorTable();
    const int colors = BitCount == 24 ? 0 : GetNumColors(BitCount);
    for (int i = 0; i < colors && i < table.size(); ++i)
        Infos.Colors[i] = {uint8_t(qBlue(table[i])), uint8_t(qGreen(table[i])), uint8_t(qRed(table[i])), 0};
    h.biClrUsed = static_cast<uint32_t>(colors);
    for (int y = 0; y < height; ++y) {
        const uchar* in = source.constScanLine(y);
        uint8_t* out = Infos.Bits + stride * (height - 1 - y);
        if (BitCount == 4) {
            PackNibbleRow(in, out, width);
        } else {
            std::memcpy(out, in, size_t(BitCount == 1 ? (width + 7) / 8 : width * (BitCount / 8)));
        }
    }
}

QImage PxDIBToQImage(const TPxDIBInfos& Infos) {
    const BITMAPINFOHEADER& h = Infos.Header;
    if (h.biCompression == BI_RGB) return UncompressedToQImage(Infos);
    TPxDIBInfos decoded;
    TPxBitsGuard guard(decoded, false);
    if (h.biBitCount == 8 && h.biCompression == BI_RLE8)
        Convert8BitRLETo8BitRGB(Infos, decoded, false);
    else if (h.biBitCount == 4 && h.biCompression == BI_RLE4)
        Convert4BitRLETo4BitRGB(Infos, decoded, false);
    else
        throw EPxDIBBadDIBType(QStringLiteral("PxDIBToQImage: Bad DIB Type"));
    return UncompressedToQImage(decoded);
}

}  // namespace tam32
