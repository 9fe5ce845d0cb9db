// The BMP plug-in through the host: BMP files the image model refuses (longer
// headers, bit fields, top-down rows) decode to the same pixels as a plain
// 24-bit BMP of the same picture, and damaged or absurd ones are refused.
// Files come from ImageMagick where it writes them, and from WriteBmp here
// for the headers and masks it does not write.
#include <gtest/gtest.h>

#include <QProcess>
#include <array>
#include <bit>
#include <limits>

#include "common/required_tool.h"
#include "import/SPIGraphic.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

constexpr int kWidth = 37;  // odd, so that rows are padded
constexpr int kHeight = 23;

// Every channel value, for the depths that keep 8 bits.
RGBTRIPLE Rich(int X, int Y) {
    return {uint8_t(X * 31 + Y * 17), uint8_t(X * 7 + Y * 53 + 71), uint8_t(255 - X * 5 - Y * 11)};
}
// Only 0 and 255, which survive 5-bit fields and a palette of 8 colours.
RGBTRIPLE Primaries(int X, int Y) {
    const auto level = [](int Bit) { return uint8_t(Bit != 0 ? 255 : 0); };
    return {level((X / 2 + Y) & 1), level((X / 3) & 1), level((Y / 2 + X / 5) & 1)};
}

template <class T>
void Put(std::vector<uint8_t>& Bytes, size_t Offset, T Value) {
    std::memcpy(Bytes.data() + Offset, &Value, sizeof Value);
}

struct BmpSpec {
    uint32_t HeaderSize = 124;
    uint16_t BitCount = 24;  // 16, 24 or 32
    uint32_t Compression = BI_RGB;
    std::array<uint32_t, 4> Masks = {};  // red, green, blue, alpha with (alpha) bit fields
    bool TopDown = false;
};

// An 8-bit value under a contiguous mask: in the top bits of a wider field,
// cut to its top bits in a narrower one.
uint32_t FieldOf(uint8_t Value, uint32_t Mask) {
    const int shift = std::countr_zero(Mask), width = 32 - std::countl_zero(Mask) - shift;
    return ((width >= 8 ? uint32_t(Value) << (width - 8) : uint32_t(Value) >> (8 - width)) << shift) & Mask;
}

std::vector<uint8_t> WriteBmp(const BmpSpec& S, int W, int H, const PixelFn& Pixel) {
    const bool fields = S.Compression != BI_RGB;
    // A 40-byte header is followed by its masks, Adobe's 52-byte one holds three, the longer ones four.
    const uint32_t masksAfter = S.HeaderSize == 40 && fields ? (S.Compression == 6 ? 16 : 12) : 0;
    const uint32_t offBits = 14 + S.HeaderSize + masksAfter, stride = (uint32_t(W) * S.BitCount + 31) / 32 * 4;
    std::vector<uint8_t> file(offBits + stride * uint32_t(H), 0);
    Put(file, 0, BITMAPFILEHEADER{kBitmapFileType, uint32_t(file.size()), 0, 0, offBits});
    Put(file, 14, BITMAPINFOHEADER{S.HeaderSize, W, S.TopDown ? -H : H, 1, S.BitCount, S.Compression, 0, 0, 0, 0, 0});
    if (fields) std::memcpy(&file[54], S.Masks.data(), S.HeaderSize == 40 ? masksAfter : S.HeaderSize == 52 ? 12 : 16);
    const std::array<uint32_t, 3> masks = fields ? std::array<uint32_t, 3>{S.Masks[0], S.Masks[1], S.Masks[2]}
                                          : S.BitCount == 16 ? std::array<uint32_t, 3>{0x7C00, 0x03E0, 0x001F}
                                                             : std::array<uint32_t, 3>{0xFF0000, 0xFF00, 0xFF};
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            uint8_t* pixel = &file[offBits + stride * uint32_t(S.TopDown ? y : H - 1 - y) + x * S.BitCount / 8];
            const RGBTRIPLE p = Pixel(x, y);
            const uint32_t value = FieldOf(p.rgbtRed, masks[0]) | FieldOf(p.rgbtGreen, masks[1]) |
                                   FieldOf(p.rgbtBlue, masks[2]) | S.Masks[3];
            if (S.BitCount == 24)
                std::memcpy(pixel, &p, 3);
            else
                std::memcpy(pixel, &value, S.BitCount / 8u);
        }
    return file;
}

