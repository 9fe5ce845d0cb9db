#include "bmp/BmpLayout.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <iterator>
#include <limits>

#include "platform/SpiAbi.h"
#include "platform/WinTypes.h"

namespace tam32::spi {
namespace {

constexpr uint32_t BI_ALPHABITFIELDS = 6;
// In OS/2's header compression 3 is Huffman coding and 4 RLE24; neither is read.
constexpr uint32_t kOs2HeaderSize = 64;
constexpr uint64_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);
constexpr uint64_t kMasksOffset = kFileHeaderSize + sizeof(BITMAPINFOHEADER);

template <class T>
T ReadAt(const uint8_t* Data, uint64_t Offset) {
    T value;
    std::memcpy(&value, Data + Offset, sizeof value);
    return value;
}

bool IsReadHeaderSize(uint32_t Size) {
    switch (Size) {
        case 40: case 52: case 56: case kOs2HeaderSize: case 108: case 124: return true;
        default: return false;
    }
}

// One run of set bits inside the pixel.
bool IsContiguousMask(uint32_t Mask, int BitCount) {
    if (Mask == 0 || (BitCount < 32 && (Mask >> BitCount) != 0)) return false;
    const uint32_t run = Mask >> std::countr_zero(Mask);
    return (run & (run + 1)) == 0;
}

bool AreUsableMasks(const uint32_t (&Masks)[3], int BitCount) {
    const bool overlap = (Masks[0] & Masks[1]) != 0 || (Masks[0] & Masks[2]) != 0 || (Masks[1] & Masks[2]) != 0;
    return !overlap && std::all_of(std::begin(Masks), std::end(Masks),
                                   [BitCount](uint32_t Mask) { return IsContiguousMask(Mask, BitCount); });
}

bool CompressionFits(uint32_t Compression, int BitCount, bool TopDown) {
    switch (Compression) {
        case BI_RGB: return true;
        case BI_RLE8: return BitCount == 8 && !TopDown;
        case BI_RLE4: return BitCount == 4 && !TopDown;
        case BI_BITFIELDS: return BitCount == 16 || BitCount == 32;
        default: return false;
    }
}

}  // namespace

bool IsReadableBmp(const uint8_t* Header) {
    return ReadAt<uint16_t>(Header, 0) == kBitmapFileType && IsReadHeaderSize(ReadAt<uint32_t>(Header, 14));
}

int32_t ReadBmpLayout(const uint8_t* Data, size_t Size, BmpLayout& Layout) {
    if (Data == nullptr || Size < kBmpProbeBytes || !IsReadableBmp(Data)) return SPI_UNKNOWN_FORMAT;
    const uint32_t headerSize = ReadAt<uint32_t>(Data, 14);
    if (kFileHeaderSize + headerSize > Size) return SPI_BROKEN_DATA;
    BITMAPINFOHEADER header;
    std::memcpy(&header, Data + kFileHeaderSize, sizeof header);

    BmpLayout layout;
    layout.BitCount = header.biBitCount;
    layout.TopDown = header.biHeight < 0;
    layout.Compression = header.biCompression == BI_ALPHABITFIELDS ? BI_BITFIELDS : header.biCompression;
    if (headerSize == kOs2HeaderSize && header.biCompression >= BI_BITFIELDS) return SPI_UNKNOWN_FORMAT;
    switch (layout.BitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return SPI_UNKNOWN_FORMAT;
    }
    if (!CompressionFits(layout.Compression, layout.BitCount, layout.TopDown)) return SPI_UNKNOWN_FORMAT;
    if (header.biWidth < 1 || header.biHeight == 0 || header.biHeight == std::numeric_limits<int32_t>::min())
        return SPI_BROKEN_DATA;
    layout.Width = header.biWidth;
    layout.Rows = layout.TopDown ? -int64_t{header.biHeight} : header.biHeight;
    layout.XPelsPerMeter = header.biXPelsPerMeter;
    layout.YPelsPerMeter = header.biYPelsPerMeter;

    // The masks follow a 40-byte header; the longer headers hold them.
    uint64_t masksAfterHeader = 0;
    if (layout.Compression == BI_BITFIELDS && headerSize == sizeof(BITMAPINFOHEADER))
        masksAfterHeader = header.biCompression == BI_ALPHABITFIELDS ? 16 : 12;
    // Entries beyond what the bit count can index are never used.
    if (layout.BitCount <= 8) {
        const uint32_t indexable = 1u << layout.BitCount;
        layout.ColorCount = static_cast<int>(header.biClrUsed == 0 ? indexable : std::min(header.biClrUsed, indexable));
    }
    layout.ColorsOffset = kFileHeaderSize + headerSize + masksAfterHeader;
    const uint64_t tableEnd = layout.ColorsOffset + 4 * uint64_t(layout.ColorCount);
    layout.BitsOffset = ReadAt<uint32_t>(Data, 10);
    if (layout.BitsOffset < tableEnd || layout.BitsOffset > Size) return SPI_BROKEN_DATA;
    if (layout.Compression == BI_BITFIELDS) {
        for (int i = 0; i < 3; ++i) layout.Masks[i] = ReadAt<uint32_t>(Data, kMasksOffset + 4 * i);
        if (!AreUsableMasks(layout.Masks, layout.BitCount)) return SPI_BROKEN_DATA;
    }

    const uint64_t available = Size - layout.BitsOffset;
    if (layout.Compression == BI_RLE8 || layout.Compression == BI_RLE4) {
        // Without a stated size the data runs to the end of the file.
        layout.BitsSize = header.biSizeImage != 0 ? header.biSizeImage : available;
        if (layout.BitsSize == 0 || layout.BitsSize > available) return SPI_BROKEN_DATA;
    } else {
        const uint64_t stride = (uint64_t(layout.Width) * uint64_t(layout.BitCount) + 31) / 32 * 4;
        if (stride > available / uint64_t(layout.Rows)) return SPI_BROKEN_DATA;
        layout.BitsSize = stride * uint64_t(layout.Rows);
    }
    Layout = layout;
    return SPI_SUCCESS;
}

}  // namespace tam32::spi
