#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <functional>

#include "platform/Exceptions.h"
#include "platform/RasterOps.h"
#include "common/gui_app_env.h"

namespace tam32 {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kBlue = 0xFF0000;

// A picture whose every pixel differs from its neighbours.
QImage Patterned(QImage::Format Format, int W = 40, int H = 30) {
    QImage image(W, H, QImage::Format_RGB32);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            image.setPixel(x, y, qRgb((x * 37 + y * 11) & 255, (x * 5 + y * 71) & 255, (x ^ y) * 9 & 255));
    if (Format == QImage::Format_Indexed8) {
        QList<QRgb> table;
        for (int i = 0; i < 256; ++i) table.append(qRgb(i, 255 - i, (i * 7) & 255));
        return image.convertToFormat(Format, table, Qt::ThresholdDither);
    }
    return image.convertToFormat(Format, Qt::ThresholdDither);
}

QImage Filled(int W, int H, QRgb Rgb) {
    QImage image(W, H, QImage::Format_BGR888);
    image.fill(QColor::fromRgb(Rgb));
    return image;
}

// Where the picture shows Color, in row order.
std::vector<QPoint> PixelsOf(const TCanvas& Canvas, TColor Color) {
    std::vector<QPoint> found;
    for (int y = 0; y < Canvas.Target()->height(); ++y)
        for (int x = 0; x < Canvas.Target()->width(); ++x)
            if (Canvas.Pixels(x, y) == Color) found.emplace_back(x, y);
    return found;
}

QRect BoundsOf(const std::vector<QPoint>& Points) {
    QRect bounds;
    for (const QPoint& p : Points) bounds |= QRect(p, QSize(1, 1));
    return bounds;
}

using Figure = std::pair<const char*, std::function<void(TCanvas&)>>;

// Marks as the program draws them, on a 40 x 30 picture.
std::vector<Figure> Figures() {
    return {
        {"line",
         [](TCanvas& c) {
             c.MoveTo(3, 4);
             c.LineTo(31, 17);
         }},
        {"tag rectangle",
         [](TCanvas& c) {
             const std::array<TPoint, 5> tag{{{5, 5}, {5, 20}, {30, 20}, {30, 5}, {5, 5}}};
             c.Polyline(tag);
         }},
        {"rectangle", [](TCanvas& c) { c.Rectangle(2, 3, 25, 19); }},
        {"filled rectangle",
         [](TCanvas& c) {
             c.Brush.Style = TBrushStyle::bsSolid;
             c.Rectangle(2, 3, 25, 19);
         }},
        {"wide rectangle",
         [](TCanvas& c) {
             c.Pen.Width = 3;
             c.Rectangle(2, 3, 25, 19);
         }},
        {"ellipse", [](TCanvas& c) { c.Ellipse(4, 2, 37, 28); }},
        {"wide ellipse",
         [](TCanvas& c) {
             c.Pen.Width = 3;
             c.Ellipse(4, 2, 37, 28);
         }},
        {"wide closed polyline",
         [](TCanvas& c) {
             c.Pen.Width = 4;
             const std::array<TPoint, 5> tag{{{5, 5}, {5, 20}, {30, 20}, {30, 5}, {5, 5}}};
             c.Polyline(tag);
         }},
        {"polygon",
         [](TCanvas& c) {
             c.Brush.Style = TBrushStyle::bsSolid;
             const std::array<TPoint, 4> star{{{2, 2}, {35, 10}, {5, 25}, {20, 0}}};
             c.Polygon(star);
         }},
        {"dotted line",
         [](TCanvas& c) {
             c.Pen.Style = TPenStyle::psDot;
             c.MoveTo(0, 29);
             c.LineTo(39, 0);
         }},
    };
}

TEST(InvertingFigure, TouchesEachPixelOnce) {
    // On black, inverting must give what a white copying pen and brush give:
    // a pixel inverted twice (a corner, an overlap) would stay black.
    for (const auto& [name, draw] : Figures()) {
        QImage inverted = Filled(40, 30, qRgb(0, 0, 0)), copied = inverted.copy();
        TCanvas invert(&inverted), copy(&copied);
        invert.Pen.Mode = TPenMode::pmNot;
        copy.Pen.Color = clWhite;
        for (TCanvas* c : {&invert, &copy}) {
            c->Brush.Style = TBrushStyle::bsClear;
            draw(*c);
        }
        EXPECT_EQ(inverted, copied) << name;
    }
}

class InvertingFigures : public ::testing::TestWithParam<QImage::Format> {};

TEST_P(InvertingFigures, DrawnTwiceRestoreThePictureBitForBit) {
    for (TPenMode mode : {TPenMode::pmNot, TPenMode::pmXor}) {
        for (const auto& [name, draw] : Figures()) {
            QImage image = Patterned(GetParam());
            const QImage original = image.copy();
            TCanvas canvas(&image);
            canvas.Pen.Mode = mode;
            // The last entry of a table: its index has every bit set, so xor inverts too.
            const QRgb ink =
                image.colorCount() > 0 ? image.color(image.colorCount() - 1) : qRgb(255, 255, 255);
            canvas.Pen.Color = RGBToColor(qRed(ink), qGreen(ink), qBlue(ink));
            canvas.Brush.Style = TBrushStyle::bsClear;
            draw(canvas);
            EXPECT_NE(image, original) << name << " drew nothing";
            draw(canvas);
            EXPECT_EQ(image, original) << name << " not restored";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Formats, InvertingFigures,
                         ::testing::Values(QImage::Format_BGR888, QImage::Format_RGB32, QImage::Format_Mono,
                                           QImage::Format_Indexed8, QImage::Format_RGB16));

TEST(CanvasLines, LineToLeavesOutTheEndPixelAndMovesThePen) {
    QImage image = Filled(8, 8, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.MoveTo(1, 1);
    canvas.LineTo(5, 1);
    EXPECT_EQ(PixelsOf(canvas, clBlack), (std::vector<QPoint>{{1, 1}, {2, 1}, {3, 1}, {4, 1}}));
    EXPECT_EQ(canvas.PenPos(), (TPoint{5, 1}));

    canvas.LineTo(2, 4);  // diagonal back: (5,1) is drawn now, (2,4) is not
    EXPECT_EQ(canvas.Pixels(5, 1), clBlack);
    EXPECT_EQ(canvas.Pixels(3, 3), clBlack);
    EXPECT_EQ(canvas.Pixels(2, 4), clWhite);
}

TEST(CanvasLines, ClosedRectangleInvertsEachCornerOnce) {
    QImage image = Filled(10, 10, qRgb(0, 0, 0));
    TCanvas canvas(&image);
    canvas.Pen.Mode = TPenMode::pmNot;
    const std::array<TPoint, 5> tag{{{1, 1}, {1, 6}, {7, 6}, {7, 1}, {1, 1}}};
    canvas.Polyline(tag);
    for (const QPoint corner : {QPoint(1, 1), QPoint(1, 6), QPoint(7, 6), QPoint(7, 1)})
        EXPECT_EQ(canvas.Pixels(corner.x(), corner.y()), clWhite) << corner.x() << "," << corner.y();
    EXPECT_EQ(PixelsOf(canvas, clWhite).size(), 22u);
}

TEST(CanvasLines, WidePenAndStyledPens) {
    QImage image = Filled(30, 9, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.Pen.Width = 3;
    canvas.MoveTo(5, 4);
    canvas.LineTo(20, 4);
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, clBlack)), QRect(QPoint(4, 3), QPoint(21, 5)));

    // Dots of three pixels; the gaps take the brush colour only while it is solid.
    image = Filled(30, 9, qRgb(255, 255, 255));
    canvas.Pen = TPen{};
    canvas.Pen.Style = TPenStyle::psDot;
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.MoveTo(0, 0);
    canvas.LineTo(12, 0);
    EXPECT_EQ(PixelsOf(canvas, clBlack),
              (std::vector<QPoint>{{0, 0}, {1, 0}, {2, 0}, {6, 0}, {7, 0}, {8, 0}}));
    canvas.Brush = {kRed, TBrushStyle::bsSolid};
    canvas.MoveTo(0, 1);
    canvas.LineTo(12, 1);
    EXPECT_EQ(canvas.Pixels(3, 1), kRed);
    EXPECT_EQ(canvas.Pixels(12, 1), clWhite);
}

TEST(CanvasLines, ExtremeCoordinatesAreClippedQuickly) {
    QImage image = Filled(20, 20, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.MoveTo(INT_MIN, INT_MIN);
    canvas.LineTo(INT_MAX, INT_MAX);
    EXPECT_EQ(canvas.Pixels(0, 0), clBlack);
    EXPECT_EQ(canvas.Pixels(19, 19), clBlack);
    EXPECT_EQ(canvas.Pixels(19, 0), clWhite);
    canvas.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    canvas.Ellipse(-2000000000, -2000000000, 2000000000, 2000000000);
    canvas.Pen.Width = 5;
    canvas.LineTo(INT_MIN, 10);
}

TEST(CanvasFigures, RectangleAndFillRectLeaveOutRightAndBottom) {
    QImage image = Filled(8, 8, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.Pen.Color = kRed;
    canvas.Brush.Color = kBlue;
    canvas.Rectangle(1, 1, 6, 5);
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kRed)), QRect(QPoint(1, 1), QPoint(5, 4)));
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kBlue)), QRect(QPoint(2, 2), QPoint(4, 3)));

    // FillRect copies the brush whatever the pen mode.
    image = Filled(8, 8, qRgb(255, 255, 255));
    canvas.Pen.Mode = TPenMode::pmNot;
    canvas.FillRect(Rect(2, 2, 4, 7));
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kBlue)), QRect(QPoint(2, 2), QPoint(3, 6)));
    canvas.FillRect(Rect(5, 5, 3, 3));  // reversed: nothing
    EXPECT_EQ(PixelsOf(canvas, kBlue).size(), 10u);

    // Without a pen the filled area is a pixel smaller.
    image = Filled(8, 8, qRgb(255, 255, 255));
    canvas.Pen = {kRed, 1, TPenStyle::psClear, TPenMode::pmCopy};
    canvas.Rectangle(6, 5, 1, 1);
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kBlue)), QRect(QPoint(1, 1), QPoint(4, 3)));
}

