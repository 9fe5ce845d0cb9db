// A picture's pixel block handed over to a QImage: the image window and the
// painted result of an analysis then hold the only copy of a large picture.
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include "image/PxDIB.h"
#include "image/PxMemory.h"

namespace tam32 {
namespace {

// The block as its store would free it.
struct TReleasedBlock {
    uintptr_t MappingHandle;
    uint8_t* Bits;
    bool UseFileMapping;
};

void FreeReleasedBlock(void* Block) {
    const std::unique_ptr<TReleasedBlock> block(static_cast<TReleasedBlock*>(Block));
    FreeMemory(block->MappingHandle, block->Bits, block->UseFileMapping);
}

// Bottom-up rows to top-down ones, in place.
void TurnRowsOver(uint8_t* Bits, std::size_t Stride, int Height) {
    std::vector<uint8_t> spare(Stride);
    for (int top = 0, bottom = Height - 1; top < bottom; ++top, --bottom) {
        uint8_t* upper = Bits + Stride * std::size_t(top);
        uint8_t* lower = Bits + Stride * std::size_t(bottom);
        std::memcpy(spare.data(), upper, Stride);
        std::memcpy(upper, lower, Stride);
        std::memcpy(lower, spare.data(), Stride);
    }
}

}  // namespace

QImage TPxDIB::ReleaseAsImage(bool KeepPixels) {
    TPxDIBInfos& infos = FDIB->Infos;
    const BITMAPINFOHEADER& header = infos.Header;
    const int64_t stride = DIBRowSize(24, FDIB->Width);
    if (FDIB->RefCount != 1 || FCanvasCount != 0 || header.biBitCount != 24 || header.biCompression != BI_RGB ||
        infos.Bits == nullptr || FDIB->Width < 1 || FDIB->Height < 1 || stride > INT_MAX)
        return {};
    // What the picture becomes, made first: nothing may fail once the block is the image's.
    auto blank = std::make_unique<TPxInternalDIB>(FDIB->UseFileMapping);
    blank->FreeDIB();
    blank->CreateDIB(1, 1, 0, 24);
    auto block =
        std::make_unique<TReleasedBlock>(TReleasedBlock{infos.MappingHandle, infos.Bits, FDIB->UseFileMapping});
    QImage image(infos.Bits, FDIB->Width, FDIB->Height, qsizetype(stride), QImage::Format_BGR888, FreeReleasedBlock,
                 block.get());
    if (image.isNull()) return {};
    block.release();
    infos.Bits = nullptr;
    infos.MappingHandle = 0;
    infos.BitsSize = 0;
    if (KeepPixels) {
        if (header.biHeight > 0) TurnRowsOver(image.bits(), std::size_t(stride), image.height());
        image.setDotsPerMeterX(header.biXPelsPerMeter);
        image.setDotsPerMeterY(header.biYPelsPerMeter);
    }
    InstallStore(blank.release());
    return image;
}

}  // namespace tam32
