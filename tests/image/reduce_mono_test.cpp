// Conversion to 1 bit by exact colour match.
#include <gtest/gtest.h>

#include "image/PxReduce.h"
#include "reduce_test_util.h"

namespace tam32 {
namespace {

using namespace reduce_test;

void ExpectBlackAndWhite(const TImage& Dest, int Width, int Height) {
    const BITMAPINFOHEADER& h = Dest.Infos.Header;
    EXPECT_TRUE(h.biBitCount == 1 && h.biClrUsed == 2 && h.biCompression == BI_RGB && h.biSizeImage == 0 &&
                h.biWidth == Width && h.biHeight == Height);
    EXPECT_EQ(ColorOf(Dest.Infos.Colors[0]), (TRGB{0, 0, 0}));
    EXPECT_EQ(ColorOf(Dest.Infos.Colors[1]), (TRGB{255, 255, 255}));
    EXPECT_EQ(Dest.Infos.BitsSize, DIBRowSize(1, Width) * std::abs(Height));
}

TEST(MonoMatch, TrueColorOnlyTheExactColourTurnsWhite) {
    const TRGB colors[] = {{255, 255, 255}, {254, 255, 255}, {255, 254, 255}, {255, 255, 254}, {0, 0, 0}};
    TImage src(24, 11, -2);
    src.Fill([&](int x, int r) { return colors[(x + r) % 5]; });
    TImage dest;
    ConvertTrueColorTo1BitRGB(src.Infos, dest.Infos, false, clWhite);
    ExpectBlackAndWhite(dest, 11, -2);
    // Most significant bit first; the rest of the row stays 0.
    EXPECT_EQ(std::vector<uint8_t>(dest.Row(0), dest.Row(0) + 4), (std::vector<uint8_t>{0x84, 0x20, 0, 0}));
    EXPECT_EQ(std::vector<uint8_t>(dest.Row(1), dest.Row(1) + 4), (std::vector<uint8_t>{0x08, 0x40, 0, 0}));

    TImage reversed;  // MonoColor has red in its low byte
    ConvertTrueColorTo1BitRGB(src.Infos, reversed.Infos, false, RGBToColor(255, 255, 254));
    EXPECT_EQ(reversed.Index(3, 0), 1);
}

TEST(MonoMatch, IndexedPixelsMatchThroughTheirColourTableEntry) {
    TImage eight(8, 9, 2), four(4, 9, 2);
    for (TImage* img : {&eight, &four}) {
        for (int i = 0; i < 16; ++i) img->Infos.Colors[i] = {uint8_t(i), 100, 200, 0};
        img->Infos.Colors[3] = img->Infos.Colors[12] = {5, 6, 7, 99};  // two entries of the colour
        for (int r = 0; r < 2; ++r)
            for (int x = 0; x < 9; ++x) img->SetIndex(x, r, (x + 5 * r) % 16);
    }
    TImage fromEight, fromFour;
    Convert8BitTo1BitRGB(eight.Infos, fromEight.Infos, false, RGBToColor(7, 6, 5));
    Convert4BitRGBTo1BitRGB(four.Infos, fromFour.Infos, false, RGBToColor(7, 6, 5));
    for (const TImage* dest : {&fromEight, &fromFour}) {
        ExpectBlackAndWhite(*dest, 9, 2);
        for (int r = 0; r < 2; ++r)
            for (int x = 0; x < 9; ++x) {
                const int index = (x + 5 * r) % 16;
                EXPECT_EQ(dest->Index(x, r), index == 3 || index == 12 ? 1 : 0) << x << "," << r;
            }
    }
}

TEST(MonoMatch, WrongFormatsAndShortBlocksAreRefused) {
    TImage four(4, 8, 8), eight(8, 8, 8), truecolor(24, 8, 8);
    TPxDIBInfos dest;
    ExpectRaises<EPxDIBBadDIBType>([&] { ConvertTrueColorTo1BitRGB(eight.Infos, dest, false, clWhite); },
                                   "ConvertTrueColorTo1BitRGB: Invalid Bitcount");
    ExpectRaises<EPxDIBBadDIBType>([&] { Convert8BitTo1BitRGB(four.Infos, dest, false, clWhite); },
                                   "Convert8BitTo1BitRGB: Invalid Bitcount or Compression");
    ExpectRaises<EPxDIBBadDIBType>([&] { Convert4BitRGBTo1BitRGB(truecolor.Infos, dest, false, clWhite); },
                                   "Convert4BitRGBTo1BitRGB: Invalid Bitcount");
    // Run-length data holds no pixels to match.
    four.Infos.Header.biCompression = BI_RLE4;
    ExpectRaises<EPxDIBBadDIBType>([&] { Convert4BitRGBTo1BitRGB(four.Infos, dest, false, clWhite); },
                                   "Convert4BitRGBTo1BitRGB: Invalid Bitcount");
    eight.Infos.Header.biCompression = BI_RLE8;
    ExpectRaises<EPxDIBBadDIBType>([&] { Convert8BitTo1BitRGB(eight.Infos, dest, false, clWhite); },
                                   "Convert8BitTo1BitRGB: Invalid Bitcount or Compression");
    truecolor.Infos.BitsSize -= 1;
    ExpectRaises<EPxDIBInvalidDIB>([&] { ConvertTrueColorTo1BitRGB(truecolor.Infos, dest, false, clWhite); },
                                   "ConvertTrueColorTo1BitRGB: Pixel Data Too Short");
    EXPECT_EQ(dest.Bits, nullptr);
}

}  // namespace
}  // namespace tam32
