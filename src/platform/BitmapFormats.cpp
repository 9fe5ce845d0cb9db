#include "platform/BitmapFormats.h"

namespace tam32 {

namespace {

constexpr int kMaxFourBitColors = 16;

bool IsTrueColor(const QImage& Image) { return Image.depth() > 8; }

}  // namespace

QImage::Format QtFormatOf(TPixelFormat Format) {
    switch (Format) {
        case TPixelFormat::pf1bit: return QImage::Format_Mono;
        case TPixelFormat::pf4bit:
        case TPixelFormat::pf8bit: return QImage::Format_Indexed8;
        case TPixelFormat::pf15bit: return QImage::Format_RGB555;
        case TPixelFormat::pf16bit: return QImage::Format_RGB16;
        case TPixelFormat::pf24bit: return QImage::Format_BGR888;
        case TPixelFormat::pf32bit:
        case TPixelFormat::pfDevice: break;
    }
    return QImage::Format_RGB32;
}

TPixelFormat PixelFormatOf(QImage::Format Format) {
    switch (Format) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB: return TPixelFormat::pf1bit;
        case QImage::Format_Indexed8: return TPixelFormat::pf8bit;
        case QImage::Format_RGB555: return TPixelFormat::pf15bit;
        case QImage::Format_RGB16: return TPixelFormat::pf16bit;
        case QImage::Format_BGR888:
        case QImage::Format_RGB888: return TPixelFormat::pf24bit;
        default: return TPixelFormat::pf32bit;
    }
}

QList<QRgb> DefaultColorTable(TPixelFormat Format) {
    if (Format == TPixelFormat::pf1bit) return {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

QImage ConvertedTo(const QImage& Image, TPixelFormat Format, const HPALETTE& DisplayPalette) {
    if (Image.isNull()) return Image;
    switch (Format) {
        case TPixelFormat::pf1bit:
            return Image.format() == QImage::Format_Mono
                       ? Image
                       : Image.convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
        case TPixelFormat::pf4bit:
            if (Image.format() == QImage::Format_Indexed8 && Image.colorCount() <= kMaxFourBitColors)
                return Image;
            if (!IsTrueColor(Image) && Image.format() != QImage::Format_Indexed8)
                return Image.convertToFormat(QImage::Format_Indexed8);  // one bit: two entries
            return Image.convertToFormat(QImage::Format_RGB32)
                .convertToFormat(QImage::Format_Indexed8, DefaultColorTable(Format), Qt::ThresholdDither);
        case TPixelFormat::pf8bit:
            if (Image.format() == QImage::Format_Indexed8) return Image;
            if (IsTrueColor(Image) && DisplayPalette != nullptr)
                return Image.convertToFormat(QImage::Format_Indexed8, ColorTableOf(*DisplayPalette),
                                             Qt::ThresholdDither);
            return Image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither);
        default: return Image.convertToFormat(QtFormatOf(Format));
    }
}

QList<QRgb> ColorTableOf(const TLogPalette& Palette) {
    QList<QRgb> table;
    for (const TPaletteEntry& e : Palette.Entries()) table.append(qRgb(e.peRed, e.peGreen, e.peBlue));
    return table;
}

HPALETTE PaletteOf(const QList<QRgb>& Table) {
    std::vector<TPaletteEntry> entries;
    for (QRgb rgb : Table)
        entries.push_back({uint8_t(qRed(rgb)), uint8_t(qGreen(rgb)), uint8_t(qBlue(rgb)), 0});
    return CreatePalette(std::move(entries));
}

}  // namespace tam32