TEST(CanvasFigures, EllipseFitsItsBoxWithoutRightAndBottomEdge) {
    QImage image = Filled(14, 12, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.Pen.Color = kRed;
    canvas.Brush.Color = kBlue;
    canvas.Ellipse(2, 2, 10, 8);
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kRed)), QRect(QPoint(2, 2), QPoint(9, 7)));
    EXPECT_EQ(canvas.Pixels(6, 5), kBlue);
    EXPECT_EQ(canvas.Pixels(2, 2), clWhite);  // outside the curve
}

TEST(CanvasFigures, PolygonFillStaysInside) {
    QImage image = Filled(12, 12, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.Pen.Color = kRed;
    canvas.Brush.Color = kBlue;
    const std::array<TPoint, 3> triangle{{{1, 1}, {10, 1}, {1, 10}}};
    canvas.Polygon(triangle);
    EXPECT_EQ(BoundsOf(PixelsOf(canvas, kRed)), QRect(QPoint(1, 1), QPoint(10, 10)));
    EXPECT_EQ(canvas.Pixels(3, 3), kBlue);
    EXPECT_EQ(canvas.Pixels(8, 8), clWhite);
}

TEST(CanvasModes, EachPenModeIsItsRasterOperation) {
    const uint32_t P = 0x5A3C96, D = 0x33CC0F;
    const std::vector<std::pair<TPenMode, uint32_t>> modes = {{TPenMode::pmBlack, 0},
                                                              {TPenMode::pmWhite, ~0u},
                                                              {TPenMode::pmNop, D},
                                                              {TPenMode::pmNot, ~D},
                                                              {TPenMode::pmCopy, P},
                                                              {TPenMode::pmNotCopy, ~P},
                                                              {TPenMode::pmMergePenNot, P | ~D},
                                                              {TPenMode::pmMaskPenNot, P & ~D},
                                                              {TPenMode::pmMergeNotPen, ~P | D},
                                                              {TPenMode::pmMaskNotPen, ~P & D},
                                                              {TPenMode::pmMerge, P | D},
                                                              {TPenMode::pmNotMerge, ~(P | D)},
                                                              {TPenMode::pmMask, P & D},
                                                              {TPenMode::pmNotMask, ~(P & D)},
                                                              {TPenMode::pmXor, P ^ D},
                                                              {TPenMode::pmNotXor, ~(P ^ D)}};
    for (const auto& [mode, expected] : modes) {
        QImage image(2, 1, QImage::Format_RGB32);
        image.fill(0xFF000000u | D);
        TCanvas canvas(&image);
        canvas.Pen = {TColor(0x963C5A), 1, TPenStyle::psSolid, mode};  // $BBGGRR of P
        canvas.MoveTo(0, 0);
        canvas.LineTo(1, 0);
        EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, expected & 0xFFFFFF) << int(mode);
        EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, D);
    }
}

