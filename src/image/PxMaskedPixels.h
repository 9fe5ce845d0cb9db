#pragma once
// 16- and 32-bit pixels with channel masks, turned into 24-bit blue, green,
// red on load.
#include <cstdint>

namespace tam32 {

// Shift that brings a non-zero mask's value range to 128..255 (negative:
// a shift to the left).
int GetMaskShift(uint32_t Mask);

class TPxMaskedPixels {
public:
    // Masks must be non-zero; BitCount 16 or 32.
    TPxMaskedPixels(int BitCount, uint32_t RedMask, uint32_t GreenMask, uint32_t BlueMask);

    // Converts Width source pixels into Width blue, green, red triples.
    void ConvertRow(const uint8_t* Source, uint8_t* Dest, int Width) const;

    static int64_t SourceRowSize(int BitCount, int64_t Width);

private:
    struct Channel {
        uint32_t Mask;
        int Shift;
        uint8_t Scale[256];  // shifted value -> value x 255 div maximum
    };
    static Channel MakeChannel(uint32_t Mask);
    static uint8_t Extract(const Channel& C, uint32_t Pixel);

    int FBitCount;
    Channel FRed, FGreen, FBlue;
};

}  // namespace tam32
