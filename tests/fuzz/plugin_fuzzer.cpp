// Feeds arbitrary bytes to one image plug-in (built in with this file), as a
// picture in memory and, telling its rows, as a file: whatever it hands over
// must be a DIB the host accepts, and every row it tells must be there to
// read. The picture limit is lowered to 64 megapixels, so that with the
// fuzzer's limit on single allocations anything beyond what such a picture
// needs is a finding.
#include <cstdint>

#include "FuzzInputFile.h"
#include "import/SPIDIBLayout.h"
#include "platform/SpiAbi.h"
#include "support/SpiPictureLimit.h"

using namespace tam32;

namespace {

constexpr int64_t kFuzzPicturePixels = int64_t{64} << 20;

// Reads the last row told, as a host working on the rows would.
void ReadTold(SpiHandle Info, SpiHandle Bits, int32_t RowsDone, intptr_t) {
    if (RowsDone <= 0) return;
    const auto layout = CheckDecodedDIB(static_cast<HLOCAL>(Info), static_cast<HLOCAL>(Bits));
    if (!layout) __builtin_trap();
    const int64_t height = layout->Height < 0 ? -int64_t{layout->Height} : layout->Height;
    const int64_t stride = layout->ImageSize / height;
    const int64_t stored = layout->Height < 0 ? RowsDone - 1 : height - RowsDone;
    const MemoryLock rows(static_cast<HLOCAL>(Bits));
    volatile uint8_t sum = 0;
    for (int64_t i = 0; i < stride; ++i) sum = sum + static_cast<const uint8_t*>(rows.Data())[stored * stride + i];
}

void Decode(const char* Buf, intptr_t Len, uint32_t Flag) {
    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    const int32_t result = Flag == SPI_FLAG_FILE
                               ? GetPictureRows(Buf, Len, Flag, &info, &bits, nullptr, ReadTold, 0)
                               : GetPicture(Buf, Len, Flag, &info, &bits, nullptr, 0);
    if (result != SPI_SUCCESS) return;
    const auto infoBlock = static_cast<HLOCAL>(info);
    const auto bitsBlock = static_cast<HLOCAL>(bits);
    if (!CheckDecodedDIB(infoBlock, bitsBlock)) __builtin_trap();
    LocalFree(infoBlock);
    LocalFree(bitsBlock);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    spi::SetPictureBlockLimit(kFuzzPicturePixels * 3);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    static const TFuzzInputFile file("picture");
    Decode(reinterpret_cast<const char*>(Data), intptr_t(Size), SPI_FLAG_MEMORY);
    file.Write(Data, Size);
    Decode(file.Path.c_str(), 0, SPI_FLAG_FILE);
    return 0;
}
