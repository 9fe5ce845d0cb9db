// Reading and writing BMP files: every accepted variant, and the layout of
// what the model writes back.
#include <gtest/gtest.h>

#include "bmp_builder.h"
#include "image/PxDIB.h"
#include "platform/Stream.h"

using namespace tam32;
using namespace tam32::test;

namespace {

void LoadBytes(TPxDIB& Dib, const std::vector<uint8_t>& Bytes) {
    TMemoryStream stream(Bytes);
    Dib.LoadFromStream(stream);
}

std::vector<uint8_t> SaveBytes(TPxDIB& Dib) {
    TMemoryStream stream;
    Dib.SaveToStream(stream);
    return stream.Data();
}

const BITMAPINFOHEADER& HeaderOf(const TPxDIB& Dib) { return Dib.DIB().Infos.Header; }

}  // namespace

TEST(BmpFileRead, IndexedFilesKeepTheirBitsAndTable) {
    for (uint16_t bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        BmpSpec s;
        s.Width = 5;
        s.Height = 3;
        s.BitCount = bits;
        s.ClrUsed = static_cast<uint32_t>(GetNumColors(bits));
        s.Colors = GreyTable(GetNumColors(bits));
        for (int i = 0; i < DIBRowSize(bits, 5) * 3; ++i) s.Bits.push_back(static_cast<uint8_t>(i * 37 + 1));
        TPxDIB dib;
        LoadBytes(dib, MakeBmp(s));
        EXPECT_EQ(dib.Width(), 5);
        EXPECT_EQ(dib.Height(), 3);
        EXPECT_EQ(HeaderOf(dib).biClrUsed, uint32_t(GetNumColors(bits)));
        const auto& infos = dib.DIB().Infos;
        EXPECT_EQ(std::vector<uint8_t>(infos.Bits, infos.Bits + infos.BitsSize), s.Bits);
        EXPECT_EQ(dib.DIB().Infos.Colors[1].rgbRed, s.Colors[1].rgbRed);
        // Written back, the file is the same bytes (header, table, pixels).
        EXPECT_EQ(SaveBytes(dib), MakeBmp(s));
    }
}

TEST(BmpFileRead, ZeroResolutionBecomes3780AndTopDownSignIsKept) {
    BmpSpec s;
    s.Width = 2;
    s.Height = -2;
    s.XPels = 0;
    s.YPels = 0;
    s.Bits = {1, 2, 3, 4, 5, 6, 0, 0, 7, 8, 9, 10, 11, 12, 0, 0};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(HeaderOf(dib).biHeight, -2);
    EXPECT_EQ(dib.Height(), 2);
    EXPECT_EQ(HeaderOf(dib).biXPelsPerMeter, 3780);
    EXPECT_EQ(dib.GetPixels(0, 0), RGBToColor(3, 2, 1));  // top row is the first stored row
    const auto out = SaveBytes(dib);
    BITMAPINFOHEADER written;
    std::memcpy(&written, out.data() + 14, 40);
    EXPECT_EQ(written.biHeight, -2);
}

TEST(BmpFileRead, ColourCountAbove256KeepsTheFirst256) {
    BmpSpec s;
    s.BitCount = 8;
    s.ClrUsed = 300;
    s.Colors = std::vector<RGBQUAD>(300, RGBQUAD{1, 2, 3, 0});
    s.Colors[255] = {9, 9, 9, 0};
    s.Bits = {255, 0, 0, 0};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 256u);
    EXPECT_EQ(dib.DIB().Infos.Colors[255].rgbRed, 9);
    EXPECT_EQ(dib.GetPixels(0, 0), 255);
}

TEST(BmpFileRead, SixteenBitDefaultMasksAre555) {
    BmpSpec s;
    s.Width = 2;
    s.BitCount = 16;
    s.Bits = {0xFF, 0x7F, 0x01, 0x00};  // 0x7FFF, 0x0001
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(dib.GetBitCount(), 24);
    EXPECT_EQ(HeaderOf(dib).biCompression, BI_RGB);
    EXPECT_EQ(dib.GetPixels(0, 0), RGBToColor(255, 255, 255));
    EXPECT_EQ(dib.GetPixels(1, 0), RGBToColor(0, 0, 8));
}

TEST(BmpFileRead, BitFieldMasks565ScaleEachChannelToFullRange) {
    BmpSpec s;
    s.Width = 3;
    s.BitCount = 16;
    s.Compression = BI_BITFIELDS;
    s.Masks = {0xF800, 0x07E0, 0x001F};
    s.Bits = {0x00, 0xF8, 0xE0, 0x07, 0x20, 0x00, 0, 0};  // full red, full green, green 1
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(dib.GetPixels(0, 0), RGBToColor(255, 0, 0));
    EXPECT_EQ(dib.GetPixels(1, 0), RGBToColor(0, 255, 0));
    EXPECT_EQ(dib.GetPixels(2, 0), RGBToColor(0, 4 * 255 / 252, 0));
}

