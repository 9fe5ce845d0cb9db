#pragma once
// The largest picture a plug-in takes on. The host converts every picture to
// 24 bits in one pixel block of the image model, which holds at most 2 GB, so
// a picture whose 24-bit rows pass that is refused before anything is
// allocated for it. Fuzzing lowers the limit, so that any allocation beyond
// what a picture within it needs shows up.
#include <cstdint>

namespace tam32::spi {

// Bytes of Height rows of Width pixels at BitCount bits, each row padded to 4 bytes.
inline int64_t DibRowsSize(int64_t Width, int64_t Height, int BitCount) {
    return (Width * BitCount + 31) / 32 * 4 * Height;
}

// SPI_SUCCESS; SPI_BROKEN_DATA for a size below 1; SPI_NO_MEMORY when the
// picture's 24-bit rows pass the limit.
int32_t CheckPictureSize(int64_t Width, int64_t Height);
// The limit in bytes of one pixel block.
int64_t PictureBlockLimit();
// Lowers the limit to Bytes; 0 puts back the image model's.
void SetPictureBlockLimit(int64_t Bytes);

}  // namespace tam32::spi
