#pragma once
// The DIB a plug-in returns: a BITMAPINFO block (40-byte header, colour
// masks when there are any, colour table) and a block of bottom-up rows or of
// RLE data, both memory handles of the host. The blocks are freed again
// unless they were handed over.
#include <cstdint>

#include "platform/SpiAbi.h"
#include "platform/WinTypes.h"

namespace tam32::spi {

// A density as PictureInfo holds it: whole dots per inch, 0 for none (or an
// absurd negative one), 65535 at most.
uint16_t DensityField(double DotsPerInch);

class SpiDib {
public:
    SpiDib() = default;
    ~SpiDib();
    SpiDib(const SpiDib&) = delete;
    SpiDib& operator=(const SpiDib&) = delete;

    // SPI_SUCCESS; SPI_NO_MEMORY when the blocks cannot be had or the
    // picture is larger than a DIB can be; SPI_BROKEN_DATA for a size below 1.
    int32_t Create(int64_t Width, int64_t Height, int BitCount, int ColorCount);
    // 16- or 32-bit rows whose red, green and blue lie where Masks say; the
    // host takes the colours out.
    int32_t CreateBitFields(int64_t Width, int64_t Height, int BitCount, const uint32_t (&Masks)[3]);
    // DataSize bytes of BI_RLE8 or BI_RLE4 data for the host to unpack.
    int32_t CreateCompressed(int64_t Width, int64_t Height, int BitCount, uint32_t Compression, int ColorCount,
                             int64_t DataSize);
    // Row Y counted from the top (not for compressed data).
    uint8_t* Row(int64_t Y) const { return FBits + (FHeight - 1 - Y) * FStride; }
    uint8_t* Bits() const { return FBits; }
    // The two blocks, null until created.
    SpiHandle InfoHandle() const { return FInfoHandle; }
    SpiHandle BitsHandle() const { return FBitsHandle; }
    RGBQUAD* Colors() const { return reinterpret_cast<RGBQUAD*>(FInfo + FColorsOffset); }
    void SetGreyColors();
    void SetDotsPerInch(double X, double Y);
    // Hands both handles to the host.
    void Release(SpiHandle* Info, SpiHandle* Bits);

private:
    void Free();
    // DataSize 0: uncompressed rows.
    int32_t Allocate(int64_t Width, int64_t Height, int BitCount, uint32_t Compression, int ColorCount,
                     int64_t DataSize);

    SpiHandle FInfoHandle = nullptr;
    SpiHandle FBitsHandle = nullptr;
    uint8_t* FInfo = nullptr;
    uint8_t* FBits = nullptr;
    int64_t FHeight = 0;
    int64_t FStride = 0;
    size_t FColorsOffset = sizeof(BITMAPINFOHEADER);
    int FColorCount = 0;
};

}  // namespace tam32::spi
