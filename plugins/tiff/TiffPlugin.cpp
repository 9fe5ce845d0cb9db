// TIFF input plug-in (the first image of a file). Grey pictures come as 8
// bits with a grey colour table, all others as 24 bits. Strips and tiles of
// 8- or 16-bit grey, RGB and 8-bit CMYK samples and of 1- to 8-bit grey
// levels and palette indices are converted here (extra samples such as alpha
// dropped, 16-bit samples and colour maps scaled to 8 bits with rounding);
// every other layout goes through libtiff's RGBA reader. Rows keep the order
// they are stored in: the orientation tag is not applied.
//
// What the file declares is weighed against what it holds before anything is
// allocated for the picture: its size against the picture limit, its tiles
// against its size, its strips and tiles against the file's length, and the
// data they hold against what the picture needs.
#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <memory>
#include <vector>

#include <tiffio.h>

#include "support/SpiDecodeExports.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPictureLimit.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiProgress.h"

namespace {

using namespace tam32::spi;

constexpr SpiFormat kFormats[] = {{"*.tif", "Tagged Image File Format"}, {"*.tiff", "Tagged Image File Format"}};
constexpr SpiPluginTexts kTexts = {"00IN", "TAM32 TIFF input plug-in (libtiff)", kFormats};

// ---- the picture in memory as libtiff's file ----

struct MemoryFile {
    const uint8_t* Data;
    toff_t Size;
    toff_t Position;
};

tmsize_t ReadProc(thandle_t Handle, void* Buffer, tmsize_t Size) {
    auto* file = static_cast<MemoryFile*>(Handle);
    if (Size <= 0 || file->Position >= file->Size) return 0;
    const toff_t n = std::min<toff_t>(static_cast<toff_t>(Size), file->Size - file->Position);
    std::memcpy(Buffer, file->Data + file->Position, n);
    file->Position += n;
    return static_cast<tmsize_t>(n);
}

tmsize_t WriteProc(thandle_t, void*, tmsize_t) { return 0; }

toff_t SeekProc(thandle_t Handle, toff_t Offset, int Whence) {
    auto* file = static_cast<MemoryFile*>(Handle);
    const toff_t base = Whence == SEEK_CUR ? file->Position : Whence == SEEK_END ? file->Size : 0;
    file->Position = base + Offset;
    return file->Position;
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t Handle) { return static_cast<MemoryFile*>(Handle)->Size; }

// Strips are read straight from the caller's memory.
int MapProc(thandle_t Handle, void** Base, toff_t* Size) {
    auto* file = static_cast<MemoryFile*>(Handle);
    *Base = const_cast<uint8_t*>(file->Data);
    *Size = file->Size;
    return 1;
}

void UnmapProc(thandle_t, void*, toff_t) {}

// The plug-in has nowhere to print libtiff's messages.
int Silence(TIFF*, void*, const char*, const char*, va_list) { return 1; }

struct TiffCloser {
    void operator()(TIFF* Tiff) const { TIFFClose(Tiff); }
};
using TiffFile = std::unique_ptr<TIFF, TiffCloser>;

TiffFile OpenTiff(MemoryFile& File) {
    const std::unique_ptr<TIFFOpenOptions, void (*)(TIFFOpenOptions*)> options(TIFFOpenOptionsAlloc(),
                                                                               TIFFOpenOptionsFree);
    if (options == nullptr) return nullptr;
    TIFFOpenOptionsSetErrorHandlerExtR(options.get(), Silence, nullptr);
    TIFFOpenOptionsSetWarningHandlerExtR(options.get(), Silence, nullptr);
    // No single block of libtiff's own beyond what one picture may take.
    TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), PictureBlockLimit());
    // "O": the strip and tile tables are read entry by entry when asked for,
    // so a table the file only claims costs nothing before it is checked.
    return TiffFile(TIFFClientOpenExt("picture", "rO", &File, ReadProc, WriteProc, SeekProc, CloseProc, SizeProc,
                                      MapProc, UnmapProc, options.get()));
}

// ---- the picture's layout ----

enum class Layout { Grey, Rgb, Cmyk, Palette, Rgba };

struct Picture {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint16_t BitsPerSample = 1;
    uint16_t SamplesPerPixel = 1;
    uint16_t Photometric = PHOTOMETRIC_MINISBLACK;
    Layout Kind = Layout::Rgba;
    double XDpi = 0;
    double YDpi = 0;
};

