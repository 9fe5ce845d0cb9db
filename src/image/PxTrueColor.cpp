// Expansion of indexed images to 24-bit true colour through the colour
// table. The table and biClrUsed stay, so the image keeps its former palette
// as an optional colour table.
#include "image/PxConvert.h"
#include "image/PxConvertSupport.h"

namespace tam32 {
namespace {

// Every index reaches one of the 256 entries, whatever biClrUsed says.
inline void PutColor(uint8_t* Dst, const RGBQUAD& Color) {
    Dst[0] = Color.rgbBlue;
    Dst[1] = Color.rgbGreen;
    Dst[2] = Color.rgbRed;
}

}  // namespace

void Convert1BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    const RGBQUAD* colors = Source.Colors;
    ConvertUncompressed(Source, Dest, UseFileMapping, 1, 24, "Convert1BitRGBToTrueColor",
                        [colors](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            for (int64_t x = 0; x < Width; ++x)
                                PutColor(Dst + 3 * x, colors[(Src[x >> 3] >> (7 - (x & 7))) & 1]);
                        });
}

void Convert4BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    const RGBQUAD* colors = Source.Colors;
    ConvertUncompressed(Source, Dest, UseFileMapping, 4, 24, "Convert4BitRGBToTrueColor",
                        [colors](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            for (int64_t x = 0; x < Width; ++x) {
                                const uint8_t b = Src[x >> 1];
                                PutColor(Dst + 3 * x, colors[(x & 1) == 0 ? b >> 4 : b & 0x0F]);
                            }
                        });
}

void Convert8BitRGBToTrueColor(const TPxDIBInfos& Source, TPxDIBInfos& Dest, bool UseFileMapping) {
    const RGBQUAD* colors = Source.Colors;
    ConvertUncompressed(Source, Dest, UseFileMapping, 8, 24, "Convert8BitRGBToTrueColor",
                        [colors](const uint8_t* Src, uint8_t* Dst, int64_t Width) {
                            for (int64_t x = 0; x < Width; ++x) PutColor(Dst + 3 * x, colors[Src[x]]);
                        });
}

}  // namespace tam32
