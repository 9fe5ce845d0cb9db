#include "platform/Bitmap.h"

#include <gtest/gtest.h>

#include "platform/Exceptions.h"
#include "platform/PackedDib.h"
#include "platform/Stream.h"

namespace tam32 {
namespace {

constexpr TColor kRed = 0x0000FF;
constexpr TColor kGreen = 0x00FF00;

void MakeBitmap(TBitmap& Bitmap, TPixelFormat Format, int W, int H) {
    Bitmap.SetPixelFormat(Format);
    Bitmap.SetSize(W, H);
}

TEST(BitmapFormats, EachPixelFormatHasItsPictureFormat) {
    const std::vector<std::pair<TPixelFormat, QImage::Format>> formats = {
        {TPixelFormat::pf1bit, QImage::Format_Mono},     {TPixelFormat::pf4bit, QImage::Format_Indexed8},
        {TPixelFormat::pf8bit, QImage::Format_Indexed8}, {TPixelFormat::pf15bit, QImage::Format_RGB555},
        {TPixelFormat::pf16bit, QImage::Format_RGB16},   {TPixelFormat::pf24bit, QImage::Format_BGR888},
        {TPixelFormat::pf32bit, QImage::Format_RGB32},   {TPixelFormat::pfDevice, QImage::Format_RGB32}};
    for (const auto& [format, qtFormat] : formats) {
        TBitmap bitmap;
        MakeBitmap(bitmap, format, 5, 3);
        EXPECT_EQ(bitmap.PixelFormat(), format);
        EXPECT_EQ(bitmap.Image().format(), qtFormat) << int(format);
        // New pixels take the brush colour (white), on palette formats too.
        EXPECT_EQ(bitmap.Canvas().Pixels(4, 2), clWhite) << int(format);
    }
}

TEST(BitmapFormats, ConversionKeepsColoursItCanShow) {
    TBitmap bitmap;
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 4, 2);
    bitmap.Canvas().SetPixels(1, 1, kRed);
    bitmap.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), kRed);
    bitmap.SetPixelFormat(TPixelFormat::pf4bit);
    EXPECT_LE(bitmap.Image().colorCount(), 16);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), kRed);
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), kRed);
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), clWhite);
    bitmap.SetPixelFormat(TPixelFormat::pf1bit);
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), clWhite);
    EXPECT_EQ(bitmap.Canvas().Pixels(1, 1), clBlack);
}

TEST(BitmapPixels, ScanLineOfA24BitBitmapIsBlueGreenRed) {
    TBitmap bitmap;
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 3, 2);
    bitmap.Canvas().SetPixels(2, 1, kRed);
    const uint8_t* row = bitmap.ScanLine(1);
    EXPECT_EQ(row[6], 0);
    EXPECT_EQ(row[7], 0);
    EXPECT_EQ(row[8], 255);

    uint8_t* top = bitmap.ScanLine(0);
    top[0] = 0x10, top[1] = 0x20, top[2] = 0x30;  // B, G, R
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), RGBToColor(0x30, 0x20, 0x10));
}

TEST(BitmapPixels, ScanLineIndexIsRangeChecked) {
    TBitmap bitmap;
    EXPECT_THROW(bitmap.ScanLine(0), EInvalidGraphicOperation);
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 3, 2);
    for (int y : {-1, 2}) {
        try {
            bitmap.ScanLine(y);
            FAIL() << y;
        } catch (const EInvalidGraphicOperation& e) {
            EXPECT_EQ(e.Message(), "Scan line index out of range");
        }
    }
}

TEST(BitmapSize, ResizingKeepsTheTopLeftContent) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(TPixelFormat::pf24bit);
    bitmap.SetWidth(4);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(3);
    ASSERT_FALSE(bitmap.Empty());
    bitmap.Canvas().SetPixels(3, 2, kRed);
    bitmap.Canvas().SetPixels(0, 0, kGreen);
    bitmap.SetSize(6, 5);
    EXPECT_EQ(bitmap.Canvas().Pixels(3, 2), kRed);
    EXPECT_EQ(bitmap.Canvas().Pixels(5, 4), clWhite);
    bitmap.SetSize(2, 2);
    EXPECT_EQ(bitmap.Canvas().Pixels(0, 0), kGreen);
    EXPECT_EQ(bitmap.Width(), 2);
    EXPECT_THROW(bitmap.SetWidth(-1), EInvalidGraphic);
}

