// Our JPEG, PNG and TIFF plug-ins through the host: every pixel as the
// library decodes it (JPEG, same settings) or as it was written (PNG, TIFF),
// by file name and from memory.
#include <gtest/gtest.h>

#include <QDir>
#include <cstdio>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include "import/SPIExceptions.h"
#include "import/SPIGraphic.h"
#include "picture_writers.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

// ---- the reference decoder ----

// libjpeg's own decoding with its defaults, as RGB (or grey) rows.
std::vector<uint8_t> DecodeJpeg(const std::vector<uint8_t>& Bytes, int& W, int& H, int& Components) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, Bytes.data(), static_cast<unsigned long>(Bytes.size()));
    jpeg_read_header(&cinfo, TRUE);
    jpeg_start_decompress(&cinfo);
    W = static_cast<int>(cinfo.output_width);
    H = static_cast<int>(cinfo.output_height);
    Components = cinfo.output_components;
    std::vector<uint8_t> pixels(static_cast<size_t>(W) * H * Components);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + static_cast<size_t>(cinfo.output_scanline) * W * Components;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return pixels;
}

// ---- the host with our plug-ins ----

class PluginTest : public OwnPluginsTest {
protected:
    void ExpectAsLibjpeg(const QString& FileName) {
        QFile file(FileName);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        int w = 0, h = 0, components = 0;
        const std::vector<uint8_t> reference =
            DecodeJpeg(std::vector<uint8_t>(data.begin(), data.end()), w, h, components);
        ExpectDecoded(FileName, w, h, [&](int X, int Y) {
            const uint8_t* p = &reference[(static_cast<size_t>(Y) * w + X) * components];
            return components == 1 ? Grey(p[0]) : RGBTRIPLE{p[2], p[1], p[0]};
        });
    }
};

}  // namespace

TEST_F(PluginTest, EachPluginDeclaresItsFormats) {
    // The BMP plug-in leaves ".bmp" to the program's own bitmap reader.
    EXPECT_TRUE(Host->GetSPI(0)->Extensions.isEmpty());
    EXPECT_EQ(Host->GetSPI(1)->Extensions, (QStringList{"*.jpg", "*.jpeg", "*.jpe", "*.jfif"}));
    EXPECT_EQ(Host->GetSPI(2)->Extensions, QStringList{"*.png"});
    EXPECT_EQ(Host->GetSPI(3)->Extensions, (QStringList{"*.tif", "*.tiff"}));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Host->GetSPI(i)->APIVersion, QStringLiteral("00IN"));
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("bmp")), nullptr);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("JPG")), &TSPIBitmap::ClassInfo);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("tiff")), &TSPIBitmap::ClassInfo);
}

TEST_F(PluginTest, JpegPixelsAreLibjpegsOwn) {
    const QString colour = Path("colour.jpg");
    WriteBytes(colour, WriteJpeg({}));
    ExpectAsLibjpeg(colour);
    const QString grey = Path("grey.jpeg");
    WriteBytes(grey, WriteJpeg({.Width = 21, .Height = 9, .Components = 1}));
    ExpectAsLibjpeg(grey);

    TSPIPxDIB dib;
    dib.LoadFromFile(grey);
    EXPECT_EQ(dib.GetBitCount(), 8);
    // 100 dots per inch.
    EXPECT_EQ(dib.DIB().Infos.Header.biXPelsPerMeter, 3937);
}

