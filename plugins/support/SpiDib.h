#pragma once
// The DIB a plug-in returns: a BITMAPINFO block (40-byte header and colour
// table) and a block of bottom-up rows, both memory handles of the host. The
// blocks are freed again unless they were handed over.
#include <cstdint>

#include "platform/SpiAbi.h"
#include "platform/WinTypes.h"

namespace tam32::spi {

class SpiDib {
public:
    SpiDib() = default;
    ~SpiDib();
    SpiDib(const SpiDib&) = delete;
    SpiDib& operator=(const SpiDib&) = delete;

    // SPI_SUCCESS; SPI_NO_MEMORY when the blocks cannot be had or the
    // picture is larger than a DIB can be; SPI_BROKEN_DATA for a size below 1.
    int32_t Create(int64_t Width, int64_t Height, int BitCount, int ColorCount);
    // Row Y counted from the top.
    uint8_t* Row(int64_t Y) const { return FBits + (FHeight - 1 - Y) * FStride; }
    RGBQUAD* Colors() const { return reinterpret_cast<RGBQUAD*>(FInfo + sizeof(BITMAPINFOHEADER)); }
    void SetGreyColors();
    void SetDotsPerInch(double X, double Y);
    // Hands both handles to the host.
    void Release(SpiHandle* Info, SpiHandle* Bits);

private:
    void Free();

    SpiHandle FInfoHandle = nullptr;
    SpiHandle FBitsHandle = nullptr;
    uint8_t* FInfo = nullptr;
    uint8_t* FBits = nullptr;
    int64_t FHeight = 0;
    int64_t FStride = 0;
    int FColorCount = 0;
};

}  // namespace tam32::spi