bool IsOneOf(uint16_t Value, std::initializer_list<uint16_t> Values) {
    return std::find(Values.begin(), Values.end(), Value) != Values.end();
}

// False when libtiff can read the picture in no way.
bool Describe(TIFF* Tiff, Picture& P) {
    uint16_t planar = PLANARCONFIG_CONTIG, sampleFormat = SAMPLEFORMAT_UINT, unit = RESUNIT_INCH;
    uint16_t inkSet = INKSET_CMYK;
    float xResolution = 0, yResolution = 0;
    if (TIFFGetField(Tiff, TIFFTAG_IMAGEWIDTH, &P.Width) == 0 || TIFFGetField(Tiff, TIFFTAG_IMAGELENGTH, &P.Height) == 0)
        return false;
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_BITSPERSAMPLE, &P.BitsPerSample);
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_SAMPLESPERPIXEL, &P.SamplesPerPixel);
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_INKSET, &inkSet);
    if (TIFFGetField(Tiff, TIFFTAG_PHOTOMETRIC, &P.Photometric) == 0)
        P.Photometric = P.SamplesPerPixel >= 3 ? PHOTOMETRIC_RGB : PHOTOMETRIC_MINISBLACK;
    if (TIFFGetField(Tiff, TIFFTAG_XRESOLUTION, &xResolution) != 0 &&
        TIFFGetField(Tiff, TIFFTAG_YRESOLUTION, &yResolution) != 0) {
        TIFFGetFieldDefaulted(Tiff, TIFFTAG_RESOLUTIONUNIT, &unit);
        const double perInch = unit == RESUNIT_INCH ? 1.0 : unit == RESUNIT_CENTIMETER ? 2.54 : 0.0;
        P.XDpi = xResolution * perInch;
        P.YDpi = yResolution * perInch;
    }
    const uint16_t bits = P.BitsPerSample, samples = P.SamplesPerPixel;
    const bool direct = sampleFormat == SAMPLEFORMAT_UINT && (planar == PLANARCONFIG_CONTIG || samples == 1);
    const bool grey = P.Photometric == PHOTOMETRIC_MINISBLACK || P.Photometric == PHOTOMETRIC_MINISWHITE;
    if (direct && grey && IsOneOf(bits, {1, 2, 4, 8, 16}) && (samples == 1 || bits >= 8)) {
        P.Kind = Layout::Grey;
    } else if (direct && P.Photometric == PHOTOMETRIC_RGB && IsOneOf(bits, {8, 16}) && samples >= 3) {
        P.Kind = Layout::Rgb;
    } else if (direct && P.Photometric == PHOTOMETRIC_SEPARATED && inkSet == INKSET_CMYK && bits == 8 &&
               samples >= 4) {
        P.Kind = Layout::Cmyk;
    } else if (direct && P.Photometric == PHOTOMETRIC_PALETTE && IsOneOf(bits, {1, 2, 4, 8}) && samples == 1) {
        P.Kind = Layout::Palette;
    } else {
        char message[1024];
        if (TIFFRGBAImageOK(Tiff, message) == 0) return false;
        P.Kind = Layout::Rgba;
    }
    return true;
}

// ---- what the file holds against what it declares ----

// The most pixel samples one byte of compressed data may stand for.
constexpr uint64_t kSamplesPerByte = 8192;
// Each strip or tile takes an offset and a byte count of two bytes at least.
constexpr uint64_t kTableBytesPerPiece = 4;

uint64_t RoundUpTo16(uint64_t Value) { return (Value + 15) / 16 * 16; }

// SPI_SUCCESS when the pieces (strips or tiles) lie inside the file and hold
// data enough for the picture; Raw is what they hold uncompressed.
int32_t CheckPieces(TIFF* Tiff, const Picture& P, uint64_t FileSize, uint32_t Pieces, uint64_t Raw) {
    if (Pieces == 0 || Pieces > FileSize / kTableBytesPerPiece) return SPI_BROKEN_DATA;
    uint64_t held = 0;
    for (uint32_t i = 0; i < Pieces; ++i) {
        const uint64_t offset = TIFFGetStrileOffset(Tiff, i);
        const uint64_t bytes = TIFFGetStrileByteCount(Tiff, i);
        if (offset > FileSize || bytes > FileSize - offset) return SPI_BROKEN_DATA;
        held += bytes;
    }
    uint16_t compression = COMPRESSION_NONE;
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_COMPRESSION, &compression);
    const uint64_t samples = uint64_t{P.Width} * P.Height * P.SamplesPerPixel;
    const uint64_t needed = compression == COMPRESSION_NONE ? Raw : samples / kSamplesPerByte;
    return held >= needed ? SPI_SUCCESS : SPI_BROKEN_DATA;
}

