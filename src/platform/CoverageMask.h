#pragma once
// Which pixels of a box of the picture a figure touches, and with what: its
// pen, the gaps of a styled pen, or the brush inside. Figures are first
// rasterised into the mask (with Qt, without smoothing) and then applied to
// the picture once per pixel, so an inverting figure drawn twice restores the
// picture exactly, whatever the overlaps within its outline.
#include <QImage>
#include <QPainter>
#include <QRect>

#include "platform/RasterTarget.h"

namespace tam32 {

class CoverageMask {
public:
    static constexpr uchar kNone = 0;
    static constexpr uchar kGap = 64;
    static constexpr uchar kBrush = 128;
    static constexpr uchar kPen = 255;

    // Box must be non-empty; pixels are addressed in picture coordinates.
    explicit CoverageMask(const QRect& Box);

    const QRect& Box() const { return FBox; }
    // Marks a pixel inside the box.
    void Plot(int X, int Y, uchar Value) { FMask.scanLine(Y - FBox.top())[X - FBox.left()] = Value; }
    // Runs Paint with a painter in picture coordinates; figures are painted in Ink(value).
    template <class F>
    void Paint(F&& Paint) {
        QPainter painter(&FMask);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(-FBox.left(), -FBox.top());
        Paint(painter);
    }
    static QColor Ink(uchar Value) { return QColor(Value, Value, Value); }

    // Mixes each marked pixel once with the value for its mark.
    void Apply(RasterTarget& Target, uint8_t Rop2, uint32_t Pen, uint32_t Gap, uint32_t Brush) const;

private:
    QRect FBox;
    QImage FMask;
};

// The box of the target (0, 0, Width, Height) that a figure's bounds reach;
// empty when they miss it. Bounds are in 64 bits so no figure overflows them.
QRect ClipToTarget(const RasterTarget& Target, int64_t Left, int64_t Top, int64_t Right, int64_t Bottom);

}  // namespace tam32
