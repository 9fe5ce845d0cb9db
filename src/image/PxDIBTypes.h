#pragma once
// The image record shared by the pixel store, the format conversions and
// the colour reductions, with the image model's exception family.
#include <array>
#include <cstdint>

#include "platform/Exceptions.h"
#include "platform/WinTypes.h"

namespace tam32 {

TAM32_EXCEPTION(EPxDIBError, Exception);
TAM32_EXCEPTION(EPxDIBInvalidDIB, EPxDIBError);
TAM32_EXCEPTION(EPxDIBInvalidDIBFile, EPxDIBError);
TAM32_EXCEPTION(EPxDIBInvalidDIBPara, EPxDIBError);
TAM32_EXCEPTION(EPxDIBBadDIBType, EPxDIBError);
TAM32_EXCEPTION(EPxDIBPixelPositionRange, EPxDIBError);
TAM32_EXCEPTION(EPxDIBInvalidPalette, EPxDIBError);
TAM32_EXCEPTION(EPxDIBCompressionFailed, EPxDIBError);
TAM32_EXCEPTION(EPxDIBCanvasFailed, EPxDIBError);

enum TPxPixelFormat : uint8_t {
    pxPf1Bit = 0,
    pxPf4Bit = 1,
    pxPf4BitRLE = 2,
    pxPf8Bit = 3,
    pxPf8BitRLE = 4,
    pxPf24Bit = 5,
    pxPf8BitDither = 6,  // conversion target only: error diffusion to the fixed 215 colours
    pxPf1BitDither = 7,  // conversion target only: error diffusion to black and white
};

// Colour-reduction method: 5-6-5 histogram (Low) or all pixels (High).
enum TPxConvertMode : uint8_t { pxCmLow = 0, pxCmHigh = 1 };

// Display palette: the image's own, the shared fixed 215 colours, black and white.
enum TPxPaletteMode : uint8_t { pxPmOwn = 0, pxPmFixed = 1, pxPmMono = 2 };

// Called once per leaf of a palette split (2^depth times in all).
using TPxProgressCallback = void (*)(void* Data);

// One image: header, colour table (with room for three bit-field masks
// behind it) and the pixel block. Loaders and converters build one aside and
// install it whole. Zero-initialised by default so that colour entries and
// masks a file did not supply read as 0.
constexpr uintptr_t kMemoryHandleBlock = ~uintptr_t(0);

struct TPxDIBInfos {
    uint32_t BitsSize = 0;
    // Size of the page mapping holding Bits; 0 for a heap block;
    // kMemoryHandleBlock when Bits is the first byte of a memory handle.
    uintptr_t MappingHandle = 0;
    uint8_t* Bits = nullptr;
    BITMAPINFOHEADER Header{};
    RGBQUAD Colors[256]{};
    uint32_t Spare[4]{};
};

// Colour-table entries of a bit count: 2, 16, 256, or 0 for anything else.
int GetNumColors(int BitCount);

// Bytes per stored row of an uncompressed image, padded to 32 bits; 64-bit
// so that no header can make it wrap.
inline int64_t DIBRowSize(int64_t BitCount, int64_t Width) {
    return ((BitCount * Width + 31) / 32) * 4;
}

// Largest pixel block the model accepts; larger headers are refused before
// anything is allocated (the original's sizes were 32-bit signed integers).
constexpr int64_t kMaxPixelBlockSize = 0x7FFFFFFF;

// Bits of the fixed 215-colour palette (cube entries 0..209 and five extras).
extern const std::array<RGBQUAD, 215> PxFixedPaletteColors;

}  // namespace tam32
