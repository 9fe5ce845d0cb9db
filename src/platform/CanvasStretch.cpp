// Pictures onto a canvas: nearest-neighbour stretching with the canvas's
// copy mode, the way the original's stretch-blit calls draw.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/Canvas.h"
#include "platform/CoverageMask.h"
#include "platform/RasterOps.h"
#include "platform/RasterTarget.h"

namespace tam32 {

namespace {

// Source pixels as RGB, rows counted from the picture's top; uncommon
// formats are converted once.
class SourcePixels {
public:
    SourcePixels(const QImage& Image, bool BottomUp) : FImage(Image), FBottomUp(BottomUp) {
        switch (Image.format()) {
            case QImage::Format_Mono:
            case QImage::Format_MonoLSB:
            case QImage::Format_Indexed8:
            case QImage::Format_Grayscale8:
            case QImage::Format_BGR888:
            case QImage::Format_RGB888:
            case QImage::Format_RGB32:
            case QImage::Format_ARGB32: break;
            default: FImage = Image.convertToFormat(QImage::Format_RGB32);
        }
        FTable = FImage.colorTable();
        if (FImage.depth() == 1 && FTable.isEmpty()) FTable = {qRgb(0, 0, 0), qRgb(255, 255, 255)};
    }

    int Width() const { return FImage.width(); }
    int Height() const { return FImage.height(); }
    const uchar* Row(int Y) const { return FImage.constScanLine(FBottomUp ? FImage.height() - 1 - Y : Y); }

    QRgb At(const uchar* Row, int X) const {
        switch (FImage.format()) {
            case QImage::Format_Mono: return Entry((Row[X >> 3] >> (7 - (X & 7))) & 1);
            case QImage::Format_MonoLSB: return Entry((Row[X >> 3] >> (X & 7)) & 1);
            case QImage::Format_Indexed8: return Entry(Row[X]);
            case QImage::Format_Grayscale8: return qRgb(Row[X], Row[X], Row[X]);
            case QImage::Format_BGR888: return qRgb(Row[3 * X + 2], Row[3 * X + 1], Row[3 * X]);
            case QImage::Format_RGB888: return qRgb(Row[3 * X], Row[3 * X + 1], Row[3 * X + 2]);
            default: return reinterpret_cast<const QRgb*>(Row)[X];
        }
    }

private:
    // Indices beyond a short table read as black.
    QRgb Entry(int Index) const { return Index < FTable.size() ? FTable[Index] : qRgb(0, 0, 0); }

    QImage FImage;
    bool FBottomUp;
    QList<QRgb> FTable;
};

// For each destination step along one axis, the source coordinate it
// samples, or -1 when that lies outside the source.
std::vector<int> SampleMap(int64_t First, int64_t Count, int64_t DestStart, int64_t DestLength, bool Mirrored,
                           int64_t SourceStart, int64_t SourceLength, int SourceLimit) {
    std::vector<int> map(static_cast<size_t>(Count));
    for (int64_t i = 0; i < Count; ++i) {
        const int64_t j = First + i - DestStart;
        const int64_t k = Mirrored ? DestLength - 1 - j : j;
        const int64_t s = SourceStart + int64_t(__int128(k) * SourceLength / DestLength);
        map[size_t(i)] = (s >= 0 && s < SourceLimit) ? int(s) : -1;
    }
    return map;
}

}  // namespace

void TCanvas::Draw(int X, int Y, TGraphic& Graphic) {
    if (!Graphic.Empty()) Graphic.Draw(*this, Rect(X, Y, X + Graphic.Width(), Y + Graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& Rect, TGraphic& Graphic) {
    if (!Graphic.Empty()) Graphic.Draw(*this, Rect);
}

void TCanvas::StretchDrawImage(const TRect& Dest, const QImage& Source) {
    StretchBlt(Dest, Source, false, Rect(0, 0, Source.width(), Source.height()));
}

void TCanvas::CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect) {
    if (Source.FTarget != nullptr) {
        Source.UpdateTarget();
        StretchBlt(Dest, *Source.FTarget, Source.FBottomUp, SourceRect);
    } else {
        Changed();
    }
}

void TCanvas::StretchBlt(const TRect& Dest, const QImage& Source, bool SourceBottomUp, const TRect& SourceRect) {
    // A source over the target's own pixels is copied aside, so the copy reads
    // the unchanged pixels and the target keeps drawing on its own memory
    // (sharing it instead would move the target to a detached copy).
    const bool sameBits = FTarget != nullptr && !Source.isNull() && Source.constBits() == FTarget->constBits();
    const QImage sourceShare = sameBits ? Source.copy() : Source;
    RasterTarget target = WritableTarget();
    const int64_t dw = int64_t(Dest.Right) - Dest.Left, dh = int64_t(Dest.Bottom) - Dest.Top;
    const int64_t sw = int64_t(SourceRect.Right) - SourceRect.Left;
    const int64_t sh = int64_t(SourceRect.Bottom) - SourceRect.Top;
    if (dw != 0 && dh != 0 && sw != 0 && sh != 0 && !sourceShare.isNull()) {
        const int64_t destLeft = std::min(Dest.Left, Dest.Right), destTop = std::min(Dest.Top, Dest.Bottom);
        const int64_t destWidth = std::abs(dw), destHeight = std::abs(dh);
        const QRect box = ClipToTarget(target, destLeft, destTop, destLeft + destWidth, destTop + destHeight);
        if (!box.isEmpty()) {
            const SourcePixels source(sourceShare, SourceBottomUp);
            const std::vector<int> columns =
                SampleMap(box.left(), box.width(), destLeft, destWidth, (dw < 0) != (sw < 0),
                          std::min(SourceRect.Left, SourceRect.Right), std::abs(sw), source.Width());
            const std::vector<int> rows =
                SampleMap(box.top(), box.height(), destTop, destHeight, (dh < 0) != (sh < 0),
                          std::min(SourceRect.Top, SourceRect.Bottom), std::abs(sh), source.Height());
            const uint8_t rop = Rop3Table(CopyMode);
            const uint32_t pattern = target.ValueOf(Brush.Color);
            for (int r = 0; r < box.height(); ++r) {
                if (rows[size_t(r)] < 0) continue;
                const uchar* sourceRow = source.Row(rows[size_t(r)]);
                const int y = box.top() + r;
                for (int c = 0; c < box.width(); ++c) {
                    if (columns[size_t(c)] < 0) continue;
                    const int x = box.left() + c;
                    const uint32_t value = target.ValueOfRgb(source.At(sourceRow, columns[size_t(c)]));
                    target.Write(x, y,
                                 rop == Rop3Table(cmSrcCopy)
                                     ? value
                                     : ApplyRop3(rop, pattern, value, target.Read(x, y)));
                }
            }
        }
    }
    Changed();
}

}  // namespace tam32
