#include "platform/Canvas.h"

#include <QPainterPath>
#include <algorithm>
#include <numeric>
#include <vector>

#include "platform/CoverageMask.h"
#include "platform/LineRaster.h"
#include "platform/PixelBits.h"
#include "platform/RasterTarget.h"

namespace tam32 {

namespace {

constexpr uint8_t kCopyRop2 = 0b1100;

// On and off lengths of one-pixel styled pens, in pixels.
std::span<const int> DashPattern(TPenStyle Style) {
    static constexpr int kDash[] = {18, 6};
    static constexpr int kDot[] = {3, 3};
    static constexpr int kDashDot[] = {9, 6, 3, 6};
    static constexpr int kDashDotDot[] = {9, 3, 3, 3, 3, 3};
    switch (Style) {
        case TPenStyle::psDash: return kDash;
        case TPenStyle::psDot: return kDot;
        case TPenStyle::psDashDot: return kDashDot;
        case TPenStyle::psDashDotDot: return kDashDotDot;
        default: return {};
    }
}

bool DashOn(std::span<const int> Pattern, int64_t Step) {
    if (Pattern.empty()) return true;
    int64_t position = Step % std::accumulate(Pattern.begin(), Pattern.end(), 0);
    for (size_t i = 0;; ++i) {
        if (position < Pattern[i]) return i % 2 == 0;
        position -= Pattern[i];
    }
}

// Walks the joined one-pixel lines and calls Visit(x, y, on) for each pixel
// inside Clip, on telling whether the pen's dash pattern is on there.
template <class F>
void WalkThinPath(std::span<const TPoint> Points, const TRect& Clip, std::span<const int> Pattern,
                  F&& Visit) {
    int64_t offset = 0;
    for (size_t i = 1; i < Points.size(); ++i) {
        const int64_t length = ForEachLinePixel(
            Points[i - 1], Points[i], Clip,
            [&](int x, int y, int64_t step) { Visit(x, y, DashOn(Pattern, offset + step)); });
        offset += length;
    }
}

// A cosmetic one-pixel pen, styled with Pattern when it is not empty.
QPen ThinPen(uchar Value, std::span<const int> Pattern) {
    QPen pen(CoverageMask::Ink(Value));
    pen.setWidth(0);
    pen.setCosmetic(true);
    if (!Pattern.empty()) pen.setDashPattern(QList<qreal>(Pattern.begin(), Pattern.end()));
    return pen;
}

// Wide pens of the original are geometric pens with round ends and joins;
// styles other than solid do not apply to them.
QPen WidePen(int Width) {
    return QPen(CoverageMask::Ink(CoverageMask::kPen), Width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// Through the pixel centres, where Qt's unsmoothed filling samples.
QPainterPath PathThrough(std::span<const TPoint> Points, bool Closed) {
    QPainterPath path;
    path.moveTo(Points[0].X + 0.5, Points[0].Y + 0.5);
    for (size_t i = 1; i < Points.size(); ++i) path.lineTo(Points[i].X + 0.5, Points[i].Y + 0.5);
    if (Closed) path.closeSubpath();
    path.setFillRule(Qt::OddEvenFill);
    return path;
}

// The target box that points reach with a margin around them.
QRect BoxAround(const RasterTarget& Target, std::span<const TPoint> Points, int Margin) {
    int64_t left = Points[0].X, right = left, top = Points[0].Y, bottom = top;
    for (const TPoint& p : Points) {
        left = std::min<int64_t>(left, p.X);
        right = std::max<int64_t>(right, p.X);
        top = std::min<int64_t>(top, p.Y);
        bottom = std::max<int64_t>(bottom, p.Y);
    }
    return ClipToTarget(Target, left - Margin, top - Margin, right + Margin + 1, bottom + Margin + 1);
}

// Mixes every pixel of [Left, Right) x [Top, Bottom) inside the target.
void MixBox(RasterTarget& Target, int64_t Left, int64_t Top, int64_t Right, int64_t Bottom, uint8_t Rop2,
            uint32_t Value) {
    const QRect box = ClipToTarget(Target, Left, Top, Right, Bottom);
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) Target.MixInside(x, y, Rop2, Value);
}

}  // namespace

int TCanvas::PenWidth() const { return std::max(1, Pen.Width); }

RasterTarget TCanvas::WritableTarget() {
    UpdateTarget();
    return RasterTarget::Writable(FTarget, FBottomUp);
}

RasterTarget TCanvas::ReadableTarget() const {
    UpdateTarget();
    return RasterTarget::ReadOnly(FTarget, FBottomUp);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

void TCanvas::StrokeThin(RasterTarget& Target, std::span<const TPoint> Points) {
    const std::span<const int> pattern = DashPattern(Pen.Style);
    const uint8_t rop = PenModeRop2(Pen.Mode);
    const uint32_t pen = Target.ValueOf(Pen.Color);
    // A solid brush makes the gaps of a styled pen opaque in the brush colour.
    const bool opaqueGaps = BrushShown();
    const uint32_t gap = Target.ValueOf(Brush.Color);
    const TRect clip{0, 0, Target.Width(), Target.Height()};
    WalkThinPath(Points, clip, pattern, [&](int x, int y, bool on) {
        if (on)
            Target.MixInside(x, y, rop, pen);
        else if (opaqueGaps)
            Target.MixInside(x, y, rop, gap);
    });
}

void TCanvas::StrokeWide(RasterTarget& Target, std::span<const TPoint> Points, bool Closed) {
    const QRect box = BoxAround(Target, Points, PenWidth() / 2 + 2);
    if (box.isEmpty()) return;
    CoverageMask mask(box);
    mask.Paint([&](QPainter& painter) {
        painter.setPen(WidePen(PenWidth()));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(PathThrough(Points, Closed));
    });
    const uint32_t pen = Target.ValueOf(Pen.Color);
    mask.Apply(Target, PenModeRop2(Pen.Mode), pen, pen, pen);
}

void TCanvas::LineTo(int X, int Y) {
    RasterTarget target = WritableTarget();
    const TPoint points[] = {FPenPos, {X, Y}};
    FPenPos = {X, Y};
    if (PenShown()) {
        if (PenWidth() == 1)
            StrokeThin(target, points);
        else
            StrokeWide(target, points, false);
    }
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> Points) {
    RasterTarget target = WritableTarget();
    if (Points.size() >= 2 && PenShown()) {
        if (PenWidth() == 1)
            StrokeThin(target, Points);
        else
            StrokeWide(target, Points, false);
    }
    Changed();
}

void TCanvas::MixPen(const TPixelBits& Marked, const TRowsRunner& Rows) {
    RasterTarget target = WritableTarget();
    if (PenShown()) {
        const uint8_t rop = PenModeRop2(Pen.Mode);
        const uint32_t pen = target.ValueOf(Pen.Color);
        const int columns = target.Width();
        // Each part writes its own rows of the target.
        const auto mixRows = [&](int first, int last) {
            for (int y = first; y <= last; ++y)
                Marked.ForEachSet(y, [&](int x) {
                    if (x < columns) target.MixInside(x, y, rop, pen);
                });
        };
        const int lastRow = std::min(Marked.Height(), target.Height()) - 1;
        if (Rows)
            Rows(0, lastRow, mixRows);
        else
            mixRows(0, lastRow);
    }
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> Points) {
    RasterTarget target = WritableTarget();
    const QRect box = Points.size() >= 2 ? BoxAround(target, Points, PenWidth() / 2 + 2) : QRect();
    if (!box.isEmpty() && (PenShown() || BrushShown())) {
        CoverageMask mask(box);
        const QPainterPath path = PathThrough(Points, true);
        mask.Paint([&](QPainter& painter) {
            if (BrushShown()) painter.fillPath(path, CoverageMask::Ink(CoverageMask::kBrush));
            if (PenShown() && PenWidth() > 1) painter.strokePath(path, WidePen(PenWidth()));
        });
        if (PenShown() && PenWidth() == 1) {
            // The closing edge leaves out the first point, which the first edge drew.
            std::vector<TPoint> closed(Points.begin(), Points.end());
            closed.push_back(Points[0]);
            const TRect clip{box.left(), box.top(), box.right() + 1, box.bottom() + 1};
            WalkThinPath(closed, clip, DashPattern(Pen.Style), [&](int x, int y, bool on) {
                if (on)
                    mask.Plot(x, y, CoverageMask::kPen);
                else if (BrushShown())
                    mask.Plot(x, y, CoverageMask::kGap);
            });
        }
        const uint32_t brush = target.ValueOf(Brush.Color);
        mask.Apply(target, PenModeRop2(Pen.Mode), target.ValueOf(Pen.Color), brush, brush);
    }
    Changed();
}

void TCanvas::Rectangle(int X1, int Y1, int X2, int Y2) {
    RasterTarget target = WritableTarget();
    const int left = std::min(X1, X2), right = std::max(X1, X2);
    const int top = std::min(Y1, Y2), bottom = std::max(Y1, Y2);
    const uint8_t rop = PenModeRop2(Pen.Mode);
    const uint32_t brush = target.ValueOf(Brush.Color);
    if (left == right || top == bottom) {
        // nothing to draw
    } else if (!PenShown()) {
        // Without a pen the filled area is one pixel smaller on the right and bottom.
        if (BrushShown()) MixBox(target, left, top, int64_t(right) - 1, int64_t(bottom) - 1, rop, brush);
    } else if (PenWidth() == 1) {
        if (BrushShown())
            MixBox(target, int64_t(left) + 1, int64_t(top) + 1, int64_t(right) - 1, int64_t(bottom) - 1, rop,
                   brush);
        const int r = right - 1, b = bottom - 1;
        if (r == left || b == top) {
            // A single row or column: one line over all of it, so no pixel is drawn twice.
            const TPoint line[] = {{left, top}, {r == left ? left : right, r == left ? bottom : top}};
            StrokeThin(target, line);
        } else {
            const TPoint frame[] = {{left, top}, {r, top}, {r, b}, {left, b}, {left, top}};
            StrokeThin(target, frame);
        }
    } else {
        const QRect box = ClipToTarget(target, int64_t(left) - PenWidth(), int64_t(top) - PenWidth(),
                                       int64_t(right) + PenWidth(), int64_t(bottom) + PenWidth());
        if (!box.isEmpty()) {
            CoverageMask mask(box);
            const TPoint frame[] = {
                {left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
            mask.Paint([&](QPainter& painter) {
                if (BrushShown())
                    painter.fillRect(QRectF(left, top, double(right) - left, double(bottom) - top),
                                     CoverageMask::Ink(CoverageMask::kBrush));
                painter.strokePath(PathThrough(frame, true), WidePen(PenWidth()));
            });
            mask.Apply(target, rop, target.ValueOf(Pen.Color), brush, brush);
        }
    }
    Changed();
}

void TCanvas::Ellipse(int X1, int Y1, int X2, int Y2) {
    RasterTarget target = WritableTarget();
    const int64_t left = std::min(X1, X2), right = std::max(X1, X2);
    const int64_t top = std::min(Y1, Y2), bottom = std::max(Y1, Y2);
    const int reach = PenWidth() + 1;
    const QRect box = ClipToTarget(target, left - reach, top - reach, right + reach, bottom + reach);
    if (left < right && top < bottom && !box.isEmpty() && (PenShown() || BrushShown())) {
        CoverageMask mask(box);
        // The outline runs through the outermost pixels of the box, the
        // right and bottom edge excluded; the fill takes the pixels whose
        // centres lie within it.
        const QRectF outline(double(left), double(top), double(right - left - 1), double(bottom - top - 1));
        const QRectF centred = outline.translated(0.5, 0.5);
        const std::span<const int> pattern = DashPattern(Pen.Style);
        mask.Paint([&](QPainter& painter) {
            painter.setBrush(Qt::NoBrush);
            if (BrushShown()) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(CoverageMask::Ink(CoverageMask::kBrush));
                painter.drawEllipse(centred);
                painter.setBrush(Qt::NoBrush);
            }
            if (!PenShown()) return;
            if (PenWidth() > 1) {
                painter.setPen(WidePen(PenWidth()));
                painter.drawEllipse(centred);
                return;
            }
            if (!pattern.empty() && BrushShown()) {
                painter.setPen(ThinPen(CoverageMask::kGap, {}));
                painter.drawEllipse(outline);
            }
            painter.setPen(ThinPen(CoverageMask::kPen, pattern));
            painter.drawEllipse(outline);
        });
        const uint32_t brush = target.ValueOf(Brush.Color);
        mask.Apply(target, PenModeRop2(Pen.Mode), target.ValueOf(Pen.Color), brush, brush);
    }
    Changed();
}

void TCanvas::FillRect(const TRect& Rect) {
    RasterTarget target = WritableTarget();
    if (BrushShown())
        MixBox(target, Rect.Left, Rect.Top, Rect.Right, Rect.Bottom, kCopyRop2, target.ValueOf(Brush.Color));
    Changed();
}

TColor TCanvas::Pixels(int X, int Y) const {
    const RasterTarget target = ReadableTarget();
    return target.Contains(X, Y) ? target.ColorOf(target.Read(X, Y)) : TColor(-1);
}

void TCanvas::SetPixels(int X, int Y, TColor Color) {
    RasterTarget target = WritableTarget();
    if (target.Contains(X, Y)) target.Write(X, Y, target.ValueOf(Color));
    Changed();
}

}  // namespace tam32
