#include "support/SpiPictureLimit.h"

#include "platform/SpiAbi.h"

namespace tam32::spi {
namespace {

// The image model's pixel block limit.
constexpr int64_t kModelBlockLimit = 0x7FFFFFFF;
int64_t gBlockLimit = kModelBlockLimit;

}  // namespace

int32_t CheckPictureSize(int64_t Width, int64_t Height) {
    if (Width < 1 || Height < 1) return SPI_BROKEN_DATA;
    // Row by row, so that no product can overflow.
    if (Width > gBlockLimit || DibRowsSize(Width, 1, 24) > gBlockLimit / Height) return SPI_NO_MEMORY;
    return SPI_SUCCESS;
}

int64_t PictureBlockLimit() { return gBlockLimit; }

void SetPictureBlockLimit(int64_t Bytes) {
    gBlockLimit = Bytes > 0 && Bytes < kModelBlockLimit ? Bytes : kModelBlockLimit;
}

}  // namespace tam32::spi
