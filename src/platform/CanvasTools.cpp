#include "platform/CanvasTools.h"

#include <QFontMetrics>
#include <algorithm>

#include "platform/Exceptions.h"
#include "platform/RasterOps.h"

namespace tam32 {

namespace {

constexpr int kPixelsPerInch = 96;

// A * B / C rounded half away from zero.
int MulDiv(int A, int B, int C) {
    const int64_t product = static_cast<int64_t>(A) * B;
    const int64_t half = C / 2;
    return static_cast<int>(product >= 0 ? (product + half) / C : (product - half) / C);
}

}  // namespace

uint8_t PenModeRop2(TPenMode Mode) {
    switch (Mode) {
        case TPenMode::pmBlack: return 0b0000;
        case TPenMode::pmWhite: return 0b1111;
        case TPenMode::pmNop: return 0b1010;
        case TPenMode::pmNot: return 0b0101;
        case TPenMode::pmCopy: return kRop2CopyPen;
        case TPenMode::pmNotCopy: return 0b0011;
        case TPenMode::pmMergePenNot: return 0b1101;
        case TPenMode::pmMaskPenNot: return 0b0100;
        case TPenMode::pmMergeNotPen: return 0b1011;
        case TPenMode::pmMaskNotPen: return 0b0010;
        case TPenMode::pmMerge: return 0b1110;
        case TPenMode::pmNotMerge: return 0b0001;
        case TPenMode::pmMask: return 0b1000;
        case TPenMode::pmNotMask: return 0b0111;
        case TPenMode::pmXor: return 0b0110;
        case TPenMode::pmNotXor: return 0b1001;
    }
    return 0b1100;
}

int TFont::Size() const { return -MulDiv(FHeight, 72, kPixelsPerInch); }

void TFont::SetSize(int Value) { FHeight = -MulDiv(Value, kPixelsPerInch, 72); }

void TFont::SetCharset(int Value) {
    if (Value < 0 || Value > 255) throw ERangeError(kRangeCheckError);
    FCharset = Value;
}

QFont TFont::ToQFont() const {
    QFont font(Name);
    font.setStyleStrategy(QFont::NoAntialias);
    if (FHeight < 0) {
        font.setPixelSize(-FHeight);
    } else if (FHeight > 0) {
        // Scale the character height so that ascent plus descent fills the cell.
        font.setPixelSize(FHeight);
        const int cell = QFontMetrics(font).height();
        if (cell > FHeight) font.setPixelSize(std::max(1, MulDiv(FHeight, FHeight, cell)));
    } else {
        font.setPixelSize(11);
    }
    return font;
}

}  // namespace tam32
