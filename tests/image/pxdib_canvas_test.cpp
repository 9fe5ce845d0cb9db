// The canvas over a bitmap graphic while it lives: readers and writers of
// the graphic meet the canvas's pixels at every depth and row order, and the
// store stays in place under it.
#include <gtest/gtest.h>

#include <functional>

#include "image/PxDIB.h"
#include "image/PxDIBCanvas.h"
#include "platform/MemoryHandle.h"
#include "platform/Stream.h"

using namespace tam32;

namespace {

constexpr int kWidth = 9, kRows = 5;

// A blank picture of Bits whose palette entry i is (i * 15, 255 - i * 15, 3 * i).
void MakePicture(TPxDIB& Dib, int Bits, int Height) {
    Dib.SetBitCount(Bits);
    Dib.SetWidth(kWidth);
    Dib.SetHeight(Height);
    if (Bits == 24) return;
    std::vector<TPaletteEntry> entries;
    for (int i = 0; i < GetNumColors(Bits); ++i)
        entries.push_back({uint8_t(i * 15), uint8_t(255 - i * 15), uint8_t(3 * i), 0});
    Dib.SetPalette(CreatePalette(entries));
}

// The colour of pixel value Value as the canvas takes it.
TColor ColourOf(TPxDIB& Dib, TColor Value) {
    if (Dib.GetBitCount() == 24) return Value;
    const RGBQUAD& c = Dib.DIB().Infos.Colors[Value];
    return RGBToColor(c.rgbRed, c.rgbGreen, c.rgbBlue);
}

struct TDepth {
    int Bits;
    int Height;  // negative: rows stored top-down
};

const TDepth kDepths[] = {{24, kRows}, {24, -kRows}, {8, kRows}, {8, -kRows},
                          {4, kRows},  {4, -kRows},  {1, kRows}, {1, -kRows}};

// A pixel value other than 0 that the depth holds.
TColor InkValue(int Bits) { return Bits == 24 ? RGBToColor(200, 30, 90) : 1; }

// Runs Check on a blank picture of every depth and row order with a canvas
// over it whose pen draws the ink value.
void ForEachDepth(const std::function<void(TPxDIB& Dib, TPxDIBCanvas& Canvas, TColor Ink)>& Check) {
    for (const TDepth depth : kDepths) {
        SCOPED_TRACE(testing::Message() << depth.Bits << " bits, height " << depth.Height);
        TPxDIB dib;
        MakePicture(dib, depth.Bits, depth.Height);
        const TColor ink = InkValue(depth.Bits);
        TPxDIBCanvas canvas(&dib);
        canvas.Pen.Color = ColourOf(dib, ink);
        Check(dib, canvas, ink);
    }
}

}  // namespace

TEST(PxDIBCanvasLive, ThePictureShowsEachDrawingWhileTheCanvasLives) {
    ForEachDepth([](TPxDIB& dib, TPxDIBCanvas& canvas, TColor ink) {
        canvas.MoveTo(0, 1);
        canvas.LineTo(kWidth, 1);
        for (int x = 0; x < kWidth; ++x) {
            ASSERT_EQ(dib.GetPixels(x, 1), ink) << x;
            ASSERT_EQ(dib.GetPixels(x, 0), 0) << x;
            ASSERT_EQ(dib.GetPixels(x, 2), 0) << x;
        }
        const uint8_t* row = dib.GetScanLine(1);
        switch (dib.GetBitCount()) {
            case 24: EXPECT_EQ(RGBToColor(row[5], row[4], row[3]), ink); break;
            case 8: EXPECT_EQ(row[kWidth - 1], ink); break;
            case 4: EXPECT_EQ(row[0], 0x11); break;
            case 1: EXPECT_EQ(row[0], 0xFF); break;
        }
        // The canvas reads its rows from the top as well.
        EXPECT_EQ(canvas.Pixels(3, 1), ColourOf(dib, ink));
        EXPECT_EQ(canvas.Pixels(3, kRows - 1), ColourOf(dib, 0));
    });
}

TEST(PxDIBCanvasLive, PixelsSetThroughThePictureSurviveLaterDrawing) {
    ForEachDepth([](TPxDIB& dib, TPxDIBCanvas& canvas, TColor ink) {
        dib.SetPixels(4, 3, ink);
        EXPECT_EQ(canvas.Pixels(4, 3), ColourOf(dib, ink));
        canvas.MoveTo(0, 0);
        canvas.LineTo(kWidth, 0);
        EXPECT_EQ(dib.GetPixels(4, 3), ink);
        EXPECT_EQ(dib.GetPixels(4, 2), 0);
    });
}

