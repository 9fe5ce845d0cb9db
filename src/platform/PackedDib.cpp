#include "platform/PackedDib.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>
#include <limits>
#include <optional>

#include "platform/WinTypes.h"

namespace tam32::PackedDib {

namespace {

constexpr size_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);
constexpr uint32_t kMaxBmpSize = std::numeric_limits<uint32_t>::max();

// Where the parts of a packed DIB lie.
struct Layout {
    uint64_t HeaderBytes;  // information header
    uint64_t TableBytes;   // colour masks and colour table
    uint64_t BitsBytes;
    uint64_t HeadBytes() const { return HeaderBytes + TableBytes; }
};

unsigned __int128 StrideOf(uint32_t BitCount, uint32_t Width) {
    return (unsigned __int128)(((uint64_t(BitCount) * Width + 31) / 32) * 4);
}

std::optional<Layout> CoreLayout(const uint8_t* Data, size_t Size) {
    BITMAPCOREHEADER core;
    if (Size < sizeof core) return std::nullopt;
    std::memcpy(&core, Data, sizeof core);
    const uint16_t bits = core.bcBitCount;
    if (core.bcPlanes != 1 || core.bcWidth == 0 || core.bcHeight == 0) return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 24) return std::nullopt;
    const uint64_t entries = bits <= 8 ? (uint64_t(1) << bits) : 0;
    const unsigned __int128 pixels = StrideOf(bits, core.bcWidth) * core.bcHeight;
    return Layout{sizeof core, entries * sizeof(RGBTRIPLE), uint64_t(pixels)};
}

std::optional<Layout> InfoLayout(const uint8_t* Data, size_t Size, uint32_t HeaderSize) {
    BITMAPINFOHEADER info;
    if (Size < HeaderSize) return std::nullopt;
    std::memcpy(&info, Data, sizeof info);
    const uint16_t bits = info.biBitCount;
    if (info.biPlanes != 1 || info.biWidth <= 0 || info.biHeight == 0 ||
        info.biHeight == std::numeric_limits<int32_t>::min())
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
    const bool bottomUp = info.biHeight > 0;
    const uint32_t compression = info.biCompression;
    const bool rle = compression == BI_RLE8 || compression == BI_RLE4;
    if (compression == BI_RLE8 && (bits != 8 || !bottomUp)) return std::nullopt;
    if (compression == BI_RLE4 && (bits != 4 || !bottomUp)) return std::nullopt;
    if (compression == BI_BITFIELDS && bits != 16 && bits != 32) return std::nullopt;
    if (compression > BI_BITFIELDS) return std::nullopt;
    if (rle && info.biSizeImage == 0) return std::nullopt;

    const uint64_t maxEntries = bits <= 8 ? (uint64_t(1) << bits) : 0;
    const uint64_t entries = info.biClrUsed != 0 ? info.biClrUsed : maxEntries;
    if (bits <= 8 && entries > maxEntries) return std::nullopt;
    // The three masks follow a 40-byte header; later headers hold them.
    const uint64_t masks = (HeaderSize == sizeof info && compression == BI_BITFIELDS) ? 12 : 0;
    const uint64_t height = bottomUp ? uint64_t(info.biHeight) : uint64_t(-int64_t(info.biHeight));
    const unsigned __int128 pixels = rle ? info.biSizeImage : StrideOf(bits, uint32_t(info.biWidth)) * height;
    if (pixels > std::numeric_limits<uint64_t>::max() / 2) return std::nullopt;
    return Layout{HeaderSize, masks + entries * sizeof(RGBQUAD), uint64_t(pixels)};
}

std::optional<Layout> LayoutOf(const uint8_t* Data, size_t Size) {
    uint32_t headerSize;
    if (Size < sizeof headerSize) return std::nullopt;
    std::memcpy(&headerSize, Data, sizeof headerSize);
    switch (headerSize) {
        case sizeof(BITMAPCOREHEADER): return CoreLayout(Data, Size);
        case 40:
        case 52:
        case 56:
        case 108:
        case 124: return InfoLayout(Data, Size, headerSize);
        default: return std::nullopt;
    }
}

