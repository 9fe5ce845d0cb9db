#pragma once
// A packed DIB handed over by the scanner, read back for checking.
#include <QByteArray>
#include <QRgb>
#include <cstring>
#include <vector>

#include "platform/MemoryHandle.h"
#include "platform/WinTypes.h"

namespace tam32::test {

struct DibView {
    BITMAPINFOHEADER Header{};
    std::vector<QRgb> Table;
    QByteArray Bits;
    bool Valid = false;

    int Width() const { return Header.biWidth; }
    int Height() const { return Header.biHeight; }
    // Y counted from the top, as the rows are stored bottom-up. Transparent
    // (never a scanned colour) outside the picture or for an invalid one.
    QRgb Pixel(int X, int Y) const {
        if (!Valid || X < 0 || Y < 0 || X >= Width() || Y >= Height()) return qRgba(0, 0, 0, 0);
        const int stride = (Width() * Header.biBitCount + 31) / 32 * 4;
        const auto* row = reinterpret_cast<const uint8_t*>(Bits.constData()) + (Height() - 1 - Y) * stride;
        if (Header.biBitCount == 8) return Table[row[X]];
        return qRgb(row[3 * X + 2], row[3 * X + 1], row[3 * X]);
    }
};

// Valid only for an uncompressed 8- or 24-bit bottom-up DIB that fills its block exactly.
inline DibView ViewOf(HGLOBAL Handle) {
    DibView view;
    MemoryLock lock(Handle);
    const auto* data = static_cast<const char*>(lock.Data());
    if (data == nullptr || lock.Size() < sizeof view.Header) return view;
    std::memcpy(&view.Header, data, sizeof view.Header);
    const BITMAPINFOHEADER& h = view.Header;
    if (h.biSize != 40 || h.biWidth <= 0 || h.biHeight <= 0 || h.biCompression != BI_RGB) return view;
    if (h.biBitCount != 8 && h.biBitCount != 24) return view;
    const size_t entries = h.biBitCount == 8 ? (h.biClrUsed != 0 ? h.biClrUsed : 256) : 0;
    const size_t bits = (size_t(h.biWidth) * h.biBitCount + 31) / 32 * 4 * size_t(h.biHeight);
    if (lock.Size() != 40 + entries * 4 + bits || h.biSizeImage != bits) return view;
    for (size_t i = 0; i < entries; ++i) {
        const auto* q = reinterpret_cast<const uint8_t*>(data + 40 + i * 4);
        view.Table.push_back(qRgb(q[2], q[1], q[0]));
    }
    view.Bits = QByteArray(data + 40 + entries * 4, qsizetype(bits));
    view.Valid = true;
    return view;
}

}  // namespace tam32::test
