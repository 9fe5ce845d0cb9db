// Feeds arbitrary bytes to the BMP plug-in as a picture in memory: whatever
// it hands over must be a DIB the host accepts.
#include <cstdint>

#include "import/SPIDIBLayout.h"
#include "platform/SpiAbi.h"

using namespace tam32;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    const auto* picture = reinterpret_cast<const char*>(Data);
    if (GetPicture(picture, intptr_t(Size), SPI_FLAG_MEMORY, &info, &bits, nullptr, 0) != SPI_SUCCESS) return 0;
    const auto infoBlock = static_cast<HLOCAL>(info);
    const auto bitsBlock = static_cast<HLOCAL>(bits);
    if (!CheckDecodedDIB(infoBlock, bitsBlock)) __builtin_trap();
    LocalFree(infoBlock);
    LocalFree(bitsBlock);
    return 0;
}