TEST(PxDIBCanvasLive, ANewPaletteGuidesTheNextDrawing) {
    TPxDIB dib;
    MakePicture(dib, 8, kRows);
    TPxDIBCanvas canvas(&dib);
    std::vector<TPaletteEntry> entries(256, TPaletteEntry{0, 0, 0, 0});
    entries[7] = {255, 0, 0, 0};
    dib.SetPalette(CreatePalette(entries));
    canvas.Pen.Color = 0x0000FF;  // red
    canvas.MoveTo(0, 2);
    canvas.LineTo(3, 2);
    EXPECT_EQ(dib.GetPixels(1, 2), 7);
}

TEST(PxDIBCanvasLive, ReplacingTheStoreIsRefusedWhileACanvasDraws) {
    TPxDIB other;
    MakePicture(other, 8, 3);
    TMemoryStream file;
    other.SaveToStream(file);
    uint16_t format;
    HGLOBAL block;
    HPALETTE palette;
    other.SaveToClipboardFormat(format, block, palette);
    using TOperation = std::function<void(TPxDIB&)>;
    const std::pair<const char*, TOperation> operations[] = {
        {"TPxDIB.SetWidth", [](TPxDIB& d) { d.SetWidth(40); }},
        {"TPxDIB.SetHeight", [](TPxDIB& d) { d.SetHeight(-40); }},
        {"TPxDIB.SetBitCount", [](TPxDIB& d) { d.SetBitCount(d.GetBitCount() == 1 ? 8 : 1); }},
        {"TPxDIB.SetPixelFormat",
         [](TPxDIB& d) { d.SetPixelFormat(d.GetBitCount() == 1 ? pxPf8Bit : pxPf1Bit); }},
        {"TPxDIB.Assign", [](TPxDIB& d) { d.Assign(nullptr); }},
        {"TPxDIB.Assign", [&](TPxDIB& d) { d.Assign(&other); }},
        {"TPxDIB.LoadFromStream",
         [&](TPxDIB& d) {
             file.Seek(0, SeekOrigin::Beginning);
             d.LoadFromStream(file);
         }},
        {"TPxDIB.LoadFromClipboardFormat", [&](TPxDIB& d) { d.LoadFromClipboardFormat(format, block, palette); }},
    };
    for (const TDepth depth : {TDepth{24, kRows}, TDepth{4, kRows}, TDepth{1, -kRows}}) {
        for (const auto& [name, operation] : operations) {
            SCOPED_TRACE(testing::Message() << name << ", " << depth.Bits << " bits");
            TPxDIB dib;
            MakePicture(dib, depth.Bits, depth.Height);
            const TColor ink = InkValue(depth.Bits);
            {
                TPxDIBCanvas canvas(&dib);
                try {
                    operation(dib);
                    ADD_FAILURE() << "not refused";
                } catch (const EPxDIBError& e) {
                    const QString prefix = QLatin1String(name) + QLatin1Char(':');
                    EXPECT_TRUE(e.Message().startsWith(prefix)) << e.Message().toStdString();
                }
                EXPECT_EQ(dib.Width(), kWidth);
                EXPECT_EQ(dib.GetBitCount(), depth.Bits);
                // The canvas still draws into the graphic.
                canvas.Pen.Color = ColourOf(dib, ink);
                canvas.MoveTo(0, kRows - 1);
                canvas.LineTo(kWidth, kRows - 1);
                EXPECT_EQ(dib.GetPixels(kWidth - 1, kRows - 1), ink);
            }
            EXPECT_NO_THROW(operation(dib));
        }
    }
    GlobalFree(block);
}

TEST(PxDIBCanvasLive, AGraphicAssignedFromOneUnderACanvasGetsACopy) {
    for (const int bits : {24, 4}) {
        SCOPED_TRACE(bits);
        TPxDIB dib;
        MakePicture(dib, bits, kRows);
        const TColor ink = InkValue(bits);
        TPxDIB copy;
        TPxDIBCanvas canvas(&dib);
        canvas.Pen.Color = ColourOf(dib, ink);
        canvas.MoveTo(0, 0);
        canvas.LineTo(kWidth, 0);
        copy.Assign(&dib);
        EXPECT_EQ(dib.DIB().RefCount, 1);
        EXPECT_EQ(copy.GetPixels(2, 0), ink);
        canvas.MoveTo(0, 3);
        canvas.LineTo(kWidth, 3);
        copy.GetScanLine(3)[0] = 0;
        EXPECT_EQ(dib.GetPixels(2, 3), ink);
        EXPECT_EQ(copy.GetPixels(2, 3), 0);
    }
}
