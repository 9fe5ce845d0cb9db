#include "platform/RasterTarget.h"

#include <cstring>
#include <limits>

#include "platform/ColorToRGB.h"
#include "platform/Exceptions.h"
#include "platform/RasterOps.h"

namespace tam32 {

namespace {

const QString kCanvasNotAllowed = QStringLiteral("Canvas does not allow drawing");

uint16_t LoadWord(const uchar* p) {
    uint16_t w;
    std::memcpy(&w, p, 2);
    return w;
}

void StoreWord(uchar* p, uint16_t w) { std::memcpy(p, &w, 2); }

// Widens a 5- or 6-bit channel to 8 bits by repeating its top bits.
int Widen5(uint32_t v) { return static_cast<int>((v << 3) | (v >> 2)); }
int Widen6(uint32_t v) { return static_cast<int>((v << 2) | (v >> 4)); }

}  // namespace

bool RasterTarget::Supports(QImage::Format Format) {
    switch (Format) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB:
        case QImage::Format_Indexed8:
        case QImage::Format_RGB555:
        case QImage::Format_RGB16:
        case QImage::Format_BGR888:
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied: return true;
        default: return false;
    }
}

RasterTarget RasterTarget::Writable(QImage* Image, bool BottomUp) {
    if (Image == nullptr || Image->isNull()) return RasterTarget(nullptr, nullptr, false);
    if (!Supports(Image->format())) throw EInvalidGraphicOperation(kCanvasNotAllowed);
    return RasterTarget(Image, Image->bits(), BottomUp);  // bits() detaches shared copies first
}

RasterTarget RasterTarget::ReadOnly(const QImage* Image, bool BottomUp) {
    if (Image == nullptr || Image->isNull()) return RasterTarget(nullptr, nullptr, false);
    if (!Supports(Image->format())) throw EInvalidGraphicOperation(kCanvasNotAllowed);
    return RasterTarget(Image, nullptr, BottomUp);
}

RasterTarget::RasterTarget(const QImage* Image, uchar* Bits, bool BottomUp) {
    if (Image == nullptr) return;
    FWidth = Image->width();
    FHeight = Image->height();
    FBits = Bits;
    FConstBits = Bits != nullptr ? Bits : Image->constBits();
    FStride = Image->bytesPerLine();
    if (BottomUp) {
        const qsizetype lastRow = FStride * (FHeight - 1);
        FConstBits += lastRow;
        if (FBits != nullptr) FBits += lastRow;
        FStride = -FStride;
    }
    FTable = Image->colorTable();
    switch (Image->format()) {
        case QImage::Format_Mono:
            FKind = Kind::Mono;
            FValueMask = 1;
            break;
        case QImage::Format_MonoLSB:
            FKind = Kind::MonoLsb;
            FValueMask = 1;
            break;
        case QImage::Format_Indexed8:
            FKind = Kind::Indexed8;
            FValueMask = 0xFF;
            break;
        case QImage::Format_RGB555:
            FKind = Kind::Rgb555;
            FValueMask = 0x7FFF;
            break;
        case QImage::Format_RGB16:
            FKind = Kind::Rgb16;
            FValueMask = 0xFFFF;
            break;
        case QImage::Format_BGR888:
            FKind = Kind::Bgr888;
            FValueMask = 0xFFFFFF;
            break;
        default:
            FKind = Kind::Rgb32;
            FValueMask = 0xFFFFFF;
            break;
    }
    // A 1-bit picture without a table shows black and white, as GDI's default.
    if ((FKind == Kind::Mono || FKind == Kind::MonoLsb) && FTable.isEmpty())
        FTable = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
}

uint32_t RasterTarget::Read(int X, int Y) const {
    const uchar* row = FConstBits + FStride * Y;
    switch (FKind) {
        case Kind::Mono: return (row[X >> 3] >> (7 - (X & 7))) & 1;
        case Kind::MonoLsb: return (row[X >> 3] >> (X & 7)) & 1;
        case Kind::Indexed8: return row[X];
        case Kind::Rgb555:
        case Kind::Rgb16: return LoadWord(row + 2 * X);
        case Kind::Bgr888: {
            const uchar* p = row + 3 * X;
            return p[0] | (p[1] << 8) | (uint32_t(p[2]) << 16);
        }
        case Kind::Rgb32: return reinterpret_cast<const QRgb*>(row)[X] & 0xFFFFFF;
        case Kind::Empty: break;
    }
    return 0;
}