QByteArray FileHeader(uint64_t FileSize, uint64_t OffBits) {
    BITMAPFILEHEADER header{kBitmapFileType, uint32_t(FileSize), 0, 0, uint32_t(OffBits)};
    return QByteArray(reinterpret_cast<const char*>(&header), sizeof header);
}

}  // namespace

QByteArray ToBmpFile(const uint8_t* Data, size_t Size) {
    const std::optional<Layout> layout = LayoutOf(Data, Size);
    if (!layout) return {};
    const uint64_t total = layout->HeadBytes() + layout->BitsBytes;
    if (total > Size || total > kMaxBmpSize - kFileHeaderSize) return {};
    QByteArray file = FileHeader(kFileHeaderSize + total, kFileHeaderSize + layout->HeadBytes());
    file.append(reinterpret_cast<const char*>(Data), qsizetype(total));
    return file;
}

QByteArray FromBmpFile(const QByteArray& File) {
    BITMAPFILEHEADER header;
    const uint64_t size = uint64_t(File.size());
    if (size < kFileHeaderSize) return {};
    std::memcpy(&header, File.constData(), sizeof header);
    if (header.bfType != kBitmapFileType) return {};
    const auto* dib = reinterpret_cast<const uint8_t*>(File.constData()) + kFileHeaderSize;
    const std::optional<Layout> layout = LayoutOf(dib, size_t(size - kFileHeaderSize));
    if (!layout) return {};
    const uint64_t head = layout->HeadBytes();
    const uint64_t offBits = header.bfOffBits;
    if (kFileHeaderSize + head > size || offBits < kFileHeaderSize + head) return {};
    if (offBits > size || layout->BitsBytes > size - offBits) return {};
    QByteArray packed(File.constData() + kFileHeaderSize, qsizetype(head));
    packed.append(File.constData() + offBits, qsizetype(layout->BitsBytes));
    return packed;
}

QByteArray FromImage(const QImage& Image) {
    if (Image.isNull()) return {};
    const QImage bgr = Image.convertToFormat(QImage::Format_BGR888);
    if (bgr.isNull()) return {};
    const uint64_t width = uint64_t(bgr.width()), height = uint64_t(bgr.height());
    const uint64_t stride = ((24 * width + 31) / 32) * 4;
    const uint64_t bitsBytes = stride * height;
    if (bitsBytes > kMaxBmpSize - kFileHeaderSize - sizeof(BITMAPINFOHEADER)) return {};

    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = int32_t(width);
    info.biHeight = int32_t(height);  // positive: bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = uint32_t(bitsBytes);
    info.biXPelsPerMeter = bgr.dotsPerMeterX();
    info.biYPelsPerMeter = bgr.dotsPerMeterY();
    QByteArray packed(qsizetype(sizeof info + bitsBytes), '\0');
    std::memcpy(packed.data(), &info, sizeof info);
    char* bits = packed.data() + sizeof info;
    for (uint64_t row = 0; row < height; ++row)
        std::memcpy(bits + (height - 1 - row) * stride, bgr.constScanLine(int(row)), size_t(width * 3));
    return packed;
}

QImage DecodeBmpFile(const QByteArray& File) {
    constexpr int kDecodeLimitMegabytes = 2048;
    QBuffer buffer;
    buffer.setData(File);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAllocationLimit(kDecodeLimitMegabytes);
    return reader.read();
}

HGLOBAL ToHandle(const QByteArray& Bytes) {
    HGLOBAL handle = GlobalAlloc(GMEM_MOVEABLE, size_t(Bytes.size()));
    if (handle == nullptr) return nullptr;
    MemoryLock lock(handle);
    std::memcpy(lock.Data(), Bytes.constData(), size_t(Bytes.size()));
    return handle;
}

QByteArray FromHandle(HGLOBAL Handle) {
    MemoryLock lock(Handle);
    if (lock.Data() == nullptr) return {};
    return QByteArray(static_cast<const char*>(lock.Data()), qsizetype(lock.Size()));
}

}  // namespace tam32::PackedDib