int32_t CheckDeclaredSizes(TIFF* Tiff, const Picture& P, uint64_t FileSize) {
    const int32_t size = CheckPictureSize(P.Width, P.Height);
    if (size != SPI_SUCCESS) return size;
    if (TIFFIsTiled(Tiff) == 0) {
        uint16_t planar = PLANARCONFIG_CONTIG;
        TIFFGetFieldDefaulted(Tiff, TIFFTAG_PLANARCONFIG, &planar);
        const uint64_t planes = planar == PLANARCONFIG_SEPARATE ? P.SamplesPerPixel : 1;
        return CheckPieces(Tiff, P, FileSize, TIFFNumberOfStrips(Tiff), TIFFScanlineSize64(Tiff) * P.Height * planes);
    }
    uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(Tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(Tiff, TIFFTAG_TILELENGTH, &tileLength);
    if (tileWidth == 0 || tileLength == 0 || tileWidth > RoundUpTo16(P.Width) || tileLength > RoundUpTo16(P.Height))
        return SPI_BROKEN_DATA;
    const uint32_t tiles = TIFFNumberOfTiles(Tiff);
    return CheckPieces(Tiff, P, FileSize, tiles, TIFFTileSize64(Tiff) * tiles);
}

// ---- samples to 8 bits ----

// 16 to 8 bits, rounded to the nearest level (v / 257).
inline uint8_t Scale16(uint32_t Value) {
    Value += 128;
    return static_cast<uint8_t>((Value - (Value >> 8)) >> 8);
}

// Sample X of a row of Bits-bit samples (1, 2 or 4 bits, first in the high bits).
inline uint32_t PackedSample(const uint8_t* Row, uint32_t X, unsigned Bits) {
    const uint32_t bit = X * Bits;
    return (Row[bit / 8] >> (8 - Bits - bit % 8)) & ((1u << Bits) - 1);
}

// Each converter turns Count pixels of a stored row (or tile row) into the
// DIB's 8-bit grey levels or blue, green, red triples.
void GreyRow(const Picture& P, const uint8_t* In, uint8_t* Out, uint32_t Count) {
    const unsigned bits = P.BitsPerSample, samples = P.SamplesPerPixel;
    const bool invert = P.Photometric == PHOTOMETRIC_MINISWHITE;
    if (bits == 8) {
        for (uint32_t x = 0; x < Count; ++x) Out[x] = invert ? 255 - In[x * samples] : In[x * samples];
    } else if (bits == 16) {
        const auto* in = reinterpret_cast<const uint16_t*>(In);
        for (uint32_t x = 0; x < Count; ++x) {
            const uint32_t v = in[x * samples];
            Out[x] = Scale16(invert ? 65535 - v : v);
        }
    } else {
        const uint32_t maximum = (1u << bits) - 1;
        for (uint32_t x = 0; x < Count; ++x) {
            const uint32_t v = PackedSample(In, x, bits);
            Out[x] = static_cast<uint8_t>((invert ? maximum - v : v) * 255 / maximum);
        }
    }
}

void RgbRow(const Picture& P, const uint8_t* In, uint8_t* Out, uint32_t Count) {
    const unsigned samples = P.SamplesPerPixel;
    if (P.BitsPerSample == 8) {
        for (uint32_t x = 0; x < Count; ++x, In += samples, Out += 3) {
            Out[0] = In[2];
            Out[1] = In[1];
            Out[2] = In[0];
        }
    } else {
        const auto* in = reinterpret_cast<const uint16_t*>(In);
        for (uint32_t x = 0; x < Count; ++x, in += samples, Out += 3) {
            Out[0] = Scale16(in[2]);
            Out[1] = Scale16(in[1]);
            Out[2] = Scale16(in[0]);
        }
    }
}

// Ink values: each colour is what its ink and black leave of the paper.
void CmykRow(const Picture& P, const uint8_t* In, uint8_t* Out, uint32_t Count) {
    const unsigned samples = P.SamplesPerPixel;
    for (uint32_t x = 0; x < Count; ++x, In += samples, Out += 3) {
        const unsigned paper = 255u - In[3];
        Out[0] = static_cast<uint8_t>(((255u - In[2]) * paper + 127) / 255);
        Out[1] = static_cast<uint8_t>(((255u - In[1]) * paper + 127) / 255);
        Out[2] = static_cast<uint8_t>(((255u - In[0]) * paper + 127) / 255);
    }
}

// The colour map as blue, green, red; old files store 8-bit entries.
std::vector<uint8_t> PaletteColors(TIFF* Tiff, unsigned Bits) {
    uint16_t *red = nullptr, *green = nullptr, *blue = nullptr;
    if (TIFFGetField(Tiff, TIFFTAG_COLORMAP, &red, &green, &blue) == 0) return {};
    const size_t count = size_t{1} << Bits;
    bool eightBit = true;
    for (size_t i = 0; i < count; ++i) eightBit = eightBit && red[i] < 256 && green[i] < 256 && blue[i] < 256;
    std::vector<uint8_t> colors(3 * count);
    for (size_t i = 0; i < count; ++i) {
        colors[3 * i] = eightBit ? static_cast<uint8_t>(blue[i]) : Scale16(blue[i]);
        colors[3 * i + 1] = eightBit ? static_cast<uint8_t>(green[i]) : Scale16(green[i]);
        colors[3 * i + 2] = eightBit ? static_cast<uint8_t>(red[i]) : Scale16(red[i]);
    }
    return colors;
}

void PaletteRow(const Picture& P, const std::vector<uint8_t>& Colors, const uint8_t* In, uint8_t* Out,
                uint32_t Count) {
    const unsigned bits = P.BitsPerSample;
    for (uint32_t x = 0; x < Count; ++x, Out += 3) {
        const uint8_t* color = &Colors[3 * (bits == 8 ? In[x] : PackedSample(In, x, bits))];
        Out[0] = color[0];
        Out[1] = color[1];
        Out[2] = color[2];
    }
}

// Converts stored rows and tiles into the DIB, one piece at a time.
class RowConverter {
public:
    RowConverter(TIFF* Tiff, const Picture& P, SpiDib& Dib) : FPicture(P), FDib(Dib) {
        if (P.Kind == Layout::Palette) FColors = PaletteColors(Tiff, P.BitsPerSample);
    }
    bool Ready() const { return FPicture.Kind != Layout::Palette || !FColors.empty(); }
    // Count pixels of stored row Y from column X on.
    void Convert(const uint8_t* In, uint32_t X, uint32_t Y, uint32_t Count) const {
        const uint32_t outBytes = FPicture.Kind == Layout::Grey ? 1 : 3;
        uint8_t* out = FDib.Row(Y) + size_t{X} * outBytes;
        switch (FPicture.Kind) {
            case Layout::Grey: GreyRow(FPicture, In, out, Count); break;
            case Layout::Rgb: RgbRow(FPicture, In, out, Count); break;
            case Layout::Cmyk: CmykRow(FPicture, In, out, Count); break;
            default: PaletteRow(FPicture, FColors, In, out, Count); break;
        }
    }

private:
    const Picture& FPicture;
    SpiDib& FDib;
    std::vector<uint8_t> FColors;
};

int32_t ReadStrips(TIFF* Tiff, const Picture& P, const RowConverter& Converter, SpiProgress& Progress) {
    const tmsize_t lineSize = TIFFScanlineSize(Tiff);
    if (lineSize <= 0) return SPI_BROKEN_DATA;
    std::vector<uint8_t> line(static_cast<size_t>(lineSize));
    for (uint32_t y = 0; y < P.Height; ++y) {
        if (TIFFReadScanline(Tiff, line.data(), y, 0) < 0) return SPI_BROKEN_DATA;
        Converter.Convert(line.data(), 0, y, P.Width);
        if (!Progress.Report(y + 1)) return SPI_ABORTED;
    }
    return SPI_SUCCESS;
}

int32_t ReadTiles(TIFF* Tiff, const Picture& P, const RowConverter& Converter, SpiProgress& Progress) {
    uint32_t tileWidth = 0, tileLength = 0;
    TIFFGetField(Tiff, TIFFTAG_TILEWIDTH, &tileWidth);
    TIFFGetField(Tiff, TIFFTAG_TILELENGTH, &tileLength);
    const tmsize_t tileSize = TIFFTileSize(Tiff);
    const tmsize_t rowSize = TIFFTileRowSize(Tiff);
    if (tileWidth == 0 || tileLength == 0 || tileSize <= 0 || rowSize <= 0) return SPI_BROKEN_DATA;
    std::vector<uint8_t> tile(static_cast<size_t>(tileSize));
    for (uint32_t y0 = 0; y0 < P.Height; y0 += tileLength) {
        const uint32_t rows = std::min(tileLength, P.Height - y0);
        for (uint32_t x0 = 0; x0 < P.Width; x0 += tileWidth) {
            if (TIFFReadTile(Tiff, tile.data(), x0, y0, 0, 0) < 0) return SPI_BROKEN_DATA;
            for (uint32_t r = 0; r < rows; ++r)
                Converter.Convert(tile.data() + r * static_cast<size_t>(rowSize), x0, y0 + r,
                                  std::min(tileWidth, P.Width - x0));
        }
        if (!Progress.Report(y0 + rows)) return SPI_ABORTED;
    }
    return SPI_SUCCESS;
}

int32_t ReadRgba(TIFF* Tiff, const Picture& P, SpiDib& Dib, SpiProgress& Progress) {
    // Rows in the order they are stored, as the row-by-row reading has them:
    // the orientation tag is not applied.
    uint16_t orientation = ORIENTATION_TOPLEFT;
    TIFFGetFieldDefaulted(Tiff, TIFFTAG_ORIENTATION, &orientation);
    std::vector<uint32_t> raster(size_t{P.Width} * P.Height);
    if (TIFFReadRGBAImageOriented(Tiff, P.Width, P.Height, raster.data(), orientation, 0) == 0)
        return SPI_BROKEN_DATA;
    for (uint32_t y = 0; y < P.Height; ++y) {
        const uint32_t* in = &raster[size_t{y} * P.Width];
        uint8_t* out = Dib.Row(y);
        for (uint32_t x = 0; x < P.Width; ++x, out += 3) {
            out[0] = static_cast<uint8_t>(TIFFGetB(in[x]));
            out[1] = static_cast<uint8_t>(TIFFGetG(in[x]));
            out[2] = static_cast<uint8_t>(TIFFGetR(in[x]));
        }
    }
    return Progress.Report(P.Height) ? SPI_SUCCESS : SPI_ABORTED;
}

int32_t Decode(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiRows* Rows,
               SpiProgressCallback Callback, intptr_t LData) {
    MemoryFile file{Input.Data(), Input.Size(), 0};
    const TiffFile tiff = OpenTiff(file);
    Picture picture;
    if (tiff == nullptr || !Describe(tiff.get(), picture)) return SPI_BROKEN_DATA;
    const bool grey = picture.Kind == Layout::Grey;
    if (Info != nullptr) {
        *Info = SpiPictureInfo{};
        Info->width = static_cast<int32_t>(picture.Width);
        Info->height = static_cast<int32_t>(picture.Height);
        Info->x_density = DensityField(picture.XDpi);
        Info->y_density = DensityField(picture.YDpi);
        Info->colorDepth = grey ? 8 : 24;
    }
    if (Dib == nullptr) return SPI_SUCCESS;
    const int32_t declared = CheckDeclaredSizes(tiff.get(), picture, file.Size);
    if (declared != SPI_SUCCESS) return declared;
    SpiProgress progress(Callback, LData, picture.Height);
    if (!progress.Report(0)) return SPI_ABORTED;
    const int32_t created = Dib->Create(picture.Width, picture.Height, grey ? 8 : 24, grey ? 256 : 0);
    if (created != SPI_SUCCESS) return created;
    if (grey) Dib->SetGreyColors();
    Dib->SetDotsPerInch(picture.XDpi, picture.YDpi);
    if (picture.Kind == Layout::Rgba) return ReadRgba(tiff.get(), picture, *Dib, progress);
    const RowConverter converter(tiff.get(), picture, *Dib);
    if (!converter.Ready()) return SPI_BROKEN_DATA;
    return TIFFIsTiled(tiff.get()) != 0 ? ReadTiles(tiff.get(), picture, converter, progress)
                                        : ReadStrips(tiff.get(), picture, converter, progress);
}

bool LooksLikeTiff(const uint8_t* Header) {
    return (Header[0] == 'I' && Header[1] == 'I' && Header[2] == 42 && Header[3] == 0) ||
           (Header[0] == 'M' && Header[1] == 'M' && Header[2] == 0 && Header[3] == 42);
}

}  // namespace

TAM32_SPI_INPUT_EXPORTS(kTexts, LooksLikeTiff, Decode, true)