// A version-5 BMP file of a 7 × 3 RLE4 picture of the indices (X + 2Y) mod 8
// into a table of 8 colours: the bottom row as an absolute run, the others as
// runs of two pixels.
RGBTRIPLE Rle4Color(int Index) { return Primaries(Index, Index / 2); }
std::vector<uint8_t> Rle4Picture() {
    const auto pair = [](int X, int Y) { return uint8_t((X + 2 * Y) % 8 << 4 | (X < 6 ? (X + 1 + 2 * Y) % 8 : 0)); };
    std::vector<uint8_t> data = {0, 7, pair(0, 2), pair(2, 2), pair(4, 2), pair(6, 2), 0, 0};
    for (int y = 1; y >= 0; --y) {
        for (int x = 0; x < 7; x += 2) data.insert(data.end(), {uint8_t(x < 6 ? 2 : 1), pair(x, y)});
        data.insert(data.end(), {0, 0});
    }
    data.insert(data.end(), {0, 1});
    std::vector<uint8_t> file(14 + 124 + 8 * 4);
    Put(file, 0, BITMAPFILEHEADER{kBitmapFileType, uint32_t(file.size() + data.size()), 0, 0, uint32_t(file.size())});
    Put(file, 14, BITMAPINFOHEADER{124, 7, 3, 1, 4, BI_RLE4, uint32_t(data.size()), 0, 0, 8, 0});
    for (int i = 0; i < 8; ++i) Put(file, 138 + 4 * i, Rle4Color(i));
    file.insert(file.end(), data.begin(), data.end());
    return file;
}

class BmpPluginTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        MakeHost().Search(QStringLiteral(TAM32_BIN_DIR "/*.spi"));
        ASSERT_GE(Host->IndexOfFileName(QStringLiteral(TAM32_BIN_DIR "/bmp.spi")), 0);
    }
    QString Path(const char* Name) const { return Work.filePath(QLatin1String(Name)); }
    // ImageMagick writes Picture with Options into a file whose header must be as Expected.
    void Convert(const PixelFn& Picture, int W, int H, const QStringList& Options, const QString& File,
                 std::array<uint32_t, 3> Expected) {
        TAM32_REQUIRE_TOOL("convert-im6.q16", "imagemagick");
        QByteArray ppm = QStringLiteral("P6\n%1 %2\n255\n").arg(W).arg(H).toLatin1();
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const RGBTRIPLE p = Picture(x, y);
                ppm.append(char(p.rgbtRed)).append(char(p.rgbtGreen)).append(char(p.rgbtBlue));
            }
        WriteBytes(Path("in.ppm"), std::vector<uint8_t>(ppm.begin(), ppm.end()));
        QProcess process;
        process.start(QStringLiteral("convert-im6.q16"), QStringList{Path("in.ppm")} + Options + QStringList{File});
        ASSERT_TRUE(process.waitForFinished(60000));
        QFile written(QString(File).remove(QStringLiteral("BMP3:")));
        ASSERT_TRUE(written.open(QIODevice::ReadOnly));
        BITMAPINFOHEADER info{};
        written.seek(14);
        written.read(reinterpret_cast<char*>(&info), sizeof info);
        EXPECT_EQ((std::array<uint32_t, 3>{info.biSize, info.biBitCount, info.biCompression}), Expected);
    }
    // Refused by every plug-in, from memory.
    static void ExpectRefused(const std::vector<uint8_t>& Bytes) {
        TMemoryStream stream(Bytes);
        TSPIGraphic graphic;
        EXPECT_THROW(graphic.LoadFromStreamWithName(stream, QStringLiteral("x.bmp")), EInvalidGraphic);
    }
};

}  // namespace

