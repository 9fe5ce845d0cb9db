// Feeds arbitrary bytes to one image plug-in (built in with this file), as a
// picture in memory and as a file: whatever it hands over must be a DIB the
// host accepts. The picture limit is lowered to 64 megapixels, so that with
// the fuzzer's limit on single allocations anything beyond what such a
// picture needs is a finding.
#include <cstdint>

#include "FuzzInputFile.h"
#include "import/SPIDIBLayout.h"
#include "platform/SpiAbi.h"
#include "support/SpiPictureLimit.h"

using namespace tam32;

namespace {

constexpr int64_t kFuzzPicturePixels = int64_t{64} << 20;

void Decode(const char* Buf, intptr_t Len, uint32_t Flag) {
    SpiHandle info = nullptr;
    SpiHandle bits = nullptr;
    if (GetPicture(Buf, Len, Flag, &info, &bits, nullptr, 0) != SPI_SUCCESS) return;
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
