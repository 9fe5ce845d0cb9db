#pragma once
// Binary and ternary raster operations as GDI defines them: a truth table
// over the pen or pattern (P), source (S) and destination (D) bits, applied
// to every bit of a pixel value at once.
#include <cstdint>

namespace tam32 {

// Bit (P*2 + D) of Table is the result for that pen and destination bit.
// The copying pen's table: the pen wherever it is drawn.
constexpr uint8_t kRop2CopyPen = 0b1100;
constexpr uint32_t ApplyRop2(uint8_t Table, uint32_t P, uint32_t D) {
    uint32_t result = 0;
    if (Table & 0x1) result |= ~P & ~D;
    if (Table & 0x2) result |= ~P & D;
    if (Table & 0x4) result |= P & ~D;
    if (Table & 0x8) result |= P & D;
    return result;
}

// Bit (P*4 + S*2 + D) of Table is the result for those pattern, source and
// destination bits (the middle byte of a raster operation code).
constexpr uint32_t ApplyRop3(uint8_t Table, uint32_t P, uint32_t S, uint32_t D) {
    uint32_t result = 0;
    for (unsigned term = 0; term < 8; ++term) {
        if (!(Table & (1u << term))) continue;
        result |= ((term & 4) ? P : ~P) & ((term & 2) ? S : ~S) & ((term & 1) ? D : ~D);
    }
    return result;
}

// The truth table of a raster operation code such as SRCCOPY ($00CC0020).
constexpr uint8_t Rop3Table(uint32_t Code) { return static_cast<uint8_t>(Code >> 16); }

}  // namespace tam32
