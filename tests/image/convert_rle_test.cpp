// RLE8 and RLE4: decoding of each code with its bound checks, and the exact
// bytes the encoders produce within the uncompressed size.
#include "convert_test_util.h"
#include "image/PxConvert.h"

namespace tam32 {
namespace {

using namespace convert_test;

Bytes Repeat(uint8_t Value, int Count) { return Bytes(static_cast<size_t>(Count), Value); }
Bytes Sequence(int Count) {
    Bytes b(static_cast<size_t>(Count));
    for (int i = 0; i < Count; ++i) b[i] = static_cast<uint8_t>(i);
    return b;
}
Bytes Cat(std::initializer_list<Bytes> Parts) {
    Bytes all;
    for (const Bytes& p : Parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct TDecodeCase {
    const char* What;
    int Bits, Width, Height;
    Bytes Codes;
    Bytes Pixels;     // the decoded block, when BadCode is -1
    int BadCode = -1;  // number of the "Bad RLE Data" refusal
};

TEST(RleDecode, CodesAndTheirBounds) {
    const TDecodeCase cases[] = {
        {"runs, rows, absolute with pad", 8, 4, 2, {3, 7, 1, 9, 0, 0, 0, 3, 1, 2, 3, 0, 0, 1},
         {7, 7, 7, 9, 1, 2, 3, 0}},
        {"pad byte is skipped", 8, 4, 1, {0, 3, 1, 2, 3, 0, 1, 9, 0, 1}, {1, 2, 3, 9}},
        {"delta leaves zeros", 8, 4, 2, {1, 5, 0, 2, 1, 1, 2, 6, 0, 1}, {5, 0, 0, 0, 0, 0, 6, 6}},
        {"delta to column W", 8, 4, 1, {0, 2, 4, 0, 0, 0, 0, 1}, {0, 0, 0, 0}},
        {"end of line past last row", 8, 4, 2, {0, 0, 0, 0, 0, 0, 0, 1}, {}, 1},
        {"delta past width", 8, 4, 2, {0, 2, 5, 0, 0, 1}, {}, 2},
        {"delta past last row", 8, 4, 2, {0, 2, 0, 3, 0, 1}, {}, 2},
        {"absolute past width", 8, 4, 2, {2, 1, 0, 3, 1, 2, 3, 0, 0, 1}, {}, 3},
        {"absolute below last row", 8, 4, 1, {0, 0, 0, 3, 1, 2, 3, 0, 0, 1}, {}, 3},
        {"run past width", 8, 4, 2, {5, 1, 0, 1}, {}, 4},
        {"run below last row", 8, 4, 1, {0, 0, 1, 1, 0, 1}, {}, 4},
        {"empty", 8, 4, 1, {}, {}, 0},
        {"no end of bitmap", 8, 4, 2, {2, 1, 0, 0}, {}, 0},
        {"half a code", 8, 4, 2, {2, 1, 0}, {}, 0},
        {"truncated delta", 8, 4, 2, {0, 2, 1}, {}, 0},
        {"truncated absolute", 8, 4, 2, {0, 4, 1, 2, 3}, {}, 0},
        {"ends at the pad", 8, 4, 2, {0, 3, 1, 2, 3}, {}, 0},
        {"run alternates nibbles", 4, 5, 1, {5, 0x12, 0, 1}, {0x12, 0x12, 0x10, 0}},
        {"run from odd column", 4, 4, 1, {1, 0x30, 3, 0x45, 0, 1}, {0x34, 0x54, 0, 0}},
        {"absolute of 5 takes 4 bytes", 4, 8, 1, {0, 5, 0x12, 0x34, 0x50, 0, 2, 0x77, 0, 1},
         {0x12, 0x34, 0x57, 0x70}},
        {"absolute of 3 takes 2 bytes", 4, 4, 1, {0, 3, 0x12, 0x30, 1, 0x50, 0, 1}, {0x12, 0x35, 0, 0}},
        {"delta to a pixel", 4, 6, 2, {0, 2, 3, 1, 2, 0xAB, 0, 1}, {0, 0, 0, 0, 0x00, 0x0A, 0xB0, 0}},
        {"odd width fills to even", 4, 5, 1, {6, 0x12, 0, 1}, {0x12, 0x12, 0x12, 0}},
        {"end of line past last row", 4, 4, 1, {0, 0, 0, 0, 0, 1}, {}, 5},
        {"delta past even limit", 4, 5, 1, {0, 2, 7, 0, 0, 1}, {}, 6},
        {"delta past last row", 4, 4, 2, {0, 2, 0, 3, 0, 1}, {}, 6},
        {"absolute past width", 4, 4, 1, {0, 5, 0x12, 0x34, 0x50, 0, 0, 1}, {}, 7},
        {"run past even limit", 4, 5, 1, {7, 0x12, 0, 1}, {}, 8},
        {"run below last row", 4, 4, 1, {0, 0, 2, 0x11, 0, 1}, {}, 8},
        {"no end of bitmap", 4, 4, 1, {2, 0x11}, {}, 0},
        {"truncated absolute", 4, 8, 1, {0, 5, 0x12, 0x34}, {}, 0},
    };
    for (const TDecodeCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Bits << " bits: " << c.What);
        const bool eight = c.Bits == 8;
        TImage source(c.Bits, eight ? BI_RLE8 : BI_RLE4, c.Width, c.Height, c.Codes);
        TImage dest;
        dest.Infos.Header.biWidth = -1;
        const auto decode = [&] {
            (eight ? Convert8BitRLETo8BitRGB : Convert4BitRLETo4BitRGB)(source.Infos, dest.Infos, false);
        };
        if (c.BadCode >= 0) {
            const std::string routine = eight ? "Convert8BitRLETo8BitRGB" : "Convert4BitRLETo4BitRGB";
            ExpectError<EPxDIBInvalidDIB>(decode, routine + ": Bad RLE Data " + std::to_string(c.BadCode));
            EXPECT_EQ(dest.Infos.Header.biWidth, -1);  // Dest untouched
            continue;
        }
        decode();
        EXPECT_EQ(dest.Block(), c.Pixels);
        EXPECT_EQ(dest.Infos.Header.biCompression, BI_RGB);
        EXPECT_EQ(dest.Infos.Header.biBitCount, c.Bits);
        EXPECT_EQ(dest.Infos.Header.biSizeImage, 0u);
        EXPECT_EQ(std::memcmp(dest.Infos.Colors, source.Infos.Colors, sizeof source.Infos.Colors), 0);
        EXPECT_EQ(source.Block(), c.Codes);
    }
}

struct TEncodeCase {
    const char* What;
    int Bits, Width, Height;
    std::vector<Bytes> Rows;  // block rows from the first; the rest stay 0
    Bytes Codes;              // empty: the output does not fit
};

TEST(RleEncode, ExactBytesWithinTheUncompressedSize) {
    const TEncodeCase cases[] = {
        {"run then literal of 3", 8, 13, 1, {Cat({Repeat(9, 10), {1, 2, 3}})},
         {10, 9, 0, 3, 1, 2, 3, 0, 0, 0, 0, 1}},
        {"literal of 2 as runs of 1", 8, 10, 1, {Cat({Repeat(5, 8), {1, 2}})},
         {8, 5, 1, 1, 1, 2, 0, 0, 0, 1}},
        {"repeat leaves the literal", 8, 14, 1, {Cat({Repeat(5, 6), {1, 2}, Repeat(7, 6)})},
         {6, 5, 1, 1, 1, 2, 6, 7, 0, 0, 0, 1}},
        {"runs split at 255", 8, 300, 1, {Repeat(4, 300)}, {255, 4, 45, 4, 0, 0, 0, 1}},
        {"full literal flushed, bottom row first", 8, 256, 2, {Sequence(256)},
         Cat({{0, 255}, Sequence(255), {0, 1, 255, 0, 0}, {255, 0, 1, 0, 0, 0, 0, 1}})},
        {"repeat after a full literal", 8, 256, 2, {Cat({Sequence(255), {254}})},
         Cat({{0, 254}, Sequence(254), {2, 254, 0, 0}, {255, 0, 1, 0, 0, 0, 0, 1}})},
        {"fills the size exactly", 8, 8, 1, {{1, 1, 1, 1, 2, 2, 2, 2}}, {4, 1, 4, 2, 0, 0, 0, 1}},
        {"third run has no room", 8, 8, 1, {{1, 1, 1, 2, 2, 2, 3, 3}}, {}},
        {"1 x 1", 8, 1, 1, {{7}}, {}},
        {"noise", 8, 16, 2, {Sequence(16), Sequence(16)}, {}},
        {"odd width counts add up", 4, 31, 1, {Cat({Repeat(0x11, 15), {0x10}})},
         {30, 0x11, 1, 0x10, 0, 0, 0, 1}},
        {"last run cut to the row", 4, 31, 1, {Repeat(0x11, 16)}, {31, 0x11, 0, 0, 0, 1}},
        {"literal of 1 byte as run", 4, 18, 1, {Cat({Repeat(0x11, 4), {0x23}, Repeat(0x44, 4)})},
         {8, 0x11, 2, 0x23, 8, 0x44, 0, 0, 0, 1}},
        {"absolute in pixels with pad", 4, 16, 2, {Cat({{0x12, 0x34, 0x56}, Repeat(0x77, 5)})},
         {0, 6, 0x12, 0x34, 0x56, 0, 10, 0x77, 0, 0, 16, 0, 0, 0, 0, 1}},
        {"absolute cut at odd row end", 4, 9, 3, {{0x12, 0x34, 0x56, 0x78, 0x90}},
         {0, 9, 0x12, 0x34, 0x56, 0x78, 0x90, 0, 0, 0, 9, 0, 0, 0, 9, 0, 0, 0, 0, 1}},
        {"runs split at 127 bytes", 4, 260, 1, {Repeat(0x11, 130)}, {254, 0x11, 6, 0x11, 0, 0, 0, 1}},
        {"no room", 4, 7, 1, {{0x12, 0x34, 0x56, 0x70}}, {}},
    };
    for (const TEncodeCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Bits << " bits: " << c.What);
        const bool eight = c.Bits == 8;
        TImage source(c.Bits, c.Width, c.Height);
        for (size_t r = 0; r < c.Rows.size(); ++r)
            std::memcpy(source.Row(static_cast<int>(r)), c.Rows[r].data(), c.Rows[r].size());
        const Bytes before = source.Block();
        TImage dest;
        const auto encode = [&] {
            (eight ? Convert8BitRGBTo8BitRLE : Convert4BitRGBTo4BitRLE)(source.Infos, dest.Infos, false);
        };
        if (c.Codes.empty()) {
            const std::string routine = eight ? "Convert8BitRGBTo8BitRLE" : "Convert4BitRGBTo4BitRLE";
            ExpectError<EPxDIBCompressionFailed>(encode, routine + ": Compression Failed");
            EXPECT_EQ(dest.Infos.Bits, nullptr);
        } else {
            encode();
            EXPECT_EQ(dest.Block(), c.Codes);
            EXPECT_EQ(dest.Infos.Header.biCompression, eight ? BI_RLE8 : BI_RLE4);
            EXPECT_EQ(dest.Infos.Header.biSizeImage, c.Codes.size());
        }
        EXPECT_EQ(source.Block(), before);
    }
}

TEST(RleEncode, TopDownImageBecomesBottomUp) {
    TImage source(8, 8, -2);
    std::memset(source.Row(0), 1, 8);  // top row
    std::memset(source.Row(1), 2, 8);
    TImage dest;
    Convert8BitRGBTo8BitRLE(source.Infos, dest.Infos, false);
    EXPECT_EQ(dest.Block(), (Bytes{8, 2, 0, 0, 8, 1, 0, 0, 0, 1}));
    EXPECT_EQ(dest.Infos.Header.biHeight, 2);
}

}  // namespace
}  // namespace tam32
