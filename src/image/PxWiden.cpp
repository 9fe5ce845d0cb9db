// Widening of indexed images to more bits per pixel: each pixel keeps its
// index, the colour table and biClrUsed stay as they were.
#include <array>
#include <cstring>

#include "image/PxConvert.h"
#include "image/PxConvertSupport.h"

namespace tam32 {
namespace {

// One byte of eight 1-bit pixels as four bytes of 4-bit pixels.
constexpr std::array<std::array<uint8_t, 4>, 256> MakeBitsToNibbles() {
    std::array<std::array<uint8_t, 4>, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 4; ++k)
            table[b][k] = static_cast<uint8_t>((((b >> (7 - 2 * k)) & 1) << 4) | ((b >> (6 - 2 * k)) & 1));
    return table;
}

// One byte of eight 1-bit pixels as eight bytes of 8-bit pixels.
constexpr std::array<std::array<uint8_t, 8>, 256> MakeBitsToBytes() {
    std::array<std::array<uint8_t, 8>, 256> table{};
    for (int b = 0; b < 256; ++b)
        for (int k = 0; k < 8; ++k) table[b][k] = static_cast<uint8_t>((b >> (7 - k)) & 1);
    return table;
}

constexpr auto kBitsToNibbles = MakeBitsToNibbles();
constexpr auto kBitsToBytes = MakeBitsToBytes();

// The partly used last source byte of a row (Width not a multiple of 8) with
// its padding bits cleared, so that none of them turns into a pixel.
inline uint8_t LastBitsByte(const uint8_t* Src, int64_t Width) {
    return static_cast<uint8_t>(Src[Width >> 3] & (0xFF00 >> (Width & 7)));
}

}  // namespace

void Convert1BitRGBTo4BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    ConvertUncompressed(Source, Dest, UseFileMapping, 1, 4, "Convert1BitRGBTo4BitRGB",
                        [](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            // Eight pixels fill four bytes, so whole source bytes fit the
                            // destination stride exactly.
                            const int64_t whole = Width >> 3;
                            for (int64_t i = 0; i < whole; ++i) std::memcpy(Dst + 4 * i, kBitsToNibbles[Src[i]].data(), 4);
                            if (Width & 7) std::memcpy(Dst + 4 * whole, kBitsToNibbles[LastBitsByte(Src, Width)].data(), 4);
                        });
}

void Convert1BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    ConvertUncompressed(Source, Dest, UseFileMapping, 1, 8, "Convert1BitRGBTo8BitRGB",
                        [](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            const int64_t whole = Width >> 3;
                            for (int64_t i = 0; i < whole; ++i) std::memcpy(Dst + 8 * i, kBitsToBytes[Src[i]].data(), 8);
                            if (Width & 7)
                                std::memcpy(Dst + 8 * whole, kBitsToBytes[LastBitsByte(Src, Width)].data(),
                                            static_cast<size_t>(Width & 7));
                        });
}

void Convert4BitRGBTo8BitRGB(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    ConvertUncompressed(Source, Dest, UseFileMapping, 4, 8, "Convert4BitRGBTo8BitRGB",
                        [](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            const int64_t whole = Width >> 1;
                            for (int64_t i = 0; i < whole; ++i) {
                                Dst[2 * i] = static_cast<uint8_t>(Src[i] >> 4);
                                Dst[2 * i + 1] = static_cast<uint8_t>(Src[i] & 0x0F);
                            }
                            if (Width & 1) Dst[2 * whole] = static_cast<uint8_t>(Src[whole] >> 4);
                        });
}

}  // namespace tam32
