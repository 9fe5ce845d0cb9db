#include "import/SPIDIBLayout.h"

#include <cstring>
#include <limits>

#include "image/PxDIBTypes.h"

namespace tam32 {

std::optional<TSPIDIBLayout> DIBLayoutOf(const BITMAPINFOHEADER& Header) {
    const int bits = Header.biBitCount;
    if (Header.biSize != sizeof(BITMAPINFOHEADER) || Header.biWidth < 1 || Header.biHeight == 0 ||
        Header.biHeight == std::numeric_limits<int32_t>::min())
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    const bool rle = Header.biCompression == BI_RLE8 || Header.biCompression == BI_RLE4;
    const bool compressionFits = Header.biCompression == BI_RGB ||
                                 (Header.biCompression == BI_RLE8 && bits == 8) ||
                                 (Header.biCompression == BI_RLE4 && bits == 4) ||
                                 (Header.biCompression == BI_BITFIELDS && (bits == 16 || bits == 32));
    if (!compressionFits) return std::nullopt;

    TSPIDIBLayout layout;
    layout.Width = Header.biWidth;
    layout.Height = Header.biHeight;
    layout.IsFourBit = bits == 4;
    const int64_t colors = Header.biClrUsed != 0 ? Header.biClrUsed : GetNumColors(bits);
    if (colors > 256) return std::nullopt;
    layout.ColorCount = static_cast<int32_t>(colors);
    // The masks that follow a 40-byte header belong to the BMP image too, or
    // a bit-field picture could never be read back.
    const int64_t masks = Header.biCompression == BI_BITFIELDS ? 12 : 0;
    layout.InfoSize = static_cast<int64_t>(sizeof(BITMAPINFOHEADER)) + masks + colors * 4;
    const int64_t rows = Header.biHeight < 0 ? -static_cast<int64_t>(Header.biHeight) : Header.biHeight;
    // Compressed data is as long as the header says, not as the picture's rows.
    layout.ImageSize = rle ? Header.biSizeImage : DIBRowSize(bits, Header.biWidth) * rows;
    if (layout.ImageSize <= 0 || layout.ImageSize > kMaxPixelBlockSize) return std::nullopt;
    return layout;
}

std::optional<TSPIDIBLayout> CheckDecodedDIB(HLOCAL HBInfo, HLOCAL HBm) {
    if (HBInfo == HBm || !IsValidMemoryHandle(HBInfo) || !IsValidMemoryHandle(HBm)) return std::nullopt;
    const MemoryLock info(HBInfo);
    if (info.Data() == nullptr || info.Size() < sizeof(BITMAPINFOHEADER)) return std::nullopt;
    BITMAPINFOHEADER header;
    std::memcpy(&header, info.Data(), sizeof header);
    std::optional<TSPIDIBLayout> layout = DIBLayoutOf(header);
    if (!layout || static_cast<uint64_t>(layout->InfoSize) > info.Size() ||
        static_cast<uint64_t>(layout->ImageSize) > LocalSize(HBm))
        return std::nullopt;
    return layout;
}

}  // namespace tam32
