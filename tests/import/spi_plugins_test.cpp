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
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

uint8_t Sample8(int X, int Y, int C) { return static_cast<uint8_t>(X * 31 + Y * 17 + C * 71); }
uint16_t Sample16(int X, int Y, int C) { return static_cast<uint16_t>(X * 4099 + Y * 771 + C * 12345); }
uint8_t To8(uint16_t V) { return static_cast<uint8_t>((V + 128) / 257); }
RGBTRIPLE Grey(uint8_t V) { return {V, V, V}; }

// ---- writers and the reference decoder ----

std::vector<uint8_t> WriteJpeg(int W, int H, int Components) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(W);
    cinfo.image_height = static_cast<JDIMENSION>(H);
    cinfo.input_components = Components;
    cinfo.in_color_space = Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.density_unit = 1;
    cinfo.X_density = 100;
    cinfo.Y_density = 100;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(W * Components));
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            for (int c = 0; c < Components; ++c) row[static_cast<size_t>(x * Components + c)] = Sample8(x, y, c);
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

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

struct PngSpec {
    int Width = 13, Height = 7, ColorType = PNG_COLOR_TYPE_RGB, BitDepth = 8;
    bool Interlaced = false;
};

void WritePng(const QString& FileName, const PngSpec& S) {
    FILE* file = std::fopen(QFile::encodeName(FileName).constData(), "wb");
    ASSERT_NE(file, nullptr);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(S.Width), static_cast<png_uint_32>(S.Height), S.BitDepth,
                 S.ColorType, S.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (S.ColorType == PNG_COLOR_TYPE_PALETTE) {
        png_color colors[256];
        png_byte alpha[256];
        for (int i = 0; i < 256; ++i) {
            colors[i] = {Sample8(i, 0, 0), Sample8(i, 0, 1), Sample8(i, 0, 2)};
            alpha[i] = static_cast<png_byte>(i);
        }
        png_set_PLTE(png, info, colors, 256);
        png_set_tRNS(png, info, alpha, 256, nullptr);
    }
    png_write_info(png, info);
    const int channels = png_get_channels(png, info);
    std::vector<png_byte> row(png_get_rowbytes(png, info));
    const int passes = png_set_interlace_handling(png);
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < S.Height; ++y) {
            std::fill(row.begin(), row.end(), 0);
            for (int x = 0; x < S.Width; ++x)
                for (int c = 0; c < channels; ++c) {
                    if (S.BitDepth == 16) {
                        const uint16_t v = Sample16(x, y, c);
                        row[static_cast<size_t>(2 * (x * channels + c))] = static_cast<png_byte>(v >> 8);
                        row[static_cast<size_t>(2 * (x * channels + c) + 1)] = static_cast<png_byte>(v);
                    } else if (S.BitDepth == 8) {
                        row[static_cast<size_t>(x * channels + c)] = Sample8(x, y, c);
                    } else {
                        const int bit = x * S.BitDepth;
                        const int value = Sample8(x, y, 0) >> (8 - S.BitDepth);
                        row[static_cast<size_t>(bit / 8)] |= static_cast<png_byte>(value << (8 - S.BitDepth - bit % 8));
                    }
                }
            png_write_row(png, row.data());
        }
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

struct TiffSpec {
    int Width = 13, Height = 7, Samples = 3, Bits = 8;
    uint16_t Photometric = PHOTOMETRIC_RGB, Compression = COMPRESSION_NONE;
    bool Tiled = false;
    bool UnassociatedAlpha = false;
};