TEST(BitmapPalette, PaletteBitmapsAreDrawnInPlaceWithoutReindexing) {
    // Entries 0 and 1 are both white: drawing must not move pixels between them.
    TBitmap bitmap;
    MakeBitmap(bitmap, TPixelFormat::pf8bit, 6, 4);
    bitmap.SetPalette(CreatePalette({{255, 255, 255, 0}, {255, 255, 255, 0}, {250, 0, 0, 0}, {0, 0, 0, 0}}));
    for (int y = 0; y < 4; ++y) std::fill_n(bitmap.ScanLine(y), 6, uint8_t(1));
    bitmap.Canvas().Pen.Color = kRed;
    bitmap.Canvas().MoveTo(0, 0);
    bitmap.Canvas().LineTo(6, 0);
    EXPECT_EQ(bitmap.ScanLine(0)[3], 2);
    EXPECT_EQ(bitmap.ScanLine(2)[3], 1);
    ASSERT_NE(bitmap.GetPalette(), nullptr);
    EXPECT_EQ(bitmap.GetPalette()->Entries()[2].peRed, 250);
    EXPECT_EQ(bitmap.Image().colorCount(), 16);  // the table keeps its length
}

TEST(BitmapCopies, AssignCopiesAndNilEmpties) {
    TBitmap original, copy;
    MakeBitmap(original, TPixelFormat::pf24bit, 3, 3);
    copy.Assign(&original);
    copy.ScanLine(1)[0] = 0x42;
    EXPECT_NE(original.ScanLine(1)[0], 0x42);
    EXPECT_EQ(copy.PixelFormat(), TPixelFormat::pf24bit);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(BitmapCopies, CanvasChangesNotifyAndDrawStretches) {
    TBitmap bitmap;
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 2, 1);
    int changes = 0;
    bitmap.OnChange = [&](TObject*) { ++changes; };
    bitmap.Canvas().SetPixels(0, 0, kRed);
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(bitmap.Modified());

    TBitmap target;
    MakeBitmap(target, TPixelFormat::pf32bit, 4, 2);
    target.Canvas().StretchDraw(Rect(0, 0, 4, 2), bitmap);
    EXPECT_EQ(target.Canvas().Pixels(1, 1), kRed);
    EXPECT_EQ(target.Canvas().Pixels(2, 0), clWhite);
}

class BitmapFiles : public ::testing::TestWithParam<TPixelFormat> {};

TEST_P(BitmapFiles, SavedAndLoadedBitmapKeepsPixelsAndFormat) {
    TBitmap bitmap, loaded;
    MakeBitmap(bitmap, GetParam(), 7, 5);
    bitmap.Canvas().SetPixels(6, 0, clBlack);
    bitmap.Canvas().SetPixels(0, 4, clBlack);
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.PixelFormat(), GetParam());
    EXPECT_EQ(loaded.Width(), 7);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(loaded.Canvas().Pixels(x, y), bitmap.Canvas().Pixels(x, y));
}

INSTANTIATE_TEST_SUITE_P(Formats, BitmapFiles,
                         ::testing::Values(TPixelFormat::pf1bit, TPixelFormat::pf8bit,
                                           TPixelFormat::pf24bit));

TEST(BitmapFiles, BadDataIsRefusedAndLeavesTheBitmap) {
    TBitmap bitmap;
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 3, 2);
    TMemoryStream good;
    bitmap.SaveToStream(good);
    std::vector<uint8_t> truncated(good.Data().begin(), good.Data().begin() + 40);
    for (const std::vector<uint8_t>& bytes : {std::vector<uint8_t>{'B', 'M', 1, 2}, truncated}) {
        TMemoryStream stream(bytes);
        EXPECT_THROW(bitmap.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_EQ(bitmap.Width(), 3);
        EXPECT_EQ(bitmap.PixelFormat(), TPixelFormat::pf24bit);
    }
}

TEST(BitmapClipboardFormat, BlocksRoundTripAndOtherFormatsAreRefused) {
    TBitmap bitmap, loaded;
    MakeBitmap(bitmap, TPixelFormat::pf24bit, 3, 2);
    bitmap.Canvas().SetPixels(2, 1, kRed);
    uint16_t format = 0;
    HGLOBAL data = nullptr;
    HPALETTE palette;
    bitmap.SaveToClipboardFormat(format, data, palette);
    EXPECT_EQ(format, CF_BITMAP);
    ASSERT_NE(data, nullptr);
    loaded.LoadFromClipboardFormat(format, data, palette);
    EXPECT_EQ(loaded.Canvas().Pixels(2, 1), kRed);
    EXPECT_THROW(loaded.LoadFromClipboardFormat(CF_DIB, data, nullptr), EInvalidGraphic);
    GlobalFree(data);
    EXPECT_THROW(loaded.LoadFromClipboardFormat(CF_BITMAP, nullptr, nullptr), EInvalidGraphic);
}

}  // namespace
}  // namespace tam32
