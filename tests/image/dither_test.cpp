// Serpentine error diffusion to the fixed 215 colours and to black and white.
#include <gtest/gtest.h>

#include "image/PxReduce.h"
#include "reduce_test_util.h"

namespace tam32 {
namespace {

using namespace reduce_test;

TImage Uniform(int Width, int Height, TRGB C) {
    TImage img(24, Width, Height);
    img.Fill([&](int, int) { return C; });
    return img;
}

std::vector<int> RowIndices(const TImage& Img, int BlockRow) {
    std::vector<int> v;
    for (int x = 0; x < Img.Width(); ++x) v.push_back(Img.Index(x, BlockRow));
    return v;
}

TEST(DitherFixed, WhiteAndBlackNeedNoDiffusion) {
    for (const auto& [color, index] : {std::pair{TRGB{255, 255, 255}, 209}, std::pair{TRGB{0, 0, 0}, 0}}) {
        TImage src = Uniform(37, -21, color);
        TImage dest;
        DitherToFixed8Bit(src.Infos, dest.Infos, false);
        const BITMAPINFOHEADER& h = dest.Infos.Header;
        EXPECT_TRUE(h.biBitCount == 8 && h.biClrUsed == 215 && h.biCompression == BI_RGB && h.biWidth == 37 &&
                    h.biHeight == -21 && dest.Infos.BitsSize == 40u * 21);
        for (int i = 0; i < 215; ++i) ASSERT_EQ(ColorOf(dest.Infos.Colors[i]), ColorOf(PxFixedPaletteColors[i]));
        for (int r = 0; r < 21; ++r)
            for (int x = 0; x < 37; ++x) ASSERT_EQ(dest.Index(x, r), index);
    }
}

TEST(DitherFixed, CorrectionTruncatesTowardZero) {
    // Red 70 shows 51 (error -19); the next pixel's correction is
    // 12 * -19 / 32 = -7.125, truncated to -7: 18 + 7 = 25 stays on level 0
    // (rounding down to -8 would give 26, level 1).
    TImage src(24, 2, 1);
    src.SetPixel(0, 0, {70, 0, 0});
    src.SetPixel(1, 0, {18, 0, 0});
    TImage dest;
    DitherToFixed8Bit(src.Infos, dest.Infos, false);
    EXPECT_EQ(RowIndices(dest, 0), (std::vector<int>{35, 0}));
}

TEST(DitherFixed, OddRowsRunRightToLeftAndTakeTheirRightNeighboursError) {
    // Red only. Row 0 (0, 30, 0) leaves errors 0, 21, 7. Row 1 (30, 0, 0)
    // runs from the right: errors 2, then 9, and its left pixel gets
    // (12 * 0 + 12 * 9 + 5 * 21) / 32 = 6, so 30 - 6 = 24 stays on level 0.
    // Taken left to right, or with the left neighbour's error as the one
    // behind, that pixel would reach level 1.
    TImage src(24, 3, 2);
    src.SetPixel(1, 0, {30, 0, 0});
    src.SetPixel(0, 1, {30, 0, 0});
    TImage dest;
    DitherToFixed8Bit(src.Infos, dest.Infos, false);
    EXPECT_EQ(RowIndices(dest, 0), (std::vector<int>{0, 35, 0}));
    EXPECT_EQ(RowIndices(dest, 1), (std::vector<int>{0, 0, 0}));
}

TEST(DitherFixed, IndexedSourcesDitherLikeTheirColours) {
    TImage truecolor(24, 19, 9);
    TImage one(1, 19, 9), four(4, 19, 9), eight(8, 19, 9);
    for (TImage* img : {&one, &four, &eight})
        for (int i = 0; i < 256; ++i)
            img->Infos.Colors[i] = {uint8_t(i * 37), uint8_t(i * 91 + 13), uint8_t(255 - i * 5), 0};
    for (TImage* img : {&one, &four, &eight}) {
        const int colours = 1 << img->Infos.Header.biBitCount;
        for (int r = 0; r < 9; ++r)
            for (int x = 0; x < 19; ++x) img->SetIndex(x, r, (x * 7 + r * 3) % colours);
        for (int r = 0; r < 9; ++r)
            for (int x = 0; x < 19; ++x) truecolor.SetPixel(x, r, ColorOf(img->Infos.Colors[img->Index(x, r)]));
        TImage fromIndexed, fromTrueColor;
        DitherToFixed8Bit(img->Infos, fromIndexed.Infos, false);
        DitherToFixed8Bit(truecolor.Infos, fromTrueColor.Infos, false);
        EXPECT_EQ(fromIndexed.Bytes(), fromTrueColor.Bytes()) << colours << " colours";
    }
}

TEST(DitherMono, MidGreyGivesHalfWhiteStartingWithWhite) {
    TImage src = Uniform(101, 80, {128, 128, 128});
    TImage dest;
    DitherTo1Bit(src.Infos, dest.Infos, false);
    EXPECT_TRUE(dest.Infos.Header.biBitCount == 1 && dest.Infos.Header.biClrUsed == 2);
    EXPECT_EQ(ColorOf(dest.Infos.Colors[1]), (TRGB{255, 255, 255}));
    EXPECT_EQ(dest.Index(0, 0), 1);
    int white = 0;
    for (int r = 0; r < 80; ++r)
        for (int x = 0; x < 101; ++x) white += dest.Index(x, r);
    EXPECT_NEAR(white / (101.0 * 80), 0.5, 0.05);
    // Padding bits beyond the last pixel stay 0.
    for (int r = 0; r < 80; ++r) EXPECT_EQ(dest.Row(r)[12] & 0x07, 0);
}

TEST(DitherMono, FirstRowByHand) {
    // 384 is white (error 127 each); then 128 - 47 = 81 is black (error -81);
    // then 128 + 30 = 158 is white.
    TImage src = Uniform(3, 1, {128, 128, 128});
    TImage dest;
    DitherTo1Bit(src.Infos, dest.Infos, false);
    EXPECT_EQ(dest.Row(0)[0], 0xA0);
}

TEST(DitherSource, UnreadableSourcesAreRefused) {
    TImage rle(8, 4, 4), sixteen(24, 4, 4), shortBlock(4, 9, 3);
    rle.Infos.Header.biCompression = BI_RLE8;
    sixteen.Infos.Header.biBitCount = 16;
    shortBlock.Infos.BitsSize -= 1;
    TPxDIBInfos dest;
    ExpectRaises<EPxDIBBadDIBType>([&] { DitherToFixed8Bit(rle.Infos, dest, false); },
                                   "DitherToFixed8Bit: Invalid Bitcount or Compression");
    ExpectRaises<EPxDIBBadDIBType>([&] { DitherTo1Bit(sixteen.Infos, dest, false); },
                                   "DitherTo1Bit: Invalid Bitcount or Compression");
    ExpectRaises<EPxDIBInvalidDIB>([&] { DitherTo1Bit(shortBlock.Infos, dest, false); },
                                   "DitherTo1Bit: Pixel Data Too Short");
    ExpectRaises<EPxDIBInvalidDIB>([&] { DitherToFixed8Bit(shortBlock.Infos, dest, false); },
                                   "DitherToFixed8Bit: Pixel Data Too Short");
    EXPECT_EQ(dest.Bits, nullptr);
}

}  // namespace
}  // namespace tam32