TEST(BmpFileRead, ThirtyTwoBitPixelsAndColoursAfterTheMasks) {
    BmpSpec s;
    s.Width = 1;
    s.Height = 2;
    s.BitCount = 32;
    s.Compression = BI_BITFIELDS;
    s.ClrUsed = 2;
    s.Masks = {0x00FF0000, 0x0000FF00, 0x000000FF};
    s.Colors = {{10, 20, 30, 0}, {40, 50, 60, 0}};
    s.Bits = {0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x00};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(dib.GetPixels(0, 1), RGBToColor(0x33, 0x22, 0x11));  // bottom-up: first row is the bottom
    EXPECT_EQ(dib.GetPixels(0, 0), RGBToColor(0x66, 0x55, 0x44));
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 2u);
    EXPECT_EQ(dib.DIB().Infos.Colors[0].rgbBlue, 10);  // moved down over the masks
    EXPECT_EQ(dib.DIB().Infos.Colors[1].rgbRed, 60);
}

TEST(BmpFileRead, CoreHeaderBecomesInfoHeaderWith256Quads) {
    BmpSpec s;
    s.HeaderSize = 12;
    s.Width = 4;
    s.Height = 1;
    s.BitCount = 8;
    s.Colors = GreyTable(256);
    s.Colors[7] = {1, 2, 3, 0};
    s.Bits = {7, 0, 0, 7};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(HeaderOf(dib).biSize, 40u);
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 256u);
    EXPECT_EQ(dib.DIB().Infos.Colors[7].rgbBlue, 1);
    EXPECT_EQ(dib.DIB().Infos.Colors[7].rgbRed, 3);
    const auto out = SaveBytes(dib);
    EXPECT_EQ(ReadU32(out, 10), 1078u);
    EXPECT_EQ(ReadU32(out, 14), 40u);
    EXPECT_EQ(ReadU32(out, 2), 1078u + 4u);
}

TEST(BmpFileRead, RleDataStaysCompressed) {
    BmpSpec s;
    s.Width = 4;
    s.Height = 1;
    s.BitCount = 8;
    s.Compression = BI_RLE8;
    s.SizeImage = 6;
    s.ClrUsed = 256;
    s.Colors = GreyTable(256);
    s.Bits = {4, 9, 0, 0, 0, 1};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(dib.GetPixelFormat(), pxPf8BitRLE);
    EXPECT_EQ(dib.DIB().Infos.BitsSize, 6u);
    EXPECT_EQ(SaveBytes(dib), MakeBmp(s));
}

TEST(BmpFileWrite, OffsetsFollowTheColourTable) {
    TPxDIB dib;  // 1 x 1, 8 bits, 256 colours
    auto out = SaveBytes(dib);
    EXPECT_EQ(ReadU32(out, 10), 1078u);
    EXPECT_EQ(ReadU32(out, 2), 1078u + 4u);
    dib.SetBitCount(24);  // no colour table
    out = SaveBytes(dib);
    EXPECT_EQ(ReadU32(out, 10), 54u);
    EXPECT_EQ(out.size(), 54u + 4u);
}

