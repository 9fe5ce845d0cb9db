#pragma once
// The decoding exports, the same for every input plug-in around its own
// Decode: open the input, then read the header only (GetPictureInfo) or the
// whole picture into a DIB handed to the host (GetPicture, and
// GetPictureRows telling the rows that Decode finishes).
#include <cstdint>

#include "platform/SpiAbi.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"
#include "support/SpiPluginInfo.h"
#include "support/SpiRows.h"

namespace tam32::spi {

// Reads the header into Info and, with Dib, the pixels, telling Rows those
// it finishes from the top (a decoder that does not finish rows in that
// order tells nothing).
using SpiDecodeFunction = int32_t (*)(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib, SpiRows* Rows,
                                      SpiProgressCallback Callback, intptr_t LData);

// WholeInput: the decoder seeks, so a file is read whole into memory first.
int32_t AnswerGetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo,
                             SpiDecodeFunction Decode, bool WholeInput);
// RowsCallback null: GetPicture.
int32_t AnswerGetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                         SpiProgressCallback Callback, SpiRowsCallback RowsCallback, intptr_t LData,
                         SpiDecodeFunction Decode, bool WholeInput);

}  // namespace tam32::spi

// Defines the four exports of an input plug-in: GetPluginInfo answered from
// Texts, IsSupported by Recognises(const uint8_t* Header) on the picture's
// first SPI_HEADER_BYTES, and the two decoding exports around Decode. Every
// plug-in exports the same C names, so the definitions go into each one.
#define TAM32_SPI_INPUT_EXPORTS(Texts, Recognises, Decode, WholeInput)                                              \
    extern "C" {                                                                                                    \
    SPI_EXPORT int32_t GetPluginInfo(int32_t infono, char* buf, int32_t buflen) {                                   \
        return ::tam32::spi::AnswerPluginInfo(Texts, infono, buf, buflen);                                          \
    }                                                                                                               \
    SPI_EXPORT int32_t IsSupported(const char*, uintptr_t dw) {                                                     \
        return dw != 0 && Recognises(reinterpret_cast<const uint8_t*>(dw)) ? 1 : 0;                                \
    }                                                                                                               \
    SPI_EXPORT int32_t GetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo) {       \
        return ::tam32::spi::AnswerGetPictureInfo(buf, len, flag, lpInfo, Decode, WholeInput);                      \
    }                                                                                                               \
    SPI_EXPORT int32_t GetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm, \
                                  SpiProgressCallback lpPrgressCallback, intptr_t lData) {                          \
        return ::tam32::spi::AnswerGetPicture(buf, len, flag, pHBInfo, pHBm, lpPrgressCallback, nullptr, lData,     \
                                              Decode, WholeInput);                                                  \
    }                                                                                                               \
    SPI_EXPORT int32_t GetPictureRows(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo,             \
                                      SpiHandle* pHBm, SpiProgressCallback lpPrgressCallback,                       \
                                      SpiRowsCallback lpRowsCallback, intptr_t lData) {                             \
        return ::tam32::spi::AnswerGetPicture(buf, len, flag, pHBInfo, pHBm, lpPrgressCallback, lpRowsCallback,     \
                                              lData, Decode, WholeInput);                                           \
    }                                                                                                               \
    }
