#pragma once
// Writers of small JPEG, PNG and TIFF pictures of known pixels for the plug-in
// tests, with the options those tests vary.
#include <gtest/gtest.h>

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>

#include "platform/WinTypes.h"

namespace tam32::test {

inline uint8_t Sample8(int X, int Y, int C) { return static_cast<uint8_t>(X * 31 + Y * 17 + C * 71); }
inline uint16_t Sample16(int X, int Y, int C) { return static_cast<uint16_t>(X * 4099 + Y * 771 + C * 12345); }
inline uint8_t To8(uint16_t V) { return static_cast<uint8_t>((V + 128) / 257); }
inline RGBTRIPLE Grey(uint8_t V) { return {V, V, V}; }

// How the JPEG writer lays out its scans.
enum class JpegScans {
    Baseline,            // one scan of all components
    Progressive,         // libjpeg's progressive script
    ComponentByComponent,  // sequential, one scan per component
    EveryBitApart,       // progressive, each bit of each coefficient of each component in a scan of its own
};

struct JpegSpec {
    int Width = 37, Height = 29, Components = 3;
    JpegScans Scans = JpegScans::Baseline;
    // JFIF density: unit 1 dots per inch, 2 dots per centimetre.
    uint8_t DensityUnit = 1;
    uint16_t Density = 100;
    // Channel C (red, green, blue) of pixel (X, Y).
    std::function<uint8_t(int X, int Y, int C)> Pixel = Sample8;
};

inline std::vector<jpeg_scan_info> ScanScript(const JpegSpec& S) {
    std::vector<jpeg_scan_info> scans;
    const auto add = [&scans](int Component, int Ss, int Se, int Ah, int Al) {
        jpeg_scan_info scan{};
        scan.comps_in_scan = 1;
        scan.component_index[0] = Component;
        scan.Ss = Ss;
        scan.Se = Se;
        scan.Ah = Ah;
        scan.Al = Al;
        scans.push_back(scan);
    };
    // The most successive-approximation bits libjpeg allows for 8-bit samples.
    constexpr int kTopBit = 10;
    for (int c = 0; c < S.Components; ++c) {
        if (S.Scans == JpegScans::ComponentByComponent) {
            add(c, 0, 63, 0, 0);
            continue;
        }
        for (int k = 0; k < DCTSIZE2; ++k) {
            add(c, k, k, 0, kTopBit);
            for (int bit = kTopBit; bit > 0; --bit) add(c, k, k, bit, bit - 1);
        }
    }
    return scans;
}

inline std::vector<uint8_t> WriteJpeg(const JpegSpec& S) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(S.Width);
    cinfo.image_height = static_cast<JDIMENSION>(S.Height);
    cinfo.input_components = S.Components;
    cinfo.in_color_space = S.Components == 1 ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    cinfo.density_unit = S.DensityUnit;
    cinfo.X_density = S.Density;
    cinfo.Y_density = S.Density;
    const std::vector<jpeg_scan_info> script = ScanScript(S);
    if (S.Scans == JpegScans::Progressive) jpeg_simple_progression(&cinfo);
    if (S.Scans == JpegScans::ComponentByComponent || S.Scans == JpegScans::EveryBitApart) {
        cinfo.scan_info = script.data();
        cinfo.num_scans = static_cast<int>(script.size());
    }
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(S.Width * S.Components));
    for (int y = 0; y < S.Height; ++y) {
        for (int x = 0; x < S.Width; ++x)
            for (int c = 0; c < S.Components; ++c)
                row[static_cast<size_t>(x * S.Components + c)] = S.Pixel(x, y, c);
        JSAMPROW pointer = row.data();
        jpeg_write_scanlines(&cinfo, &pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

struct PngSpec {
    int Width = 13, Height = 7, ColorType = PNG_COLOR_TYPE_RGB, BitDepth = 8;
    bool Interlaced = false;
    // Written in a pHYs chunk when not 0.
    uint32_t PixelsPerMetre = 0;
};

inline void WritePng(const QString& FileName, const PngSpec& S) {
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
    if (S.PixelsPerMetre != 0)
        png_set_pHYs(png, info, S.PixelsPerMetre, S.PixelsPerMetre, PNG_RESOLUTION_METER);
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
    bool OneStrip = false;
    // Dots per inch, written when not 0.
    float Resolution = 0;
};

inline void WriteTiff(const QString& FileName, const TiffSpec& S) {
    TIFF* tiff = TIFFOpen(QFile::encodeName(FileName).constData(), "w");
    ASSERT_NE(tiff, nullptr);
    TIFFSetField(tiff, TIFFTAG_IMAGEWIDTH, S.Width);
    TIFFSetField(tiff, TIFFTAG_IMAGELENGTH, S.Height);
    TIFFSetField(tiff, TIFFTAG_SAMPLESPERPIXEL, S.Samples);
    TIFFSetField(tiff, TIFFTAG_BITSPERSAMPLE, S.Bits);
    TIFFSetField(tiff, TIFFTAG_PHOTOMETRIC, S.Photometric);
    TIFFSetField(tiff, TIFFTAG_COMPRESSION, S.Compression);
    TIFFSetField(tiff, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    if (S.OneStrip) TIFFSetField(tiff, TIFFTAG_ROWSPERSTRIP, S.Height);
    if (S.Resolution != 0) {
        TIFFSetField(tiff, TIFFTAG_XRESOLUTION, S.Resolution);
        TIFFSetField(tiff, TIFFTAG_YRESOLUTION, S.Resolution);
        TIFFSetField(tiff, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
    }
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

}  // namespace tam32::test