TEST(BmpFileRead, RefusalsNameTheProblem) {
    struct Case {
        const char* Name;
        BmpSpec Spec;
        const char* Message;
    };
    std::vector<Case> cases;
    {
        BmpSpec s;
        s.Type = 0x4D43;
        cases.push_back({"type", s, "TPxInternalDIB.LoadFromFile: File type is invalid"});
    }
    for (uint32_t size : {108u, 124u, 64u}) {
        BmpSpec s;
        s.HeaderSize = size;
        cases.push_back({"header size", s, "TPxInternalDIB.LoadFromStream: Invalid Bitmap Header Size"});
    }
    {
        BmpSpec s;
        s.BitCount = 2;
        cases.push_back({"bit count", s, "TPxInternalDIB.LoadFromStream: Invalid BitCout"});
    }
    {
        BmpSpec s;
        s.HeaderSize = 12;
        s.BitCount = 16;
        cases.push_back({"core bit count", s, "TPxInternalDIB.LoadFromStream: Invalid BitCount"});
    }
    {
        BmpSpec s;
        s.BitCount = 8;
        s.Colors = GreyTable(256);
        s.Bits = {0, 0, 0, 0};
        s.OffBits = 54 + 1020;
        cases.push_back({"offset", s, "TPxInternalDIB.LoadFromFile: bfOffBits is too small"});
    }
    {
        BmpSpec s;
        s.BitCount = 8;
        s.ClrUsed = 0xFFFFFFFF;
        s.Colors = GreyTable(256);
        cases.push_back({"colour count", s, "TPxInternalDIB.LoadFromFile: bfOffBits is too small"});
    }
    {
        BmpSpec s;
        s.BitCount = 16;
        s.Compression = BI_BITFIELDS;
        s.Masks = {0xF800, 0, 0x1F};
        s.Bits = {0, 0, 0, 0};
        cases.push_back({"mask", s, "TPxInternalDIB.LoadFromStream: Invalid Masks"});
    }
    {
        BmpSpec s;
        s.BitCount = 32;
        s.Compression = 6;  // alpha bit fields: no masks were read
        s.Bits = {0, 0, 0, 0};
        cases.push_back({"unknown compression", s, "TPxInternalDIB.LoadFromStream: Invalid Masks"});
    }
    for (auto [w, h] : {std::pair{0, 1}, {-3, 1}, {1, 0}, {1 << 30, 1}, {1, INT32_MIN}, {100000, 100000}}) {
        BmpSpec s;
        s.Width = w;
        s.Height = h;
        cases.push_back({"dimensions", s, "TPxInternalDIB.LoadFromStream: Invalid Width or Height"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPxDIB dib;
        dib.SetBitCount(24);
        try {
            LoadBytes(dib, MakeBmp(c.Spec));
            ADD_FAILURE() << "accepted";
        } catch (const EPxDIBError& e) {
            EXPECT_EQ(e.Message(), QString::fromLatin1(c.Message));
        }
        EXPECT_EQ(dib.GetBitCount(), 24);  // the previous image remains
    }
}

TEST(BmpFileRead, ShortPixelDataIsAReadError) {
    BmpSpec s;
    s.Width = 4;
    s.Height = 4;
    s.Bits = std::vector<uint8_t>(47, 0);  // 48 needed
    TPxDIB dib;
    EXPECT_THROW(LoadBytes(dib, MakeBmp(s)), EReadError);
    s.BitCount = 16;
    s.Bits = std::vector<uint8_t>(31, 0);  // 4 rows of 8 bytes needed
    EXPECT_THROW(LoadBytes(dib, MakeBmp(s)), EReadError);
}

TEST(BmpFileRead, FileSizeFieldIsNotTrustedForUncompressedPixels) {
    BmpSpec s;
    s.Width = 1;
    s.Height = 2;
    s.Bits = {1, 2, 3, 0, 4, 5, 6, 0};
    for (uint32_t stated : {0u, 20u, 0xFFFFFFFFu}) {
        s.FileSize = stated;
        TPxDIB dib;
        LoadBytes(dib, MakeBmp(s));
        EXPECT_EQ(dib.DIB().Infos.BitsSize, 8u);
        EXPECT_EQ(dib.GetPixels(0, 1), RGBToColor(3, 2, 1));
    }
}

TEST(BmpFileRead, EveryTruncationIsRefusedCleanly) {
    for (uint16_t bits : {1, 4, 8, 16, 24, 32}) {
        BmpSpec s;
        s.Width = 3;
        s.Height = 3;
        s.BitCount = bits;
        s.Colors = GreyTable(GetNumColors(bits));
        s.Bits = std::vector<uint8_t>(size_t(DIBRowSize(bits, 3) * 3), 0x5A);
        const auto full = MakeBmp(s);
        for (size_t n = 0; n < full.size(); ++n) {
            TPxDIB dib;
            const std::vector<uint8_t> cut(full.begin(), full.begin() + static_cast<long>(n));
            EXPECT_ANY_THROW(LoadBytes(dib, cut)) << bits << " bits, " << n << " bytes";
        }
    }
}

TEST(BmpFileRead, ZeroColourCountMeansTheFullTable) {
    BmpSpec s;
    s.BitCount = 8;
    s.Colors = GreyTable(256);
    s.Bits = {200, 0, 0, 0};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    EXPECT_EQ(HeaderOf(dib).biClrUsed, 256u);
    EXPECT_EQ(dib.DIB().Infos.Colors[200].rgbGreen, 200);
}

TEST(BmpFileRead, Rle8RunsMayFillTheRowPaddingButNoFurther) {
    BmpSpec s;
    s.Width = 5;  // rows padded to 8 bytes
    s.Height = 1;
    s.BitCount = 8;
    s.Compression = BI_RLE8;
    s.Colors = GreyTable(256);
    s.Bits = {8, 9, 0, 0, 0, 1};
    TPxDIB dib;
    LoadBytes(dib, MakeBmp(s));
    dib.SetPixelFormat(pxPf8Bit);
    const uint8_t* row = dib.GetScanLine(0);
    EXPECT_EQ(std::vector<uint8_t>(row, row + 8), (std::vector<uint8_t>{9, 9, 9, 9, 9, 0, 0, 0}));

    s.Bits = {9, 9, 0, 0, 0, 1};
    LoadBytes(dib, MakeBmp(s));
    try {
        dib.SetPixelFormat(pxPf24Bit);
        ADD_FAILURE();
    } catch (const EPxDIBInvalidDIB& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Convert8BitRLETo8BitRGB: Bad RLE Data 4"));
    }
}

TEST(BmpFileRead, DimensionsWhoseBlockSizeOverflowsAreRefused) {
    BmpSpec s;
    s.Width = 0x7FFFFFFF;
    s.Height = 0x7FFFFFFF;
    s.BitCount = 32;
    TPxDIB dib;
    try {
        LoadBytes(dib, MakeBmp(s));
        ADD_FAILURE();
    } catch (const EPxDIBInvalidDIB& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TPxInternalDIB.LoadFromStream: Invalid Width or Height"));
    }
}