TEST(CanvasPixels, ColourOrderAndPaletteMatching) {
    QImage image = Filled(3, 2, qRgb(0, 0, 0));
    TCanvas canvas(&image);
    canvas.SetPixels(1, 0, kRed);
    const uchar* row = image.constScanLine(0);
    EXPECT_EQ((std::array<int, 3>{row[3], row[4], row[5]}), (std::array<int, 3>{0, 0, 255}));  // B, G, R
    EXPECT_EQ(canvas.Pixels(1, 0), kRed);
    EXPECT_EQ(canvas.Pixels(3, 0), -1);
    canvas.SetPixels(-1, 0, kRed);  // ignored

    QImage indexed(2, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(0, 0, 0), qRgb(250, 10, 0), qRgb(0, 0, 250)});
    indexed.fill(0);
    canvas.SetTarget(&indexed);
    canvas.SetPixels(0, 0, kRed);
    EXPECT_EQ(indexed.pixelIndex(0, 0), 1);
    EXPECT_EQ(canvas.Pixels(0, 0), RGBToColor(250, 10, 0));
}

TEST(CanvasTargets, WithoutTargetNothingHappensAndOddFormatsAreRefused) {
    TCanvas canvas;
    canvas.LineTo(5, 5);
    EXPECT_EQ(canvas.Pixels(0, 0), -1);

    QImage rgb888(4, 4, QImage::Format_RGB888);
    canvas.SetTarget(&rgb888);
    try {
        canvas.Rectangle(0, 0, 2, 2);
        FAIL() << "drew on an unsupported format";
    } catch (const EInvalidGraphicOperation& e) {
        EXPECT_EQ(e.Message(), "Canvas does not allow drawing");
    }
}

