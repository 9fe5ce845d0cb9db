#pragma once
// The two decoding exports, the same for every input plug-in around its own
// Decode: open the input, then read the header only (GetPictureInfo) or the
// whole picture into a DIB handed to the host (GetPicture).
#include <cstdint>

#include "platform/SpiAbi.h"
#include "support/SpiDib.h"
#include "support/SpiInput.h"

namespace tam32::spi {

// Reads the header into Info and, with Dib, the pixels.
using SpiDecodeFunction = int32_t (*)(const SpiInput& Input, SpiPictureInfo* Info, SpiDib* Dib,
                                      SpiProgressCallback Callback, intptr_t LData);

// WholeInput: the decoder seeks, so a file is read whole into memory first.
int32_t AnswerGetPictureInfo(const char* buf, intptr_t len, uint32_t flag, SpiPictureInfo* lpInfo,
                             SpiDecodeFunction Decode, bool WholeInput);
int32_t AnswerGetPicture(const char* buf, intptr_t len, uint32_t flag, SpiHandle* pHBInfo, SpiHandle* pHBm,
                         SpiProgressCallback Callback, intptr_t LData, SpiDecodeFunction Decode, bool WholeInput);

}  // namespace tam32::spi
