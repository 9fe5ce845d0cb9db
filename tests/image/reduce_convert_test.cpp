// Reduction of 24-bit images to 8 and 4 bits and of 8-bit images to 4 bits:
// the records they produce, the mapping of pixels, and refused sources.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <stdexcept>

#include "image/PxReduce.h"
#include "reduce_test_util.h"

namespace tam32 {
namespace {

using namespace reduce_test;

using TConverter = void (*)(const TPxDIBInfos&, TPxDIBInfos&, bool, TPxProgressCallback, void*);

struct TTrueColorConverter {
    std::string Name;
    TConverter Convert;
    int BitCount;
    bool High;
};

const TTrueColorConverter kConverters[] = {
    {"ConvertTrueColorTo8BitRGBLow", ConvertTrueColorTo8BitRGBLow, 8, false},
    {"ConvertTrueColorTo4BitRGBLow", ConvertTrueColorTo4BitRGBLow, 4, false},
    {"ConvertTrueColorTo8BitRGBHigh", ConvertTrueColorTo8BitRGBHigh, 8, true},
    {"ConvertTrueColorTo4BitRGBHigh", ConvertTrueColorTo4BitRGBHigh, 4, true},
};

TEST(ReduceTrueColor, OneColourGivesOneEntryAndEveryProgressStep) {
    TImage src(24, 7, -3);
    src.Fill([](int, int) { return TRGB{12, 200, 99}; });
    for (const auto& c : kConverters) {
        SCOPED_TRACE(c.Name);
        TImage dest;
        int calls = 0;
        c.Convert(src.Infos, dest.Infos, false, CountCall, &calls);
        const BITMAPINFOHEADER& h = dest.Infos.Header;
        EXPECT_EQ(calls, 1 << c.BitCount);
        EXPECT_TRUE(h.biBitCount == c.BitCount && h.biClrUsed == 1 && h.biCompression == BI_RGB &&
                    h.biSizeImage == 0 && h.biWidth == 7 && h.biHeight == -3);
        EXPECT_EQ(dest.Infos.BitsSize, DIBRowSize(c.BitCount, 7) * 3);
        EXPECT_EQ(ColorOf(dest.Infos.Colors[0]), (TRGB{12, 200, 99}));
        EXPECT_EQ(dest.Bytes(), std::vector<uint8_t>(dest.Infos.BitsSize, 0));
    }
}

TEST(ReduceTrueColor, TwoColoursPutTheBrighterInTheSplitChannelFirst) {
    TImage src(24, 5, 4);
    src.Fill([](int x, int r) { return (x * r) % 2 ? TRGB{60, 240, 5} : TRGB{60, 20, 5}; });
    for (const auto& c : kConverters) {
        SCOPED_TRACE(c.Name);
        TImage dest;
        c.Convert(src.Infos, dest.Infos, false, nullptr, nullptr);
        ASSERT_EQ(dest.Infos.Header.biClrUsed, 2u);
        EXPECT_EQ(ColorOf(dest.Infos.Colors[0]), (TRGB{60, 240, 5}));
        EXPECT_EQ(ColorOf(dest.Infos.Colors[1]), (TRGB{60, 20, 5}));
        for (int r = 0; r < 4; ++r)
            for (int x = 0; x < 5; ++x) EXPECT_EQ(dest.Index(x, r), (x * r) % 2 ? 0 : 1);
    }
}

TEST(ReduceTrueColor, FourBitRowsPackTheLeftPixelHighAndPadWithZero) {
    TImage src(24, 3, 2);
    src.Fill([](int x, int) { return TRGB{uint8_t(250 - 120 * x), 0, 0}; });  // 250, 130, 10
    for (const auto& c : kConverters) {
        if (c.BitCount != 4) continue;
        TImage dest;
        c.Convert(src.Infos, dest.Infos, false, nullptr, nullptr);
        EXPECT_EQ(dest.Bytes(), (std::vector<uint8_t>{0x01, 0x20, 0, 0, 0x01, 0x20, 0, 0})) << c.Name;
    }
}

// Every index's colour is the rounded mean of the pixels that got it, so each
// pixel was mapped to the leaf of the box the split put it in.
TEST(ReduceTrueColor, HighMapsEveryPixelToTheBoxItWasSplitInto) {
    TImage src(24, 123, 77);
    std::mt19937 rng(3);
    src.Fill([&](int x, int r) { return TRGB{uint8_t(x * 2 + rng() % 9), uint8_t(r * 3 + rng() % 5), uint8_t(rng())}; });
    const std::vector<uint8_t> before = src.Bytes();
    for (const auto& c : kConverters) {
        if (!c.High) continue;
        SCOPED_TRACE(c.Name);
        TImage dest;
        dest.Mapped = true;
        c.Convert(src.Infos, dest.Infos, true, nullptr, nullptr);
        std::map<int, std::array<long double, 4>> sums;
        for (int r = 0; r < src.Rows(); ++r)
            for (int x = 0; x < src.Width(); ++x) {
                auto& s = sums[dest.Index(x, r)];
                const TRGB p = src.Pixel(x, r);
                s[0] += p.R, s[1] += p.G, s[2] += p.B, s[3] += 1;
            }
        ASSERT_EQ(sums.size(), size_t{1} << c.BitCount);
        for (const auto& [index, s] : sums)
            EXPECT_EQ(ColorOf(dest.Infos.Colors[index]),
                      (TRGB{uint8_t(std::nearbyint(s[0] / s[3])), uint8_t(std::nearbyint(s[1] / s[3])),
                            uint8_t(std::nearbyint(s[2] / s[3]))}))
                << index;
    }
    EXPECT_EQ(src.Bytes(), before);
}

void ThrowOnThird(void* Data) {
    if (++*static_cast<int*>(Data) == 3) throw std::runtime_error("stop");
}

TEST(ReduceTrueColor, FailureDuringTheSplitLeavesTheDestinationAlone) {
    TImage src(24, 16, 16);
    src.Fill([](int x, int r) { return TRGB{uint8_t(x * 16), uint8_t(r * 16), 0}; });
    for (const auto& c : kConverters) {
        TPxDIBInfos dest;
        dest.Header.biWidth = 1234;
        int calls = 0;
        EXPECT_THROW(c.Convert(src.Infos, dest, false, ThrowOnThird, &calls), std::runtime_error) << c.Name;
        EXPECT_TRUE(dest.Bits == nullptr && dest.Header.biWidth == 1234) << c.Name;
    }
}

TEST(Reduce8To4, TenUsedEntriesGiveAtMostTenColours) {
    TImage src(8, 13, 5);
    for (int i = 0; i < 256; ++i) src.Infos.Colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    for (int r = 0; r < 5; ++r)
        for (int x = 0; x < 13; ++x) src.SetIndex(x, r, 20 * ((x + 2 * r) % 10));
    TImage dest;
    int calls = 0;
    Convert8BitRGBTo4BitRGB(src.Infos, dest.Infos, false, CountCall, &calls);
    EXPECT_EQ(calls, 16);
    EXPECT_EQ(dest.Infos.Header.biBitCount, 4);
    EXPECT_LE(dest.Infos.Header.biClrUsed, 10u);
    EXPECT_EQ(dest.Infos.BitsSize, 8u * 5);
    std::map<int, int> newOfOld;
    for (int r = 0; r < 5; ++r)
        for (int x = 0; x < 13; ++x) {
            EXPECT_LT(dest.Index(x, r), int(dest.Infos.Header.biClrUsed));
            EXPECT_EQ(newOfOld.emplace(src.Index(x, r), dest.Index(x, r)).first->second, dest.Index(x, r));
        }
}

TEST(ReduceSource, WrongFormatsAndShortBlocksAreRefused) {
    TImage eight(8, 5, 3), truecolor(24, 5, 3);
    TPxDIBInfos dest;
    auto to4 = [&](const TImage& Src) { Convert8BitRGBTo4BitRGB(Src.Infos, dest, false, nullptr, nullptr); };
    for (const auto& c : kConverters)
        ExpectRaises<EPxDIBBadDIBType>([&] { c.Convert(eight.Infos, dest, false, nullptr, nullptr); },
                                       c.Name + ": Invalid Bitcount");
    ExpectRaises<EPxDIBBadDIBType>([&] { to4(truecolor); }, "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
    eight.Infos.Header.biCompression = BI_RLE8;
    ExpectRaises<EPxDIBBadDIBType>([&] { to4(eight); }, "Convert8BitRGBTo4BitRGB: Invalid Bitcount or Compression");
    eight.Infos.Header.biCompression = BI_RGB;

    eight.Infos.BitsSize -= 1;
    truecolor.Infos.BitsSize -= 1;
    for (const auto& c : kConverters)
        ExpectRaises<EPxDIBInvalidDIB>([&] { c.Convert(truecolor.Infos, dest, false, nullptr, nullptr); },
                                       c.Name + ": Pixel Data Too Short");
    ExpectRaises<EPxDIBInvalidDIB>([&] { to4(eight); }, "Convert8BitRGBTo4BitRGB: Pixel Data Too Short");
    truecolor.Infos.Header.biHeight = 0;
    ExpectRaises<EPxDIBInvalidDIB>([&] { kConverters[0].Convert(truecolor.Infos, dest, false, nullptr, nullptr); },
                                   "ConvertTrueColorTo8BitRGBLow: Invalid Width or Height");
    EXPECT_EQ(dest.Bits, nullptr);
}

}  // namespace
}  // namespace tam32