TEST_F(PluginTest, RealPhotographsDecodeAsLibjpegDoes) {
    const QDir data(QStringLiteral(TAM32_SHARED_DATA_DIR));
    const QStringList photos = data.entryList({QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")}, QDir::Files);
    if (photos.isEmpty()) GTEST_SKIP() << "no photographs in " << TAM32_SHARED_DATA_DIR;
    for (const QString& photo : photos) {
        SCOPED_TRACE(photo.toStdString());
        ExpectAsLibjpeg(data.filePath(photo));
    }
}

TEST_F(PluginTest, PngPixelsAreThoseWritten) {
    const auto check = [&](const PngSpec& S, const PixelFn& Expected) {
        SCOPED_TRACE("colour type " + std::to_string(S.ColorType) + ", " + std::to_string(S.BitDepth) + " bits");
        const QString file = Path("p.png");
        WritePng(file, S);
        ExpectDecoded(file, S.Width, S.Height, Expected);
    };
    const PixelFn rgb = [](int X, int Y) { return RGBTRIPLE{Sample8(X, Y, 2), Sample8(X, Y, 1), Sample8(X, Y, 0)}; };
    check({}, rgb);
    check({.Interlaced = true}, rgb);
    check({.ColorType = PNG_COLOR_TYPE_RGB_ALPHA}, rgb);
    check({.ColorType = PNG_COLOR_TYPE_GRAY}, [](int X, int Y) { return Grey(Sample8(X, Y, 0)); });
    check({.ColorType = PNG_COLOR_TYPE_GRAY_ALPHA}, [](int X, int Y) { return Grey(Sample8(X, Y, 0)); });
    check({.ColorType = PNG_COLOR_TYPE_GRAY, .BitDepth = 2},
          [](int X, int Y) { return Grey(static_cast<uint8_t>((Sample8(X, Y, 0) >> 6) * 85)); });
    check({.BitDepth = 16}, [](int X, int Y) {
        return RGBTRIPLE{To8(Sample16(X, Y, 2)), To8(Sample16(X, Y, 1)), To8(Sample16(X, Y, 0))};
    });
    // Transparency is dropped: the palette's colours remain.
    check({.ColorType = PNG_COLOR_TYPE_PALETTE}, [](int X, int Y) {
        const int i = Sample8(X, Y, 0);
        return RGBTRIPLE{Sample8(i, 0, 2), Sample8(i, 0, 1), Sample8(i, 0, 0)};
    });
}

TEST_F(PluginTest, TiffPixelsAreThoseWritten) {
    const auto check = [&](const TiffSpec& S, const PixelFn& Expected) {
        SCOPED_TRACE("photometric " + std::to_string(S.Photometric) + ", " + std::to_string(S.Bits) + " bits");
        const QString file = Path("t.tif");
        WriteTiff(file, S);
        ExpectDecoded(file, S.Width, S.Height, Expected);
    };
    const PixelFn rgb = [](int X, int Y) { return RGBTRIPLE{Sample8(X, Y, 2), Sample8(X, Y, 1), Sample8(X, Y, 0)}; };
    const PixelFn grey = [](int X, int Y) { return Grey(Sample8(X, Y, 0)); };
    check({}, rgb);
    check({.Compression = COMPRESSION_LZW}, rgb);
    check({.Width = 37, .Height = 21, .Samples = 4, .Compression = COMPRESSION_ADOBE_DEFLATE, .Tiled = true,
           .UnassociatedAlpha = true},
          rgb);
    check({.Samples = 1, .Photometric = PHOTOMETRIC_MINISBLACK, .Compression = COMPRESSION_LZW}, grey);
    check({.Samples = 1, .Photometric = PHOTOMETRIC_MINISWHITE},
          [](int X, int Y) { return Grey(static_cast<uint8_t>(255 - Sample8(X, Y, 0))); });
    check({.Samples = 1, .Bits = 1, .Photometric = PHOTOMETRIC_MINISBLACK},
          [](int X, int Y) { return Grey(Sample8(X, Y, 0) >= 128 ? 255 : 0); });
    check({.Bits = 16, .Compression = COMPRESSION_LZW}, [](int X, int Y) {
        return RGBTRIPLE{To8(Sample16(X, Y, 2)), To8(Sample16(X, Y, 1)), To8(Sample16(X, Y, 0))};
    });
    check({.Samples = 1, .Bits = 4, .Photometric = PHOTOMETRIC_PALETTE}, [](int X, int Y) {
        const int i = Sample8(X, Y, 0) >> 4;
        return RGBTRIPLE{To8(Sample16(i, 0, 2)), To8(Sample16(i, 0, 1)), To8(Sample16(i, 0, 0))};
    });
}

TEST_F(PluginTest, BrokenFilesAreNotDecoded) {
    const QString png = Path("p.png");
    WritePng(png, {.Width = 200, .Height = 100});
    QFile file(png);
    ASSERT_TRUE(file.resize(file.size() / 2));
    TSPIGraphic graphic;
    EXPECT_THROW(graphic.LoadFromFile(png), EInvalidGraphic);

    const QString tiff = Path("t.tif");
    WriteTiff(tiff, {.Width = 200, .Height = 100});
    QFile tiffFile(tiff);
    ASSERT_TRUE(tiffFile.resize(tiffFile.size() / 2));
    EXPECT_THROW(graphic.LoadFromFile(tiff), EInvalidGraphic);
}

TEST_F(PluginTest, ProgressClimbsToTheEnd) {
    const QString file = Path("colour.jpg");
    WriteBytes(file, WriteJpeg({.Width = 40, .Height = 300}));
    std::vector<ProgressReport> log;
    TSPIGraphic graphic;
    graphic.OnProgress = RecordProgress(log);
    graphic.LoadFromFile(file);
    std::vector<int> percents;
    for (const ProgressReport& r : log)
        if (r.Stage == TProgressStage::psRunning && r.Msg.isEmpty()) percents.push_back(r.Percent);
    ASSERT_GT(percents.size(), 50u);
    EXPECT_EQ(percents.front(), 2);
    EXPECT_EQ(percents.back(), 99);
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
}
