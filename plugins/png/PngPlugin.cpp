// PNG input plug-in. Grey pictures come as 8 bits with a grey colour table,
// all others (palette ones included) as 24 bits. Alpha and transparency are
// dropped, leaving the stored colours; 16-bit samples are scaled to 8 bits
// with rounding; 1-, 2- and 4-bit grey levels are spread over 0..255. No
// gamma correction is applied.
//
// Before any row is allocated, the picture's size is checked against the
// picture limit and the compressed data the file holds against what the
// picture needs: deflate makes at most about 1032 bytes of one.
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <png.h>

#include "support/SpiDecodeExports.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPictureLimit.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiProgress.h"

namespace {

using namespace tam32::spi;

constexpr SpiFormat kFormats[] = {{"*.png", "Portable Network Graphics"}};
constexpr SpiPluginTexts kTexts = {"00IN", "TAM32 PNG input plug-in (libpng)", kFormats};

constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Reader {
    const uint8_t* Data;
    size_t Size;
    size_t Position;
};

void ReadData(png_structp Png, png_bytep Out, size_t Length) {
    auto* reader = static_cast<Reader*>(png_get_io_ptr(Png));
    if (Length > reader->Size - reader->Position) png_error(Png, "unexpected end of data");
    std::memcpy(Out, reader->Data + reader->Position, Length);
    reader->Position += Length;
}

// The most bytes one byte of compressed data can become.
constexpr uint64_t kInflationLimit = 1032;
constexpr size_t kChunkHeaderBytes = 8;
constexpr uint64_t kChunkFrameBytes = 12;  // length, type and CRC
constexpr uint32_t kMaxChunkLength = 0x7FFFFFFF;

uint32_t BigEndian32(const uint8_t* Bytes) {
    return uint32_t{Bytes[0]} << 24 | uint32_t{Bytes[1]} << 16 | uint32_t{Bytes[2]} << 8 | Bytes[3];
}

// Copies the Count bytes at Offset from the picture's start; false past its end.
bool ReadAt(const SpiInput& Input, uint64_t Offset, uint8_t* Out, size_t Count) {
    if (Input.File() == nullptr) {
        if (Offset > Input.Size() || Count > Input.Size() - Offset) return false;
        std::memcpy(Out, Input.Data() + Offset, Count);
        return true;
    }
    FILE* file = Input.File();
    const off_t start = ftello(file);
    const bool read = fseeko(file, start + static_cast<off_t>(Offset), SEEK_SET) == 0 &&
                      std::fread(Out, 1, Count, file) == Count;
    return fseeko(file, start, SEEK_SET) == 0 && read;
}

// The bytes of compressed picture data in the file: the lengths of its IDAT
// chunks, found by walking the chunk headers without reading their data.
uint64_t CompressedBytes(const SpiInput& Input) {
    uint64_t total = 0;
    uint8_t header[kChunkHeaderBytes];
    for (uint64_t offset = sizeof kSignature; ReadAt(Input, offset, header, sizeof header);) {
        const uint32_t length = BigEndian32(header);
        if (length > kMaxChunkLength || std::memcmp(header + 4, "IEND", 4) == 0) break;
        if (std::memcmp(header + 4, "IDAT", 4) == 0) total += length;
        offset += kChunkFrameBytes + length;
    }
    return total;
}

// SPI_SUCCESS when the picture is within the limit and the file holds
// compressed data enough for its rows (each with its filter byte).
int32_t CheckDeclaredSize(png_structp Png, png_infop Info, uint64_t Compressed) {
    const png_uint_32 width = png_get_image_width(Png, Info);
    const png_uint_32 height = png_get_image_height(Png, Info);
    const int32_t size = CheckPictureSize(width, height);
    if (size != SPI_SUCCESS) return size;
    const uint64_t bitsPerPixel = uint64_t{png_get_channels(Png, Info)} * png_get_bit_depth(Png, Info);
    const uint64_t rows = ((uint64_t{width} * bitsPerPixel + 7) / 8 + 1) * height;
    return Compressed >= rows / kInflationLimit ? SPI_SUCCESS : SPI_BROKEN_DATA;
}

// Errors return through longjmp; there is nowhere to print them.
[[noreturn]] void Error(png_structp Png, png_const_charp) { png_longjmp(Png, 1); }
void Warning(png_structp, png_const_charp) {}

double DotsPerInch(png_structp Png, png_infop Info, bool X) {
    png_uint_32 x = 0, y = 0;
    int unit = 0;
    if (png_get_pHYs(Png, Info, &x, &y, &unit) == 0 || unit != PNG_RESOLUTION_METER) return 0;
    return (X ? x : y) * 0.0254;
}

// Reads the header into Info and, with Dib, the pixels, the file holding
// Compressed bytes of picture data. Only trivially destructible objects live
// in this frame, since libpng's errors return through longjmp.
int32_t DecodeHolding(uint64_t Compressed, const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib,
                      SpiProgressCallback Callback, intptr_t LData) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Error, Warning);
    if (png == nullptr) return SPI_NO_MEMORY;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        return SPI_NO_MEMORY;
    }
    Reader reader{Input.Data(), Input.Size(), 0};
    if (setjmp(png_jmpbuf(png)) != 0) {
        png_destroy_read_struct(&png, &info, nullptr);
        return SPI_BROKEN_DATA;
    }
    if (Input.File() != nullptr)
        png_init_io(png, Input.File());
    else
        png_set_read_fn(png, &reader, ReadData);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    const int colorType = png_get_color_type(png, info);
    const int bitDepth = png_get_bit_depth(png, info);
    const bool grey = (colorType & PNG_COLOR_MASK_COLOR) == 0;
    const double xDpi = DotsPerInch(png, info, true);
    const double yDpi = DotsPerInch(png, info, false);
    if (Info != nullptr) {
        *Info = SpiPictureInfo{};
        Info->width = static_cast<int32_t>(width);
        Info->height = static_cast<int32_t>(height);
        Info->x_density = DensityField(xDpi);
        Info->y_density = DensityField(yDpi);
        Info->colorDepth = grey ? 8 : 24;
    }
    const int32_t declared = Dib != nullptr ? CheckDeclaredSize(png, info, Compressed) : SPI_SUCCESS;
    if (Dib == nullptr || declared != SPI_SUCCESS) {
        png_destroy_read_struct(&png, &info, nullptr);
        return declared;
    }
    if (bitDepth == 16) png_set_scale_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
    if (grey && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
    // Expanding a palette also turns its transparency into alpha.
    if ((colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS) != 0)
        png_set_strip_alpha(png);
    if (!grey) png_set_bgr(png);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int32_t result = png_get_rowbytes(png, info) == size_t{width} * (grey ? 1 : 3) ? SPI_SUCCESS : SPI_UNKNOWN_FORMAT;
    SpiProgress progress(Callback, LData, int64_t{passes} * height);
    if (result == SPI_SUCCESS && !progress.Report(0)) result = SPI_ABORTED;
    if (result == SPI_SUCCESS) result = Dib->Create(width, height, grey ? 8 : 24, grey ? 256 : 0);
    if (result == SPI_SUCCESS) {
        if (grey) Dib->SetGreyColors();
        Dib->SetDotsPerInch(xDpi, yDpi);
        // Each pass of an interlaced picture adds its pixels to the rows read before.
        for (int pass = 0; pass < passes && result == SPI_SUCCESS; ++pass) {
            for (png_uint_32 y = 0; y < height; ++y) {
                png_read_row(png, Dib->Row(y), nullptr);
                if (!progress.Report(int64_t{pass} * height + y + 1)) {
                    result = SPI_ABORTED;
                    break;
                }
            }
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return result;
}

int32_t Decode(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiRows* Rows,
               SpiProgressCallback Callback, intptr_t LData) {
    // Counted before libpng takes the file over from its start.
    return DecodeHolding(Dib != nullptr ? CompressedBytes(Input) : 0, Input, Info, Dib, Callback, LData);
}

bool LooksLikePng(const uint8_t* Header) { return std::memcmp(Header, kSignature, sizeof kSignature) == 0; }

}  // namespace

TAM32_SPI_INPUT_EXPORTS(kTexts, LooksLikePng, Decode, false)
