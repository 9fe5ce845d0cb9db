// Feeds arbitrary bytes to the BMP reader, then converts whatever loads to
// 24 bits and back to RLE8, so the run-length decoders and encoders see
// hostile data too. Any exception of the model is a clean refusal.
#include <cstdint>
#include <vector>

#include "image/PxDIB.h"
#include "platform/Stream.h"

using namespace tam32;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
    TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
    TPxDIB dib;
    try {
        dib.LoadFromStream(stream);
        if (int64_t(dib.Width()) * dib.Height() > 4'000'000) return 0;
        dib.SetPixelFormat(pxPf24Bit);
        dib.SetPixelFormat(pxPf8BitRLE);
        TMemoryStream out;
        dib.SaveToStream(out);
    } catch (const Exception&) {
    }
    return 0;
}
