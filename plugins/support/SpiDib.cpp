#include "support/SpiDib.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "support/SpiPictureLimit.h"

namespace tam32::spi {
namespace {

int32_t PelsPerMeter(double DotsPerInch) {
    const double value = std::nearbyint(DotsPerInch / 0.0254);
    return value > 0 && value < 1e9 ? static_cast<int32_t>(value) : 0;
}

}  // namespace

uint16_t DensityField(double DotsPerInch) {
    // Written as a test that fails for NaN.
    if (!(DotsPerInch > 0)) return 0;
    return static_cast<uint16_t>(std::min(DotsPerInch, 65535.0));
}

SpiDib::~SpiDib() { Free(); }

void SpiDib::Free() {
    if (FInfoHandle != nullptr) {
        SpiLocalUnlock(FInfoHandle);
        SpiLocalFree(FInfoHandle);
    }
    if (FBitsHandle != nullptr) {
        SpiLocalUnlock(FBitsHandle);
        SpiLocalFree(FBitsHandle);
    }
    FInfoHandle = FBitsHandle = nullptr;
    FInfo = FBits = nullptr;
}

int32_t SpiDib::Create(int64_t Width, int64_t Height, int BitCount, int ColorCount) {
    return Allocate(Width, Height, BitCount, BI_RGB, ColorCount, 0);
}

int32_t SpiDib::CreateBitFields(int64_t Width, int64_t Height, int BitCount, const uint32_t (&Masks)[3]) {
    const int32_t result = Allocate(Width, Height, BitCount, BI_BITFIELDS, 0, 0);
    if (result == SPI_SUCCESS) std::memcpy(FInfo + sizeof(BITMAPINFOHEADER), Masks, sizeof Masks);
    return result;
}

int32_t SpiDib::CreateCompressed(int64_t Width, int64_t Height, int BitCount, uint32_t Compression, int ColorCount,
                                 int64_t DataSize) {
    if (DataSize < 1) return SPI_BROKEN_DATA;
    return Allocate(Width, Height, BitCount, Compression, ColorCount, DataSize);
}

int32_t SpiDib::Allocate(int64_t Width, int64_t Height, int BitCount, uint32_t Compression, int ColorCount,
                         int64_t DataSize) {
    Free();
    if (Width < 1 || Height < 1) return SPI_BROKEN_DATA;
    if (Width > INT32_MAX || Height > INT32_MAX) return SPI_NO_MEMORY;
    const int64_t stride = DibRowsSize(Width, 1, BitCount);
    // Compressed data unpacks to the rows, which must fit as well.
    const int64_t limit = PictureBlockLimit();
    if (stride > limit / Height || DataSize > limit) return SPI_NO_MEMORY;
    const int64_t bitsSize = DataSize > 0 ? DataSize : stride * Height;
    const size_t masksSize = Compression == BI_BITFIELDS ? 3 * sizeof(uint32_t) : 0;
    const size_t infoSize = sizeof(BITMAPINFOHEADER) + masksSize + sizeof(RGBQUAD) * static_cast<size_t>(ColorCount);
    FInfoHandle = SpiLocalAlloc(SPI_LMEM_MOVEABLE | SPI_LMEM_ZEROINIT, infoSize);
    // The decoder writes every byte.
    FBitsHandle = SpiLocalAlloc(SPI_LMEM_MOVEABLE, static_cast<size_t>(bitsSize));
    FInfo = static_cast<uint8_t*>(SpiLocalLock(FInfoHandle));
    FBits = static_cast<uint8_t*>(SpiLocalLock(FBitsHandle));
    if (FInfo == nullptr || FBits == nullptr) {
        Free();
        return SPI_NO_MEMORY;
    }
    FHeight = Height;
    FStride = stride;
    FColorsOffset = sizeof(BITMAPINFOHEADER) + masksSize;
    FColorCount = ColorCount;
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = static_cast<int32_t>(Width);
    header.biHeight = static_cast<int32_t>(Height);
    header.biPlanes = 1;
    header.biBitCount = static_cast<uint16_t>(BitCount);
    header.biCompression = Compression;
    header.biSizeImage = static_cast<uint32_t>(bitsSize);
    header.biClrUsed = static_cast<uint32_t>(ColorCount);
    std::memcpy(FInfo, &header, sizeof header);
    return SPI_SUCCESS;
}

void SpiDib::SetGreyColors() {
    RGBQUAD* colors = Colors();
    for (int i = 0; i < FColorCount; ++i) {
        const auto level = static_cast<uint8_t>(i * 255 / (FColorCount > 1 ? FColorCount - 1 : 1));
        colors[i] = {level, level, level, 0};
    }
}

void SpiDib::SetDotsPerInch(double X, double Y) {
    BITMAPINFOHEADER header;
    std::memcpy(&header, FInfo, sizeof header);
    header.biXPelsPerMeter = PelsPerMeter(X);
    header.biYPelsPerMeter = PelsPerMeter(Y);
    std::memcpy(FInfo, &header, sizeof header);
}

void SpiDib::Release(SpiHandle* Info, SpiHandle* Bits) {
    SpiLocalUnlock(FInfoHandle);
    SpiLocalUnlock(FBitsHandle);
    *Info = FInfoHandle;
    *Bits = FBitsHandle;
    FInfoHandle = FBitsHandle = nullptr;
    FInfo = FBits = nullptr;
}

}  // namespace tam32::spi
