// Widening and expansion to true colour, and the checks every conversion
// makes on its source before allocating anything.
#include <random>

#include "convert_test_util.h"
#include "image/PxConvert.h"

namespace tam32 {
namespace {

using namespace convert_test;

struct TRoutine {
    TConverter Convert;
    const char* Name;
    int SourceBits;
    uint32_t SourceCompression;
    int DestBits;
};

const TRoutine kExpanders[] = {
    {Convert1BitRGBTo4BitRGB, "Convert1BitRGBTo4BitRGB", 1, BI_RGB, 4},
    {Convert1BitRGBTo8BitRGB, "Convert1BitRGBTo8BitRGB", 1, BI_RGB, 8},
    {Convert4BitRGBTo8BitRGB, "Convert4BitRGBTo8BitRGB", 4, BI_RGB, 8},
    {Convert1BitRGBToTrueColor, "Convert1BitRGBToTrueColor", 1, BI_RGB, 24},
    {Convert4BitRGBToTrueColor, "Convert4BitRGBToTrueColor", 4, BI_RGB, 24},
    {Convert8BitRGBToTrueColor, "Convert8BitRGBToTrueColor", 8, BI_RGB, 24},
};

class ConvertExpand : public ::testing::TestWithParam<TRoutine> {};

TEST_P(ConvertExpand, PixelsKeepIndexOrTakeTableColourAndPaddingStaysZero) {
    const TRoutine r = GetParam();
    std::mt19937 random(3);
    for (int width : {1, 7, 8, 9, 31, 32, 33, 65})
        for (int height : {3, -2}) {
            SCOPED_TRACE(::testing::Message() << width << " x " << height);
            TImage source(r.SourceBits, width, height), dest;
            std::memset(source.Infos.Bits, 0xFF, source.Infos.BitsSize);  // padding bits set
            for (int y = 0; y < std::abs(height); ++y)
                for (int x = 0; x < width; ++x)
                    SetIndex(source.Infos, x, y, static_cast<int>(random() % (1u << r.SourceBits)));
            source.Infos.Header.biClrUsed = 1;  // entries beyond it are used all the same
            const Bytes before = source.Block();
            r.Convert(source.Infos, dest.Infos, false);

            const BITMAPINFOHEADER& h = dest.Infos.Header;
            EXPECT_EQ(h.biBitCount, r.DestBits);
            EXPECT_EQ(h.biHeight, height);
            EXPECT_EQ(h.biClrUsed, 1u);
            EXPECT_EQ(std::memcmp(dest.Infos.Colors, source.Infos.Colors, sizeof source.Infos.Colors), 0);
            const int64_t stride = DIBRowSize(r.DestBits, width);
            ASSERT_EQ(dest.Infos.BitsSize, stride * std::abs(height));
            for (int y = 0; y < std::abs(height); ++y) {
                const uint8_t* row = dest.Infos.Bits + y * stride;
                for (int x = 0; x < width; ++x) {
                    const int index = IndexAt(source.Infos, x, y);
                    if (r.DestBits == 24) {
                        const RGBQUAD& c = source.Infos.Colors[index];
                        ASSERT_EQ(Bytes(row + 3 * x, row + 3 * x + 3),
                                  (Bytes{c.rgbBlue, c.rgbGreen, c.rgbRed}));
                    } else {
                        ASSERT_EQ(IndexAt(dest.Infos, x, y), index);
                    }
                }
                // Bits beyond the last pixel (a 4-bit half byte included) are all 0.
                const int64_t used = (static_cast<int64_t>(width) * r.DestBits + 7) / 8;
                if (r.DestBits == 4 && width % 2 == 1) {
                    EXPECT_EQ(row[used - 1] & 0x0F, 0);
                }
                EXPECT_EQ(Bytes(row + used, row + stride), Bytes(stride - used, 0));
            }
            EXPECT_EQ(source.Block(), before);
        }
}

INSTANTIATE_TEST_SUITE_P(ConvertRoutines, ConvertExpand, ::testing::ValuesIn(kExpanders),
                         [](const auto& Info) { return std::string(Info.param.Name); });

const TRoutine kAllRoutines[] = {
    kExpanders[0], kExpanders[1], kExpanders[2], kExpanders[3], kExpanders[4], kExpanders[5],
    {Convert8BitRGBTo8BitRLE, "Convert8BitRGBTo8BitRLE", 8, BI_RGB, 8},
    {Convert4BitRGBTo4BitRLE, "Convert4BitRGBTo4BitRLE", 4, BI_RGB, 4},
    {Convert8BitRLETo8BitRGB, "Convert8BitRLETo8BitRGB", 8, BI_RLE8, 8},
    {Convert4BitRLETo4BitRGB, "Convert4BitRLETo4BitRGB", 4, BI_RLE4, 4},
};

class ConvertChecks : public ::testing::TestWithParam<TRoutine> {};

TEST_P(ConvertChecks, RefusesOtherFormatsImpossibleSizesAndShortBlocks) {
    const TRoutine r = GetParam();
    const std::string name(r.Name);
    TImage dest;
    for (int bits : {1, 4, 8, 16, 24})
        for (uint32_t compression : {BI_RGB, BI_RLE8, BI_RLE4, BI_BITFIELDS}) {
            if (bits == r.SourceBits && compression == r.SourceCompression) continue;
            TImage other(bits, compression, 8, 2, Bytes(64));
            ExpectError<EPxDIBBadDIBType>([&] { r.Convert(other.Infos, dest.Infos, false); },
                                          name + ": Invalid Bitcount & Compression Combination");
        }
    const auto refuse = [&](int Width, int Height, const std::string& Text) {
        TImage source(r.SourceBits, r.SourceCompression, Width, Height, Bytes(8));
        ExpectError<EPxDIBInvalidDIB>([&] { r.Convert(source.Infos, dest.Infos, false); }, name + Text);
    };
    refuse(0, 2, ": Invalid Width or Height");
    refuse(4, 0, ": Invalid Width or Height");
    refuse(0x7FFFFFFF, -0x7FFFFFFF - 1, ": Image Too Large");  // also past 2^63 at 24 bits
    if (r.SourceCompression == BI_RGB) {
        TImage shortBlock(r.SourceBits, BI_RGB, 40, -3, Bytes(DIBRowSize(r.SourceBits, 40) * 3 - 1));
        ExpectError<EPxDIBInvalidDIB>([&] { r.Convert(shortBlock.Infos, dest.Infos, false); },
                                      name + ": Pixel Data Too Short");
    }
    EXPECT_EQ(dest.Infos.Bits, nullptr);
}

INSTANTIATE_TEST_SUITE_P(ConvertRoutines, ConvertChecks, ::testing::ValuesIn(kAllRoutines),
                         [](const auto& Info) { return std::string(Info.param.Name); });

}  // namespace
}  // namespace tam32
