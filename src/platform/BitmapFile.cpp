// The bitmap in BMP files and in clipboard blocks. Decoding and encoding use
// Qt's BMP reader and writer; the declared pixel format is taken from the
// file's header, which Qt's decoded picture does not keep (4-bit pictures
// decode to 8 bits, 16-bit ones to 32).
#include <QBuffer>
#include <QImageWriter>
#include <cstring>
#include <limits>

#include "platform/Bitmap.h"
#include "platform/BitmapFormats.h"
#include "platform/Exceptions.h"
#include "platform/PackedDib.h"
#include "platform/Stream.h"

namespace tam32 {

namespace {

const QString kInvalidBitmap = QStringLiteral("Bitmap image is not valid");

template <class T>
bool ReadAt(const QByteArray& Bytes, qsizetype Offset, T& Value) {
    if (Offset < 0 || Bytes.size() - Offset < qsizetype(sizeof Value)) return false;
    std::memcpy(&Value, Bytes.constData() + Offset, sizeof Value);
    return true;
}

// The pixel format a BMP file image declares; pf32bit when it cannot be told.
TPixelFormat DeclaredFormat(const QByteArray& File) {
    constexpr qsizetype kInfo = sizeof(BITMAPFILEHEADER);
    uint32_t headerSize = 0;
    uint16_t bitCount = 0;
    if (!ReadAt(File, kInfo, headerSize)) return TPixelFormat::pf32bit;
    const qsizetype bitCountAt = headerSize == sizeof(BITMAPCOREHEADER) ? kInfo + 10 : kInfo + 14;
    if (!ReadAt(File, bitCountAt, bitCount)) return TPixelFormat::pf32bit;
    switch (bitCount) {
        case 1: return TPixelFormat::pf1bit;
        case 4: return TPixelFormat::pf4bit;
        case 8: return TPixelFormat::pf8bit;
        case 24: return TPixelFormat::pf24bit;
        case 16: {
            // 5-6-5 only with bit fields whose green mask says so; the default is 5-5-5.
            uint32_t compression = 0, greenMask = 0;
            const bool fields = ReadAt(File, kInfo + 16, compression) && compression == BI_BITFIELDS &&
                                ReadAt(File, kInfo + 44, greenMask);
            return fields && greenMask == 0x07E0 ? TPixelFormat::pf16bit : TPixelFormat::pf15bit;
        }
        default: return TPixelFormat::pf32bit;
    }
}

}  // namespace

void TBitmap::LoadFromBmpBytes(const QByteArray& Bytes) {
    const QImage decoded = PackedDib::DecodeBmpFile(Bytes);
    if (decoded.isNull()) throw EInvalidGraphic(kInvalidBitmap);
    const TPixelFormat format = DeclaredFormat(Bytes);
    QImage image = ConvertedTo(decoded, format, nullptr);
    if (image.isNull()) throw EOutOfResources(QStringLiteral("Out of system resources"));
    Install(std::move(image), format);
}

QByteArray TBitmap::BmpBytes() const {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "bmp");
    // Qt writes tables of up to 16 entries as 4-bit files; an 8-bit bitmap
    // stays 8-bit by a full table.
    QImage image = FImage;
    if (FPixelFormat == TPixelFormat::pf8bit && image.colorCount() <= 16) {
        QList<QRgb> table = image.colorTable();
        table.resize(256, qRgb(0, 0, 0));
        image.setColorTable(table);
    }
    if (!writer.write(image)) throw EOutOfResources(QStringLiteral("Out of system resources"));
    return buffer.data();
}

void TBitmap::LoadFromStream(TStream& Stream) {
    // The bitmap takes the rest of the stream.
    const int64_t available = Stream.Size() - Stream.Position();
    if (available < int64_t(sizeof(BITMAPFILEHEADER)) || available > std::numeric_limits<uint32_t>::max())
        throw EInvalidGraphic(kInvalidBitmap);
    QByteArray bytes(qsizetype(available), '\0');
    Stream.ReadBuffer(bytes.data(), available);
    LoadFromBmpBytes(bytes);
}

void TBitmap::SaveToStream(TStream& Stream) {
    if (FImage.isNull()) return;
    const QByteArray bytes = BmpBytes();
    Stream.WriteBuffer(bytes.constData(), bytes.size());
}

void TBitmap::LoadFromClipboardFormat(uint16_t AFormat, HGLOBAL AData, HPALETTE) {
    if (AFormat != CF_BITMAP || AData == nullptr)
        throw EInvalidGraphic(QStringLiteral("Unsupported clipboard format"));
    const QByteArray packed = PackedDib::FromHandle(AData);
    const QByteArray file =
        PackedDib::ToBmpFile(reinterpret_cast<const uint8_t*>(packed.constData()), size_t(packed.size()));
    if (file.isEmpty()) throw EInvalidGraphic(kInvalidBitmap);
    LoadFromBmpBytes(file);
}

void TBitmap::SaveToClipboardFormat(uint16_t& AFormat, HGLOBAL& AData, HPALETTE& APalette) {
    AFormat = CF_BITMAP;
    APalette = GetPalette();
    AData = nullptr;
    if (FImage.isNull()) return;
    AData = PackedDib::ToHandle(PackedDib::FromBmpFile(BmpBytes()));
    if (AData == nullptr) throw EOutOfResources(QStringLiteral("Out of system resources"));
}

}  // namespace tam32
