#include "import/BitmapFileView.h"

#include <algorithm>
#include <utility>

#include "platform/LargeBlocks.h"

namespace tam32 {

TBitmapFileView::TBitmapFileView(const uint8_t* Info, int64_t InfoSize, const uint8_t* Bits, int64_t ImageSize,
                                 std::function<HLOCAL()> GiveBits)
    : FGiveBits(std::move(GiveBits)) {
    constexpr int64_t kFileHeaderSize = sizeof(BITMAPFILEHEADER);
    FFileHeader.bfType = kBitmapFileType;
    FFileHeader.bfSize = static_cast<uint32_t>(kFileHeaderSize + InfoSize + ImageSize);
    FFileHeader.bfReserved1 = 0;
    FFileHeader.bfReserved2 = 0;
    FFileHeader.bfOffBits = static_cast<uint32_t>(kFileHeaderSize + InfoSize);
    FParts[0] = {reinterpret_cast<const uint8_t*>(&FFileHeader), kFileHeaderSize};
    FParts[1] = {Info, InfoSize};
    FParts[2] = {Bits, ImageSize};
    FSize = kFileHeaderSize + InfoSize + ImageSize;
}

int64_t TBitmapFileView::Read(void* Buffer, int64_t Count) {
    auto* out = static_cast<uint8_t*>(Buffer);
    int64_t done = 0;
    int64_t partStart = 0;
    for (const Part& part : FParts) {
        const int64_t from = FPosition + done - partStart;
        if (Count > done && from >= 0 && from < part.Size) {
            const int64_t n = std::min(Count - done, part.Size - from);
            CopyBlock(out + done, part.Data + from, static_cast<size_t>(n));
            done += n;
        }
        partStart += part.Size;
    }
    FPosition += done;
    return done;
}

int64_t TBitmapFileView::Write(const void*, int64_t) { return 0; }

HLOCAL TBitmapFileView::TakeBlock(int64_t Count) {
    const Part& pixels = FParts[2];
    if (!FGiveBits || FPosition != FParts[0].Size + FParts[1].Size || Count < 0 || Count > pixels.Size) return nullptr;
    const HLOCAL block = std::exchange(FGiveBits, nullptr)();
    if (block != nullptr) FPosition += Count;
    return block;
}

int64_t TBitmapFileView::Seek(int64_t Offset, SeekOrigin Origin) {
    const int64_t base = Origin == SeekOrigin::Beginning ? 0 : Origin == SeekOrigin::Current ? FPosition : FSize;
    if (base + Offset < 0) return -1;
    FPosition = base + Offset;
    return FPosition;
}

void TBitmapFileView::WriteTo(TStream& Stream) const {
    for (const Part& part : FParts) Stream.WriteBuffer(part.Data, part.Size);
}

}  // namespace tam32