void WriteTiff(const QString& FileName, const TiffSpec& S) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(FileName).constData(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, S.Width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, S.Height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, S.Samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, S.Bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, S.Photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, S.Compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (S.UnassociatedAlpha) {
        const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
        TIFFSetField(tiff, TIFFTAG_EXTRASAMPLES, 1, &extra);
    }
    if (S.Photometric == PHOTOMETRIC_PALETTE) {
        std::vector<uint16_t> r(size_t{1} << S.Bits), g(r.size()), b(r.size());
        for (size_t i = 0; i < r.size(); ++i) {
            r[i] = Sample16(static_cast<int>(i), 0, 0);
            g[i] = Sample16(static_cast<int>(i), 0, 1);
            b[i] = Sample16(static_cast<int>(i), 0, 2);
        }
        TIFFSetField(tiff, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
    }
    const auto rowOf = [&](int Y, int X0, int Count, std::vector<uint8_t>& Row) {
        std::fill(Row.begin(), Row.end(), 0);
        for (int x = 0; x < Count; ++x)
            for (int c = 0; c < S.Samples; ++c) {
                const int i = x * S.Samples + c;
                if (S.Bits == 16) {
                    reinterpret_cast<uint16_t*>(Row.data())[i] = Sample16(X0 + x, Y, c);
                } else if (S.Bits == 8) {
                    Row[static_cast<size_t>(i)] = Sample8(X0 + x, Y, c);
                } else {
                    const int bit = x * S.Bits;
                    const int value = Sample8(X0 + x, Y, 0) >> (8 - S.Bits);
                    Row[static_cast<size_t>(bit / 8)] |= static_cast<uint8_t>(value << (8 - S.Bits - bit % 8));
                }
            }
    };
    if (S.Tiled) {
        TIFFSetField(tiff, TIFFTAG_TILEWIDTH, 16);
        TIFFSetField(tiff, TIFFTAG_TILELENGTH, 16);
        std::vector<uint8_t> tile(static_cast<size_t>(TIFFTileSize(tiff)));
        const auto rowBytes = static_cast<size_t>(TIFFTileRowSize(tiff));
        std::vector<uint8_t> row(rowBytes);
        for (int y0 = 0; y0 < S.Height; y0 += 16)
            for (int x0 = 0; x0 < S.Width; x0 += 16) {
                std::fill(tile.begin(), tile.end(), 0);
                for (int r = 0; r < 16 && y0 + r < S.Height; ++r) {
                    rowOf(y0 + r, x0, std::min(16, S.Width - x0), row);
                    std::copy(row.begin(), row.end(), tile.begin() + static_cast<ptrdiff_t>(r * rowBytes));
                }
                TIFFWriteTile(tiff, tile.data(), static_cast<uint32_t>(x0), static_cast<uint32_t>(y0), 0, 0);
            }
    } else {
        std::vector<uint8_t> row(static_cast<size_t>(TIFFScanlineSize(tiff)));
        for (int y = 0; y < S.Height; ++y) {
            rowOf(y, 0, S.Width, row);
            TIFFWriteScanline(tiff, row.data(), static_cast<uint32_t>(y), 0);
        }
    }
    TIFFClose(tiff);
}

// ---- the host with our plug-ins ----

class PluginTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        MakeHost().Search(QStringLiteral(TAM32_BIN_DIR "/*.spi"));
        ASSERT_EQ(Host->GetCount(), 4);
    }
    QString Path(const char* Name) const { return Work.filePath(QLatin1String(Name)); }

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
    WriteBytes(colour, WriteJpeg(37, 29, 3));
    ExpectAsLibjpeg(colour);
    const QString grey = Path("grey.jpeg");
    WriteBytes(grey, WriteJpeg(21, 9, 1));
    ExpectAsLibjpeg(grey);

    TSPIPxDIB dib;
    dib.LoadFromFile(grey);
    EXPECT_EQ(dib.GetBitCount(), 8);
    // 100 dots per inch.
    EXPECT_EQ(dib.DIB().Infos.Header.biXPelsPerMeter, 3937);
}

TEST_F(PluginTest, ATruncatedJpegStillGivesItsPicture) {
    std::vector<uint8_t> bytes = WriteJpeg(64, 64, 3);
    bytes.resize(bytes.size() / 2);
    const QString file = Path("cut.jpg");
    WriteBytes(file, bytes);
    TSPIPxDIB dib;
    dib.LoadFromFile(file);
    EXPECT_EQ(dib.Width(), 64);
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
    WriteBytes(file, WriteJpeg(40, 300, 3));
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
