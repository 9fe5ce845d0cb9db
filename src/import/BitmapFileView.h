#pragma once
// A BMP file image whose header, BITMAPINFO and pixels lie in separate
// blocks, written to a stream or read as one without copying it first.
#include <cstdint>
#include <functional>

#include "platform/Stream.h"
#include "platform/WinTypes.h"

namespace tam32 {

class TBitmapFileView : public TStream {
public:
    // The blocks must outlive the view. GiveBits, when given, hands over the
    // memory handle whose first byte is Bits, for TakeBlock.
    TBitmapFileView(const uint8_t* Info, int64_t InfoSize, const uint8_t* Bits, int64_t ImageSize,
                    std::function<HLOCAL()> GiveBits = nullptr);
    TBitmapFileView(const TBitmapFileView&) = delete;
    TBitmapFileView& operator=(const TBitmapFileView&) = delete;

    int64_t Read(void* Buffer, int64_t Count) override;
    // Read-only: writes nothing.
    int64_t Write(const void* Buffer, int64_t Count) override;
    int64_t Seek(int64_t Offset, SeekOrigin Origin) override;
    int64_t Size() override { return FSize; }
    // The pixels' handle, when the position is their start and they hold Count bytes.
    HLOCAL TakeBlock(int64_t Count) override;

    // The 14-byte file header, the BITMAPINFO and the pixels, in that order.
    void WriteTo(TStream& Stream) const;

private:
    struct Part {
        const uint8_t* Data;
        int64_t Size;
    };
    BITMAPFILEHEADER FFileHeader;
    Part FParts[3];
    int64_t FSize;
    int64_t FPosition = 0;
    std::function<HLOCAL()> FGiveBits;
};

}  // namespace tam32
