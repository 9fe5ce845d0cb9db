// BMP input plug-in for the files the image model refuses: information
// headers of 40 bytes and longer (versions 4 and 5 among them), bit fields
// and alpha bit fields, top-down rows. The picture is handed over as the
// 40-byte DIB the host stores: palette and 24-bit rows as they are, 16- and
// 32-bit rows with their colour masks, RLE8 and RLE4 data still packed, so
// that the host takes the colours out and unpacks the runs exactly as it does
// for a file with a 40-byte header. Rows come bottom-up. Alpha, colour spaces
// and colour profiles are not applied.
//
// The plug-in declares no file-name mask: a mask of "*.bmp" would register
// the extension anew in the picture-format registry and take it from the
// program's own bitmap reader. The host offers a picture to every image-input
// plug-in anyway, so a BMP file the image model refuses still arrives here.
#include <cstring>

#include "bmp/BmpLayout.h"
#include "support/SpiDecodeExports.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiProgress.h"

namespace {

using namespace tam32;
using namespace tam32::spi;

constexpr SpiPluginTexts kTexts = {"00IN", "TAM32 BMP input plug-in", {}};

double DotsPerInch(int32_t PelsPerMeter) { return PelsPerMeter > 0 ? PelsPerMeter * 0.0254 : 0; }

int32_t CreateDib(const BmpLayout& L, SpiDib& Dib) {
    if (L.Compression == BI_BITFIELDS) return Dib.CreateBitFields(L.Width, L.Rows, L.BitCount, L.Masks);
    if (L.Compression != BI_RGB)
        return Dib.CreateCompressed(L.Width, L.Rows, L.BitCount, L.Compression, L.ColorCount,
                                    static_cast<int64_t>(L.BitsSize));
    return Dib.Create(L.Width, L.Rows, L.BitCount, L.ColorCount);
}

// Copies the stored rows (or data) into Dib. False when the host asked to stop.
bool CopyPixels(const uint8_t* Data, const BmpLayout& L, SpiDib& Dib, SpiProgress& Progress) {
    const uint8_t* bits = Data + L.BitsOffset;
    if (L.Compression == BI_RLE8 || L.Compression == BI_RLE4) {
        std::memcpy(Dib.Bits(), bits, L.BitsSize);
        return Progress.Report(L.Rows);
    }
    const uint64_t stride = L.BitsSize / static_cast<uint64_t>(L.Rows);
    for (int64_t y = 0; y < L.Rows; ++y) {
        const int64_t stored = L.TopDown ? y : L.Rows - 1 - y;
        std::memcpy(Dib.Row(y), bits + static_cast<uint64_t>(stored) * stride, stride);
        if (!Progress.Report(y + 1)) return false;
    }
    return true;
}

int32_t Decode(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiRows* Rows,
               SpiProgressCallback Callback, intptr_t LData) {
    BmpLayout layout;
    const int32_t read = ReadBmpLayout(Input.Data(), Input.Size(), layout);
    if (read != SPI_SUCCESS) return read;
    const double xDpi = DotsPerInch(layout.XPelsPerMeter);
    const double yDpi = DotsPerInch(layout.YPelsPerMeter);
    if (Info != nullptr) {
        *Info = SpiPictureInfo{};
        Info->width = static_cast<int32_t>(layout.Width);
        Info->height = static_cast<int32_t>(layout.Rows);
        Info->x_density = DensityField(xDpi);
        Info->y_density = DensityField(yDpi);
        Info->colorDepth = static_cast<int16_t>(layout.BitCount);
    }
    if (Dib == nullptr) return SPI_SUCCESS;
    SpiProgress progress(Callback, LData, layout.Rows);
    if (!progress.Report(0)) return SPI_ABORTED;
    const int32_t created = CreateDib(layout, *Dib);
    if (created != SPI_SUCCESS) return created;
    RGBQUAD* colors = Dib->Colors();
    for (int i = 0; i < layout.ColorCount; ++i) {
        std::memcpy(&colors[i], Input.Data() + layout.ColorsOffset + 4 * static_cast<uint64_t>(i), sizeof colors[i]);
        colors[i].rgbReserved = 0;
    }
    Dib->SetDotsPerInch(xDpi, yDpi);
    return CopyPixels(Input.Data(), layout, *Dib, progress) ? SPI_SUCCESS : SPI_ABORTED;
}

}  // namespace

TAM32_SPI_INPUT_EXPORTS(kTexts, IsReadableBmp, Decode, true)