TEST(CanvasTargets, ABottomUpTargetOverOutsideMemoryIsDrawnInPlaceFromThePicturesTop) {
    constexpr int kStride = 12;  // four BGR pixels
    std::vector<uchar> memory(kStride * 3, 0);
    QImage rows(memory.data(), 4, 3, kStride, QImage::Format_BGR888);  // first row: the picture's bottom
    TCanvas canvas;
    canvas.SetTarget(&rows, true);
    canvas.SetPixels(1, 0, kRed);
    EXPECT_EQ(memory[2 * kStride + 5], 255);  // red byte of pixel 1 in the last stored row
    EXPECT_EQ(canvas.Pixels(1, 0), kRed);
    EXPECT_EQ(canvas.Pixels(1, 2), clBlack);
    canvas.Pen.Color = kBlue;
    canvas.MoveTo(0, 2);
    canvas.LineTo(4, 2);
    EXPECT_EQ(memory[3], 255);  // blue byte of pixel 1 in the first stored row

    // Copies read the source's rows from the top too, also within the target itself.
    canvas.CopyRect(Rect(0, 1, 4, 2), canvas, Rect(0, 0, 4, 1));
    EXPECT_EQ(canvas.Pixels(1, 1), kRed);
    EXPECT_EQ(memory[kStride + 5], 255);
    EXPECT_EQ(rows.constBits(), memory.data());  // still drawing on the outside memory
    QImage tile = Filled(4, 3, qRgb(0, 255, 0));
    TCanvas(&tile).CopyRect(Rect(0, 0, 4, 3), canvas, Rect(0, 0, 4, 3));
    EXPECT_EQ(tile.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(tile.pixel(1, 2), qRgb(0, 0, 255));
}

TEST(CanvasStretch, NearestNeighbourMirroringAndEmptyRects) {
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    QImage image = Filled(5, 1, qRgb(0, 255, 0));
    TCanvas canvas(&image);
    const auto row = [&] {
        QString s;
        for (int x = 0; x < 5; ++x)
            s += canvas.Pixels(x, 0) == kRed ? 'R' : canvas.Pixels(x, 0) == kBlue ? 'B' : '.';
        return s;
    };
    canvas.StretchDrawImage(Rect(0, 0, 5, 1), source);
    EXPECT_EQ(row(), "RRRBB");
    canvas.StretchDrawImage(Rect(5, 0, 0, 1), source);
    EXPECT_EQ(row(), "BBRRR");
    image = Filled(5, 1, qRgb(0, 255, 0));
    canvas.StretchDrawImage(Rect(0, 0, 0, 1), source);
    canvas.StretchDrawImage(Rect(0, 0, 5, 0), source);
    EXPECT_EQ(row(), ".....");
}

TEST(CanvasStretch, CopyModesApplyPerPixel) {
    QImage source = Patterned(QImage::Format_BGR888, 6, 4);
    QImage image = Patterned(QImage::Format_RGB32, 6, 4).mirrored(true, false);
    const QImage original = image.copy();
    TCanvas canvas(&image);
    canvas.CopyMode = cmSrcInvert;
    canvas.StretchDrawImage(Rect(0, 0, 6, 4), source);
    EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, (original.pixel(2, 1) ^ source.pixel(2, 1)) & 0xFFFFFF);
    canvas.StretchDrawImage(Rect(0, 0, 6, 4), source);
    EXPECT_EQ(image, original);
    canvas.CopyMode = cmSrcAnd;
    canvas.StretchDrawImage(Rect(0, 0, 6, 4), source);
    EXPECT_EQ(image.pixel(3, 2) & 0xFFFFFF, original.pixel(3, 2) & source.pixel(3, 2) & 0xFFFFFF);
}

