#pragma once
// How the bitmap's pixel formats map to QImage formats, and the conversions
// between them.
#include <QImage>
#include <QList>

#include "platform/Bitmap.h"
#include "platform/Palette.h"

namespace tam32 {

QImage::Format QtFormatOf(TPixelFormat Format);
// The pixel format a picture of this QImage format is held as.
TPixelFormat PixelFormatOf(QImage::Format Format);
// The table a new picture of a palette format starts with: black and white
// for one bit, the standard 16 colours otherwise.
QList<QRgb> DefaultColorTable(TPixelFormat Format);
// Image in Format's QImage form; true colour reaches palette formats by the
// nearest entry of DisplayPalette (when given) or of a table made for the
// picture. A null result means the memory could not be had.
QImage ConvertedTo(const QImage& Image, TPixelFormat Format, const HPALETTE& DisplayPalette);

QList<QRgb> ColorTableOf(const TLogPalette& Palette);
HPALETTE PaletteOf(const QList<QRgb>& Table);

}  // namespace tam32
