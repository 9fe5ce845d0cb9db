#pragma once
// Logical palettes. A palette is shared by reference, so no two owners ever
// delete the same one: "no palette" is a null handle.
#include <cstdint>
#include <memory>
#include <vector>

namespace tam32 {

struct TPaletteEntry {
    uint8_t peRed;
    uint8_t peGreen;
    uint8_t peBlue;
    uint8_t peFlags;
};

class TLogPalette {
public:
    explicit TLogPalette(std::vector<TPaletteEntry> Entries) : FEntries(std::move(Entries)) {}
    const std::vector<TPaletteEntry>& Entries() const { return FEntries; }
    uint16_t Version() const { return 0x300; }

private:
    std::vector<TPaletteEntry> FEntries;
};

using HPALETTE = std::shared_ptr<const TLogPalette>;

// nullptr when there are no entries (or more than 256), as the platform refuses those.
inline HPALETTE CreatePalette(std::vector<TPaletteEntry> Entries) {
    if (Entries.empty() || Entries.size() > 256) return nullptr;
    return std::make_shared<const TLogPalette>(std::move(Entries));
}

}  // namespace tam32
