#include "support/SpiDecodeExports.h"

#include "support/SpiGuard.h"

namespace tam32::spi {
namespace {

int32_t OpenInput(SpiInput& Input, const char* buf, intptr_t len, uint32_t flag, bool WholeInput) {
    int32_t opened = Input.Open(buf, len, flag);
    if (opened == SPI_SUCCESS && WholeInput) opened = Input.ReadAll();
    return opened;
}

}  // namespace

int32_t AnswerGetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo,
                             SpiDecodeFunction Decode, bool WholeInput) {
    return Guarded([&] {
        if (lpInfo == nullptr) return SPI_INTERNAL_ERROR;
        SpiInput input;
        const int32_t opened = OpenInput(input, buf, len, flag, WholeInput);
        if (opened != SPI_SUCCESS) return opened;
        return Decode(input, lpInfo, nullptr, nullptr, nullptr, 0);
    });
}

int32_t AnswerGetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                         SpiProgressCallback Callback, SpiRowsCallback RowsCallback, intptr_t LData,
                         SpiDecodeFunction Decode, bool WholeInput) {
    return Guarded([&] {
        if (pHBInfo == nullptr || pHBm == nullptr) return SPI_INTERNAL_ERROR;
        SpiInput input;
        const int32_t opened = OpenInput(input, buf, len, flag, WholeInput);
        if (opened != SPI_SUCCESS) return opened;
        SpiDib dib;
        SpiRows rows(RowsCallback, LData, dib);
        const int32_t result = Decode(input, nullptr, &dib, &rows, Callback, LData);
        if (result == SPI_SUCCESS) {
            rows.HandedOver();
            dib.Release(pHBInfo, pHBm);
        }
        return result;
    });
}

}  // namespace tam32::spi
