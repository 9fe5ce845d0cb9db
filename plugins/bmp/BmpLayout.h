#pragma once
// Where the parts of a BMP file lie, for the information headers the image
// model leaves to plug-ins: 40 bytes and longer (Adobe's 52- and 56-byte
// headers, OS/2's 64-byte one, versions 4 and 5 of 108 and 124 bytes). Every
// part is checked against the bytes present before anything is read, so a
// damaged or hostile file is refused instead of being read past its end.
#include <cstddef>
#include <cstdint>

namespace tam32::spi {

struct BmpLayout {
    int64_t Width = 0;
    int64_t Rows = 0;
    bool TopDown = false;
    int BitCount = 0;
    // BI_RGB, BI_RLE8, BI_RLE4 or BI_BITFIELDS; alpha bit fields count as
    // plain ones, since alpha is not read.
    uint32_t Compression = 0;
    uint32_t Masks[3] = {};  // red, green, blue with BI_BITFIELDS
    int ColorCount = 0;      // the colour-table entries used, 4 bytes each
    uint64_t ColorsOffset = 0;
    uint64_t BitsOffset = 0;
    uint64_t BitsSize = 0;  // the rows, or the compressed data
    int32_t XPelsPerMeter = 0;
    int32_t YPelsPerMeter = 0;
};

// The bytes IsReadableBmp looks at.
inline constexpr size_t kBmpProbeBytes = 18;

// True when Header starts a BMP file whose header size is one read here.
bool IsReadableBmp(const uint8_t* Header);

// SPI_SUCCESS; SPI_UNKNOWN_FORMAT for anything but a BMP file of a header
// size, bit count and compression read here (embedded JPEG and PNG pictures
// and OS/2's Huffman and RLE24 data are not); SPI_BROKEN_DATA when its parts
// contradict each other or do not fit in Size bytes.
int32_t ReadBmpLayout(const uint8_t* Data, size_t Size, BmpLayout& Layout);

}  // namespace tam32::spi