void RasterTarget::Write(int X, int Y, uint32_t Value) {
    Q_ASSERT(FBits != nullptr);
    uchar* row = FBits + FStride * Y;
    Value &= FValueMask;
    switch (FKind) {
        case Kind::Mono: {
            const uchar bit = uchar(0x80 >> (X & 7));
            row[X >> 3] = Value ? (row[X >> 3] | bit) : (row[X >> 3] & ~bit);
            break;
        }
        case Kind::MonoLsb: {
            const uchar bit = uchar(1 << (X & 7));
            row[X >> 3] = Value ? (row[X >> 3] | bit) : (row[X >> 3] & ~bit);
            break;
        }
        case Kind::Indexed8: row[X] = uchar(Value); break;
        case Kind::Rgb555:
        case Kind::Rgb16: StoreWord(row + 2 * X, uint16_t(Value)); break;
        case Kind::Bgr888: {
            uchar* p = row + 3 * X;
            p[0] = uchar(Value);
            p[1] = uchar(Value >> 8);
            p[2] = uchar(Value >> 16);
            break;
        }
        // Raster results are opaque, as Qt's own raster operations leave them.
        case Kind::Rgb32: reinterpret_cast<QRgb*>(row)[X] = 0xFF000000u | Value; break;
        case Kind::Empty: break;
    }
}

void RasterTarget::MixInside(int X, int Y, uint8_t Rop2, uint32_t Pen) {
    // The copying pen's result does not depend on what lies beneath.
    if (Rop2 == kRop2CopyPen) return Write(X, Y, Pen);
    Write(X, Y, ApplyRop2(Rop2, Pen, Read(X, Y)));
}

uint32_t RasterTarget::ValueOf(TColor Color) const {
    const TColor c = ColorToRGB(Color);
    return ValueOfRgb(qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
}

uint32_t RasterTarget::ValueOfRgb(QRgb Rgb) const {
    const uint32_t r = qRed(Rgb), g = qGreen(Rgb), b = qBlue(Rgb);
    switch (FKind) {
        case Kind::Rgb555: return ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3);
        case Kind::Rgb16: return ((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3);
        case Kind::Bgr888:
        case Kind::Rgb32: return (r << 16) | (g << 8) | b;
        case Kind::Empty: return 0;
        default: return NearestEntry(Rgb);
    }
}

TColor RasterTarget::ColorOf(uint32_t Value) const {
    switch (FKind) {
        case Kind::Mono:
        case Kind::MonoLsb:
        case Kind::Indexed8: {
            // Indices beyond a short table read as black.
            const QRgb rgb = Value < uint32_t(FTable.size()) ? FTable[Value] : qRgb(0, 0, 0);
            return RGBToColor(qRed(rgb), qGreen(rgb), qBlue(rgb));
        }
        case Kind::Rgb555:
            return RGBToColor(Widen5((Value >> 10) & 31), Widen5((Value >> 5) & 31), Widen5(Value & 31));
        case Kind::Rgb16:
            return RGBToColor(Widen5((Value >> 11) & 31), Widen6((Value >> 5) & 63), Widen5(Value & 31));
        case Kind::Bgr888:
        case Kind::Rgb32: return RGBToColor(Value >> 16, Value >> 8, Value);
        case Kind::Empty: break;
    }
    return clBlack;
}

uint32_t RasterTarget::NearestEntry(QRgb Rgb) const {
    if (auto it = FNearest.constFind(Rgb); it != FNearest.constEnd()) return it.value();
    uint32_t best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    const qsizetype count = std::min<qsizetype>(FTable.size(), qsizetype(FValueMask) + 1);
    for (qsizetype i = 0; i < count; ++i) {
        const int dr = qRed(FTable[i]) - qRed(Rgb);
        const int dg = qGreen(FTable[i]) - qGreen(Rgb);
        const int db = qBlue(FTable[i]) - qBlue(Rgb);
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = uint32_t(i);
        }
    }
    FNearest.insert(Rgb, best);
    return best;
}

}  // namespace tam32
