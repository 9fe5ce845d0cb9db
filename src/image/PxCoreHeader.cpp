#include <cstring>

#include "image/PxInternalDIB.h"
#include "image/PxRecordBytes.h"

namespace tam32 {

void ConvertCoreHeader(TPxDIBInfos& Infos) {
    // The triples start inside the area the new header takes, so the old
    // contents are read from a copy.
    uint8_t old[kRecordHeaderAreaSize];
    std::memcpy(old, HeaderBytes(Infos), sizeof old);
    BITMAPCOREHEADER core;
    std::memcpy(&core, old, sizeof core);
    const int colorCount = GetNumColors(core.bcBitCount);

    BITMAPINFOHEADER& h = Infos.Header;
    h = BITMAPINFOHEADER{};
    h.biSize = 40;
    h.biWidth = core.bcWidth;
    h.biHeight = core.bcHeight;
    h.biPlanes = core.bcPlanes;
    h.biBitCount = core.bcBitCount;
    h.biCompression = BI_RGB;
    h.biSizeImage = 0;
    h.biXPelsPerMeter = 3780;
    h.biYPelsPerMeter = 3780;
    h.biClrUsed = static_cast<uint32_t>(colorCount);
    h.biClrImportant = 0;
    for (int i = 0; i < 256; ++i) {
        if (i < colorCount) {
            const uint8_t* triple = old + sizeof core + i * 3;
            Infos.Colors[i] = {triple[0], triple[1], triple[2], 0};
        } else {
            Infos.Colors[i] = {0, 0, 0, 0};
        }
    }
}

}  // namespace tam32
