#pragma once
// Pixel access to a picture in any format a canvas draws on. Values stay in
// the picture's own form (palette index for 1- and 8-bit pictures, the packed
// word for 16-bit ones, $RRGGBB for true colour), so that raster operations
// work on the stored bits as GDI's do on a device-independent bitmap.
#include <QHash>
#include <QImage>
#include <QList>
#include <cstdint>

#include "platform/WinTypes.h"

namespace tam32 {

class RasterTarget {
public:
    // A null pointer or a null image gives an empty target. Formats other
    // than those of Supports raise EInvalidGraphicOperation "Canvas does not
    // allow drawing". With BottomUp the image holds the picture's rows from
    // the bottom: picture row Y is image row Height - 1 - Y.
    static RasterTarget Writable(QImage* Image, bool BottomUp = false);
    static RasterTarget ReadOnly(const QImage* Image, bool BottomUp = false);
    static bool Supports(QImage::Format Format);

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Contains(int X, int Y) const { return X >= 0 && Y >= 0 && X < FWidth && Y < FHeight; }

    // X and Y must be inside.
    uint32_t Read(int X, int Y) const;
    void Write(int X, int Y, uint32_t Value);
    // Applies a binary raster operation with the pen value; outside pixels are left alone.
    void Mix(int X, int Y, uint8_t Rop2, uint32_t Pen) {
        if (Contains(X, Y)) MixInside(X, Y, Rop2, Pen);
    }
    void MixInside(int X, int Y, uint8_t Rop2, uint32_t Pen);

    // System colours are resolved; palette pictures take the nearest entry.
    uint32_t ValueOf(TColor Color) const;
    uint32_t ValueOfRgb(QRgb Rgb) const;
    TColor ColorOf(uint32_t Value) const;
    bool IsPaletted() const {
        return FKind == Kind::Mono || FKind == Kind::MonoLsb || FKind == Kind::Indexed8;
    }

private:
    enum class Kind { Empty, Mono, MonoLsb, Indexed8, Rgb555, Rgb16, Bgr888, Rgb32 };
    RasterTarget(const QImage* Image, uchar* Bits, bool BottomUp);

    uint32_t NearestEntry(QRgb Rgb) const;

    Kind FKind = Kind::Empty;
    int FWidth = 0;
    int FHeight = 0;
    // Both point at picture row 0; the stride is negative for a bottom-up image.
    const uchar* FConstBits = nullptr;
    uchar* FBits = nullptr;  // null when read-only
    qsizetype FStride = 0;
    uint32_t FValueMask = 0;
    QList<QRgb> FTable;
    mutable QHash<QRgb, uint32_t> FNearest;
};

}  // namespace tam32
