#include "platform/ColorToRGB.h"
#include <iterator>

namespace tam32 {

TColor ColorToRGB(TColor Color) {
    if (Color >= 0) return Color;
    // Classic scheme, indexed by the system colour number.
    static constexpr TColor kSystemColors[] = {
        0xC0C0C0, 0x808000, 0x800000, 0x808080, 0xC0C0C0, 0xFFFFFF, 0x000000, 0x000000,
        0x000000, 0xFFFFFF, 0xC0C0C0, 0xC0C0C0, 0x808080, 0x800000, 0xFFFFFF, 0xC0C0C0,
        0x808080, 0x808080, 0x000000, 0xC0C0C0, 0xFFFFFF, 0x000000, 0xDFDFDF, 0x000000,
        0xE1FFFF, 0x000000, 0x800000, 0xD08410, 0xB5B5B5, 0x800000, 0xC0C0C0,
    };
    const unsigned index = static_cast<unsigned>(Color) & 0xFF;
    return index < std::size(kSystemColors) ? kSystemColors[index] : clBlack;
}

}  // namespace tam32