TEST(CanvasStretch, CopyRectLeavesPixelsWithoutSourceAndHandlesOverlap) {
    QImage picture = Patterned(QImage::Format_BGR888, 10, 10);
    const QImage original = picture.copy();
    QImage tile = Filled(4, 4, qRgb(0, 255, 0));
    TCanvas source(&picture), canvas(&tile);
    canvas.CopyRect(Rect(0, 0, 4, 4), source, Rect(-2, 0, 2, 4));
    EXPECT_EQ(canvas.Pixels(0, 0), RGBToColor(0, 255, 0));
    EXPECT_EQ(tile.pixel(2, 3), original.pixel(0, 3));

    // Copying a picture onto itself reads the pixels as they were before.
    source.CopyRect(Rect(1, 0, 10, 10), source, Rect(0, 0, 9, 10));
    EXPECT_EQ(picture.pixel(9, 5), original.pixel(8, 5));
    EXPECT_EQ(picture.pixel(1, 5), original.pixel(0, 5));
}

class CanvasText : public ::testing::Test {
protected:
    void SetUp() override { test::RequireGuiApp(); }
};

TEST_F(CanvasText, TextIsWrittenInTheFontColourOverTheBrush) {
    QImage image = Filled(80, 30, qRgb(255, 255, 255));
    TCanvas canvas(&image);
    canvas.Font.Color = kRed;
    canvas.Brush.Color = kBlue;
    canvas.Pen.Mode = TPenMode::pmNot;  // text ignores it
    const int width = canvas.TextWidth("W8"), height = canvas.TextHeight("W8");
    ASSERT_GT(width, 0);
    canvas.TextOut(5, 4, "W8");
    EXPECT_EQ(canvas.PenPos(), (TPoint{5 + width, 4}));
    const QRect cell(5, 4, width, height);
    EXPECT_TRUE(cell.contains(BoundsOf(PixelsOf(canvas, kBlue))));
    EXPECT_TRUE(cell.contains(BoundsOf(PixelsOf(canvas, kRed))));
    EXPECT_GT(PixelsOf(canvas, kRed).size(), 5u);
    EXPECT_EQ(PixelsOf(canvas, kRed).size() + PixelsOf(canvas, kBlue).size(), size_t(width * height));
}

TEST(CanvasFont, SizeHeightAndCharset) {
    TFont font;
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Height(), -11);
    font.SetHeight(-13);
    EXPECT_EQ(font.Size(), 10);
    font.SetCharset(128);
    EXPECT_EQ(font.Charset(), 128);
    EXPECT_THROW(font.SetCharset(256), ERangeError);
    EXPECT_THROW(font.SetCharset(-1), ERangeError);
}

TEST(CanvasRasterOps, TernaryCodesMatchTheirNames) {
    const uint32_t P = 0xF0F0, S = 0xCCCC, D = 0xAAAA;
    EXPECT_EQ(ApplyRop3(Rop3Table(cmSrcCopy), P, S, D) & 0xFFFF, S);
    EXPECT_EQ(ApplyRop3(Rop3Table(cmSrcPaint), P, S, D) & 0xFFFF, S | D);
    EXPECT_EQ(ApplyRop3(Rop3Table(cmNotSrcCopy), P, S, D) & 0xFFFF, ~S & 0xFFFF);
    EXPECT_EQ(ApplyRop3(Rop3Table(cmDstInvert), P, S, D) & 0xFFFF, ~D & 0xFFFF);
    EXPECT_EQ(ApplyRop3(Rop3Table(cmMergeCopy), P, S, D) & 0xFFFF, P & S);
    EXPECT_EQ(ApplyRop3(Rop3Table(cmSrcErase), P, S, D) & 0xFFFF, S & ~D & 0xFFFF);
}

}  // namespace
}  // namespace tam32
