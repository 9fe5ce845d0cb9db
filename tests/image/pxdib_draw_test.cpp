// Drawing a bitmap graphic, the canvas over its pixels, and the exchange
// with the platform bitmap.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "image/PxDIB.h"
#include "image/PxDIBCanvas.h"
#include "platform/Bitmap.h"
#include "platform/Canvas.h"
#include "platform/Stream.h"

using namespace tam32;
using namespace tam32::test;

namespace {

// A picture with a different colour in every pixel position class.
void Paint(TPxDIB& Dib, int Bits, int W, int H) {
    Dib.SetBitCount(Bits);
    Dib.SetWidth(W);
    Dib.SetHeight(H);
    if (Bits != 24) {
        std::vector<TPaletteEntry> entries;
        for (int i = 0; i < GetNumColors(Bits); ++i)
            entries.push_back({uint8_t(i * 17), uint8_t(255 - i * 13), uint8_t(i * 7), 0});
        Dib.SetPalette(CreatePalette(entries));
    }
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            Dib.SetPixels(x, y, Bits == 24 ? RGBToColor(uint8_t(x * 40), uint8_t(y * 50), uint8_t(x + y))
                                           : (x / 8 + 2 * y) % GetNumColors(Bits));
}

TColor ExpectedColour(TPxDIB& Dib, int X, int Y) {
    const TColor v = Dib.GetPixels(X, Y);
    if (Dib.GetBitCount() == 24) return v;
    const RGBQUAD& c = Dib.DIB().Infos.Colors[v];
    return RGBToColor(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

TColor At(const QImage& Image, int X, int Y) {
    const QRgb p = Image.pixel(X, Y);
    return RGBToColor(uint8_t(qRed(p)), uint8_t(qGreen(p)), uint8_t(qBlue(p)));
}

}  // namespace

TEST(PxDIBDraw, OneToOneDrawingGivesTheSamePixelsAtEveryDepth) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TPxDIB dib;
        Paint(dib, bits, 31, 5);
        QImage target(31, 5, QImage::Format_BGR888);
        target.fill(Qt::magenta);
        TCanvas canvas(&target);
        dib.Draw(canvas, Rect(0, 0, 31, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 31; ++x) ASSERT_EQ(At(target, x, y), ExpectedColour(dib, x, y)) << x << "," << y;
        if (bits != 4 && bits != 8) continue;
        // The same picture run-length encoded draws the same.
        TPxDIB encoded;
        encoded.Assign(&dib);
        encoded.SetPixelFormat(bits == 4 ? pxPf4BitRLE : pxPf8BitRLE);
        QImage second(31, 5, QImage::Format_BGR888);
        TCanvas canvas2(&second);
        encoded.Draw(canvas2, Rect(0, 0, 31, 5));
        EXPECT_EQ(second, target);
    }
}

TEST(PxDIBDraw, MonoPaletteModeDrawsOnlyBlackAndWhite) {
    TPxDIB dib;
    Paint(dib, 24, 16, 16);
    dib.PaletteMode = pxPmMono;
    QImage target(32, 32, QImage::Format_BGR888);
    TCanvas canvas(&target);
    dib.Draw(canvas, Rect(0, 0, 32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const TColor c = At(target, x, y);
            ASSERT_TRUE(c == clBlack || c == clWhite) << x << "," << y;
        }
    EXPECT_EQ(dib.PaletteMode, pxPmMono);
}

TEST(PxDIBCanvas, DrawsIntoTheGraphicsOwnPixels) {
    for (int bits : {24, 8, 4, 1}) {
        for (int height : {4, -4}) {
            SCOPED_TRACE(testing::Message() << bits << " bits, height " << height);
            TPxDIB dib;
            Paint(dib, bits, 6, 4);
            dib.SetHeight(height);
            Paint(dib, bits, 6, std::abs(height));
            if (height < 0) dib.SetHeight(height);
            TPxDIB shared;
            shared.Assign(&dib);
            int changes = 0;
            dib.OnChange = [&](TObject*) { ++changes; };
            const TColor before = ExpectedColour(dib, 2, 1);
            {
                TPxDIBCanvas canvas(&dib);
                canvas.Pen.Mode = TPenMode::pmNot;
                canvas.MoveTo(0, 1);
                canvas.LineTo(6, 1);
            }
            EXPECT_EQ(changes, 1);
            EXPECT_EQ(ExpectedColour(shared, 2, 1), before);  // the shared copy is untouched
            if (bits == 24) {
                EXPECT_EQ(dib.GetPixels(2, 1), before ^ 0xFFFFFF);
            }
            {
                TPxDIBCanvas canvas(&dib);
                canvas.Pen.Mode = TPenMode::pmNot;
                canvas.MoveTo(0, 1);
                canvas.LineTo(6, 1);
            }
            if (bits == 24) {
                EXPECT_EQ(dib.GetPixels(2, 1), before);  // inverted twice: restored
            }
        }
    }
}

TEST(PxDIBCanvas, RefusesCompressedImages) {
    TPxDIB dib;
    dib.SetWidth(32);
    dib.SetHeight(4);
    dib.SetPixelFormat(pxPf8BitRLE);
    EXPECT_THROW(TPxDIBCanvas canvas(&dib), EOutOfResources);
    EXPECT_THROW(TPxDIBCanvas canvas(nullptr), EPxDIBCanvasFailed);
}

TEST(PxDIBBitmap, ExchangeWithThePlatformBitmapKeepsPixels) {
    for (int bits : {1, 4, 8, 24}) {
        SCOPED_TRACE(bits);
        TPxDIB dib;
        Paint(dib, bits, 5, 3);
        TBitmap bitmap;
        bitmap.Assign(&dib);
        EXPECT_EQ(bitmap.Width(), 5);
        EXPECT_EQ(bitmap.Height(), 3);
        TPxDIB back;
        back.Assign(&bitmap);
        EXPECT_EQ(back.GetBitCount(), bits);
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(ExpectedColour(back, x, y), ExpectedColour(dib, x, y));
    }
}