TEST_F(BmpPluginTest, ImageMagicksLongerHeadersDecodeLikeAPlainBmp) {
    struct Case {
        const char* Name;
        PixelFn Picture;
        QStringList Options;
        std::array<uint32_t, 3> Header;  // size, bit count, compression
    };
    const Case cases[] = {
        {"BMP3: plain 24 bits, read by the image model", Rich, {"-type", "TrueColor"}, {40, 24, BI_RGB}},
        {"24 bits", Rich, {}, {124, 24, BI_RGB}},
        {"32-bit bit fields", Rich, {"-alpha", "on"}, {124, 32, BI_BITFIELDS}},
        {"16-bit bit fields", Primaries, {"-define", "bmp:subtype=RGB565"}, {124, 16, BI_BITFIELDS}},
        {"4-bit palette", Primaries, {"-type", "Palette", "-compress", "None"}, {124, 4, BI_RGB}},
        {"RLE8", Primaries, {"-type", "Palette", "-compress", "RLE"}, {124, 8, BI_RLE8}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        const QString file = Path("m.bmp");
        Convert(c.Picture, kWidth, kHeight, c.Options, c.Header[0] == 40 ? QStringLiteral("BMP3:") + file : file,
                c.Header);
        if (HasFatalFailure()) return;
        ExpectDecoded(file, kWidth, kHeight, c.Picture);
    }
}

TEST_F(BmpPluginTest, EveryHeaderSizeMaskAndRowOrderDecodesLikeAPlainBmp) {
    const std::array<uint32_t, 4> rgb565 = {0xF800, 0x07E0, 0x001F, 0}, argb = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    const std::tuple<const char*, PixelFn, BmpSpec> cases[] = {
        {"version 4, 24 bits", Rich, {.HeaderSize = 108}},
        {"top-down 24 bits", Rich, {.TopDown = true}},
        {"top-down 32-bit fields", Rich, {.BitCount = 32, .Compression = 3, .Masks = argb, .TopDown = true}},
        {"10-bit fields", Rich, {.BitCount = 32, .Compression = 3, .Masks = {0x3FF00000, 0xFFC00, 0x3FF, 0}}},
        {"16 bits without masks", Primaries, {.BitCount = 16}},
        {"52 bytes, 16-bit fields", Primaries, {.HeaderSize = 52, .BitCount = 16, .Compression = 3, .Masks = rgb565}},
        {"56 bytes, 32-bit fields", Rich, {.HeaderSize = 56, .BitCount = 32, .Compression = 3, .Masks = argb}},
        {"64 bytes (OS/2), 24 bits", Rich, {.HeaderSize = 64}},
        {"40 bytes, alpha bit fields, red lowest", Rich,
         {.HeaderSize = 40, .BitCount = 32, .Compression = 6, .Masks = {0xFF, 0xFF00, 0xFF0000, 0xFF000000}}},
    };
    for (const auto& [name, picture, layout] : cases) {
        SCOPED_TRACE(name);
        WriteBytes(Path("w.bmp"), WriteBmp(layout, kWidth, kHeight, picture));
        ExpectDecoded(Path("w.bmp"), kWidth, kHeight, picture);
    }
    WriteBytes(Path("rle4.bmp"), Rle4Picture());
    ExpectDecoded(Path("rle4.bmp"), 7, 3, [](int X, int Y) { return Rle4Color((X + 2 * Y) % 8); });
}

TEST_F(BmpPluginTest, TruncatedAndAbsurdFilesAreRefused) {
    const std::vector<uint8_t> good =
        WriteBmp({.BitCount = 32, .Compression = BI_BITFIELDS, .Masks = {0xFF0000, 0xFF00, 0xFF, 0}}, 9, 5, Rich);
    TMemoryStream whole(good);
    TSPIGraphic().LoadFromStreamWithName(whole, QStringLiteral("x.bmp"));  // the untouched file loads
    for (size_t size = 0; size < good.size(); ++size) {
        SCOPED_TRACE(size);
        ExpectRefused(std::vector<uint8_t>(good.begin(), good.begin() + ptrdiff_t(size)));
    }
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const std::pair<const char*, Edit> cases[] = {
        {"huge width", [](auto& B) { Put(B, 18, std::numeric_limits<int32_t>::max()); }},
        {"huge height", [](auto& B) { Put(B, 22, std::numeric_limits<int32_t>::max()); }},
        {"lowest height", [](auto& B) { Put(B, 22, std::numeric_limits<int32_t>::min()); }},
        {"no width", [](auto& B) { Put(B, 18, int32_t{0}); }},
        {"pixels beyond the end", [](auto& B) { Put(B, 10, uint32_t{0xFFFFFFF0}); }},
        {"pixels inside the header", [](auto& B) { Put(B, 10, uint32_t{20}); }},
        {"unknown header size", [](auto& B) { Put(B, 14, uint32_t{0xFFFFFFFF}); }},
        {"2 bits", [](auto& B) { Put(B, 28, uint16_t{2}); }},
        {"embedded JPEG", [](auto& B) { Put(B, 30, uint32_t{4}); }},
        {"embedded PNG", [](auto& B) { Put(B, 30, uint32_t{5}); }},
        {"a zero mask", [](auto& B) { Put(B, 58, uint32_t{0}); }},
        {"overlapping masks", [](auto& B) { Put(B, 58, uint32_t{0xFFFF00}); }},
        {"a broken mask", [](auto& B) { Put(B, 62, uint32_t{0xF0F0}); }},
        {"bit fields on a palette", [](auto& B) { Put(B, 28, uint16_t{8}); }},
        {"RLE data beyond the end", [](auto& B) { B = Rle4Picture(); Put(B, 34, uint32_t{0x7FFFFFFF}); }},
        {"top-down RLE", [](auto& B) { B = Rle4Picture(); Put(B, 22, int32_t{-3}); }},
        {"RLE inside the colour table", [](auto& B) { B = Rle4Picture(); Put(B, 10, uint32_t{138 + 4 * 7}); }},
    };
    for (const auto& [name, edit] : cases) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = good;
        edit(bytes);
        ExpectRefused(bytes);
    }
}

TEST_F(BmpPluginTest, AnAnalysisOfAVersionFiveFileFinishes) {
    const QString file = Path("v5sky.bmp");
    const PixelFn sky = [](int, int Y) { return RGBTRIPLE{uint8_t(255 - 4 * Y), uint8_t(200 - 3 * Y), uint8_t(Y)}; };
    Convert(sky, 64, 64, {}, file, {124, 24, BI_RGB});
    if (HasFatalFailure()) return;
    QProcess probe;
    probe.start(QStringLiteral(TAM32_BIN_DIR "/tam32-probe"),
                {"run", "GapFractionAnalysis", file, "--circle", "32,32,30"});
    ASSERT_TRUE(probe.waitForFinished(60000));
    const QString output = QString::fromUtf8(probe.readAllStandardOutput()).trimmed();
    EXPECT_TRUE(output.endsWith(QStringLiteral("Finished."))) << output.right(300).toStdString();
}
