#pragma once
// A canvas draws into a picture (a QImage it does not own) by the rules of
// the Windows drawing interface that the program was designed on:
// - lines leave out their last pixel, and the pen position moves to it;
// - rectangles, ellipses and fills leave out their right and bottom edge;
// - the pen mode is a raster operation applied to each touched pixel exactly
//   once, so an inverting mark drawn twice restores the picture bit for bit;
// - pictures are stretched nearest-neighbour with the copy mode;
// - text and FillRect always copy, whatever the pen mode.
// Pixel values are worked on in the picture's own form, so 1- and 8-bit
// palette pictures are drawn on in place (with the nearest palette entry),
// which Qt's painter cannot do. Formats: 1 and 8 bits, RGB555, RGB16,
// BGR888, RGB32, ARGB32; others raise EInvalidGraphicOperation
// "Canvas does not allow drawing". Text needs a QGuiApplication.
// Drawing writes through QImage::bits(): a target whose pixels are shared
// with another QImage is detached first (Qt's copy-on-write), so a target
// wrapping outside memory must not be copied while it is drawn on (a copy
// within the target itself takes its source aside first).
#include <QImage>
#include <QString>
#include <functional>
#include <span>

#include "platform/CanvasTools.h"
#include "platform/Graphic.h"
#include "platform/Object.h"
#include "platform/WinTypes.h"

namespace tam32 {

class RasterTarget;
class TPixelBits;

class TCanvas : public TPersistent {
public:
    TCanvas() = default;
    explicit TCanvas(QImage* Target) : FTarget(Target) {}
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    const char* ClassName() const override { return "TCanvas"; }

    // Without a target (or with a null image) drawing does nothing. A
    // bottom-up target holds the picture's rows from the bottom (picture row
    // Y is image row height - 1 - Y), so a bottom-up pixel block is drawn on
    // in place although a QImage cannot step through it upwards.
    QImage* Target() const { return FTarget; }
    void SetTarget(QImage* Target, bool BottomUp = false) {
        FTarget = Target;
        FBottomUp = BottomUp;
    }

    TPen Pen;
    TBrush Brush;
    TFont Font;
    TCopyMode CopyMode = cmSrcCopy;
    // Fired after every drawing operation.
    TNotifyEvent OnChange;

    TPoint PenPos() const { return FPenPos; }
    void SetPenPos(TPoint Value) { FPenPos = Value; }
    void MoveTo(int X, int Y) { FPenPos = {X, Y}; }
    void LineTo(int X, int Y);
    // Neither uses nor moves the pen position; the last point is left out.
    void Polyline(std::span<const TPoint> Points);
    // Runs Work(FirstRow, LastRow) over the rows First..Last, in parts that
    // may run on several threads at once.
    using TRowsRunner = std::function<void(int First, int Last, const std::function<void(int, int)>& Work)>;
    // The pen mixed once into each pixel that Marked marks (those beyond the
    // picture left alone): lines found beforehand, drawn together. Rows, when
    // given, shares the rows out.
    void MixPen(const TPixelBits& Marked, const TRowsRunner& Rows = nullptr);
    // Outlined with the pen, filled (alternate rule) with the brush.
    void Polygon(std::span<const TPoint> Points);
    void Rectangle(int X1, int Y1, int X2, int Y2);
    void Ellipse(int X1, int Y1, int X2, int Y2);
    void FillRect(const TRect& Rect);

    // Top left of the text cell at (X, Y); a solid brush fills the cell
    // behind the text. The pen position moves to the end of the text.
    void TextOut(int X, int Y, const QString& Text);
    int TextWidth(const QString& Text) const;
    int TextHeight(const QString& Text) const;

    // -1 outside the picture; setting outside is ignored.
    TColor Pixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Color);

    // Both pass the rectangle to Graphic.Draw; an empty graphic draws nothing.
    void Draw(int X, int Y, TGraphic& Graphic);
    void StretchDraw(const TRect& Rect, TGraphic& Graphic);
    // The whole of Source onto Dest, nearest neighbour, with CopyMode. A
    // rectangle of zero width or height draws nothing; a negative width or
    // height mirrors the picture.
    void StretchDrawImage(const TRect& Dest, const QImage& Source);
    // SourceRect of Source's picture onto Dest, as StretchDrawImage; pixels
    // whose source lies outside Source's picture are left alone.
    void CopyRect(const TRect& Dest, TCanvas& Source, const TRect& SourceRect);

protected:
    // Called before every operation reads or writes the target, so that a
    // canvas that draws on a copy of other pixels can bring the copy up to date.
    virtual void UpdateTarget() const {}
    // Called after every drawing operation; fires OnChange.
    virtual void Changed();

private:
    RasterTarget WritableTarget();
    RasterTarget ReadableTarget() const;
    int PenWidth() const;
    bool PenShown() const { return Pen.Style != TPenStyle::psClear; }
    bool BrushShown() const { return Brush.Style == TBrushStyle::bsSolid; }
    // One-pixel pen along the joined points, applied pixel by pixel.
    void StrokeThin(RasterTarget& Target, std::span<const TPoint> Points);
    // Wide pen along the joined points, each pixel once.
    void StrokeWide(RasterTarget& Target, std::span<const TPoint> Points, bool Closed);
    void StretchBlt(const TRect& Dest, const QImage& Source, bool SourceBottomUp, const TRect& SourceRect);

    QImage* FTarget = nullptr;
    bool FBottomUp = false;
    TPoint FPenPos;
};

// Puts a canvas's pen and brush back as they were when the scope ends, so a
// drawing routine can set its own without disturbing its caller's.
class TCanvasToolsScope {
public:
    explicit TCanvasToolsScope(TCanvas& Canvas) : FCanvas(Canvas), FPen(Canvas.Pen), FBrush(Canvas.Brush) {}
    ~TCanvasToolsScope() {
        FCanvas.Pen = FPen;
        FCanvas.Brush = FBrush;
    }
    TCanvasToolsScope(const TCanvasToolsScope&) = delete;
    TCanvasToolsScope& operator=(const TCanvasToolsScope&) = delete;

private:
    TCanvas& FCanvas;
    TPen FPen;
    TBrush FBrush;
};

}  // namespace tam32
