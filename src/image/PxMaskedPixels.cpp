#include "image/PxMaskedPixels.h"

#include <cstring>

namespace tam32 {

int GetMaskShift(uint32_t Mask) {
    int shift = 0;
    while (Mask >= 256) {
        Mask >>= 1;
        ++shift;
    }
    while (Mask < 128) {
        Mask <<= 1;
        --shift;
    }
    return shift;
}

TPxMaskedPixels::Channel TPxMaskedPixels::MakeChannel(uint32_t Mask) {
    Channel c{};
    c.Mask = Mask;
    c.Shift = GetMaskShift(Mask);
    const uint32_t maximum = c.Shift >= 0 ? Mask >> c.Shift : Mask << -c.Shift;
    // A masked value shifted the same way never exceeds the maximum (128..255).
    for (uint32_t v = 0; v < 256; ++v) c.Scale[v] = static_cast<uint8_t>(v <= maximum ? v * 255 / maximum : 255);
    return c;
}

inline uint8_t TPxMaskedPixels::Extract(const Channel& C, uint32_t Pixel) {
    const uint32_t v = Pixel & C.Mask;
    return C.Scale[C.Shift >= 0 ? (v >> C.Shift) : (v << -C.Shift)];
}

TPxMaskedPixels::TPxMaskedPixels(int BitCount, uint32_t RedMask, uint32_t GreenMask, uint32_t BlueMask)
    : FBitCount(BitCount), FRed(MakeChannel(RedMask)), FGreen(MakeChannel(GreenMask)),
      FBlue(MakeChannel(BlueMask)) {}

int64_t TPxMaskedPixels::SourceRowSize(int BitCount, int64_t Width) {
    return (Width * (BitCount / 8) + 3) & ~int64_t{3};
}

void TPxMaskedPixels::ConvertRow(const uint8_t* Source, uint8_t* Dest, int Width) const {
    for (int x = 0; x < Width; ++x) {
        uint32_t pixel;
        if (FBitCount == 16) {
            pixel = static_cast<uint32_t>(Source[0] | (Source[1] << 8));
            Source += 2;
        } else {
            std::memcpy(&pixel, Source, 4);
            Source += 4;
        }
        Dest[0] = Extract(FBlue, pixel);
        Dest[1] = Extract(FGreen, pixel);
        Dest[2] = Extract(FRed, pixel);
        Dest += 3;
    }
}

}  // namespace tam32
