#pragma once
// The pen, brush, font and copy mode of a canvas, with the original class
// library's names and defaults (black one-pixel copying pen, white solid
// brush, 8-point black font).
#include <QFont>
#include <QString>
#include <cstdint>

#include "platform/WinTypes.h"

namespace tam32 {

enum class TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

// In the original's order; each names one binary raster operation.
enum class TPenMode {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};

// The truth table of the mode for ApplyRop2.
uint8_t PenModeRop2(TPenMode Mode);

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::psSolid;
    TPenMode Mode = TPenMode::pmCopy;
};

enum class TBrushStyle { bsSolid, bsClear };

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::bsSolid;
};

// Raster operation codes for copying pictures onto a canvas.
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

constexpr int DEFAULT_CHARSET = 1;

// Sizes in points relate to pixel heights at 96 pixels per inch, the
// resolution the original's forms were laid out for. A negative Height is
// the character (em) height in pixels, a positive one the cell height.
class TFont {
public:
    QString Name = QStringLiteral("MS Sans Serif");
    TColor Color = clBlack;

    int Size() const;
    void SetSize(int Value);
    int Height() const { return FHeight; }
    void SetHeight(int Value) { FHeight = Value; }
    int Charset() const { return FCharset; }
    // ERangeError "Range check error" outside 0..255, as the byte-sized property raised.
    void SetCharset(int Value);

    // Drawn without smoothing, like text written into a bitmap.
    QFont ToQFont() const;

private:
    int FHeight = -11;  // 8 points
    int FCharset = DEFAULT_CHARSET;
};

}  // namespace tam32
