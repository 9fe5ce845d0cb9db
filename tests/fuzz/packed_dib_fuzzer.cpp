// Feeds arbitrary bytes to the packed DIB reader as a clipboard block.
#include <cstdint>
#include <cstring>

#include "image/PxDIB.h"

using namespace tam32;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, Size);
    {
        MemoryLock lock(block);
        if (Size != 0) std::memcpy(lock.Data(), Data, Size);
    }
    TPxDIB dib;
    try {
        dib.LoadFromClipboardFormat(CF_DIB, block, nullptr);
        if (int64_t(dib.Width()) * dib.Height() <= 4'000'000) dib.SetPixelFormat(pxPf24Bit);
    } catch (const Exception&) {
    }
    GlobalFree(block);
    return 0;
}
