#include "import/SPIGraphic.h"

#include <vector>

#include "image/PxDIB.h"
#include "import/UnreadablePicture.h"
#include "import/SPIGraphicLoad.h"

namespace tam32 {
namespace {

std::unique_ptr<TGraphic> CreateSPIGraphic() { return std::make_unique<TSPIGraphic>(); }

}  // namespace

const TGraphicClassInfo TSPIGraphic::ClassInfo = {"TSPIGraphic", &CreateSPIGraphic};

TSPIGraphic::TSPIGraphic() = default;

TSPIGraphic::~TSPIGraphic() { FreeData(); }

bool TSPIGraphic::Empty() const { return Data == nullptr || Data->IsEmpty(); }

int TSPIGraphic::Width() const { return UpdateInfo().Width; }

int TSPIGraphic::Height() const { return UpdateInfo().Height; }

HPALETTE TSPIGraphic::Palette() const { return UpdateInfo().Palette; }

bool TSPIGraphic::IsFourBit() const { return UpdateInfo().IsFourBit; }

const TSPIGraphic::DerivedInfo& TSPIGraphic::UpdateInfo() const {
    if (FInfoValid) return FInfo;
    FInfo = DerivedInfo{};
    if (!Empty()) {
        const TSPIDIBLayout& layout = Data->Layout();
        FInfo.Width = layout.Width;
        FInfo.Height = layout.Height;
        FInfo.InfoSize = layout.InfoSize;
        FInfo.ImageSize = layout.ImageSize;
        FInfo.ColorCount = layout.ColorCount;
        FInfo.IsFourBit = layout.IsFourBit;
        // The colour table ends the BITMAPINFO (bit-field masks come before it).
        const uint8_t* table = Data->GetBitmapInfo() + layout.InfoSize - 4 * int64_t{layout.ColorCount};
        std::vector<TPaletteEntry> entries(static_cast<size_t>(layout.ColorCount));
        for (size_t i = 0; i < entries.size(); ++i)
            entries[i] = {table[4 * i + 2], table[4 * i + 1], table[4 * i], 0};
        FInfo.Palette = CreatePalette(std::move(entries));
    }
    FInfoValid = true;
    return FInfo;
}

void TSPIGraphic::FreeData() {
    Data.reset();
    FInfo = DerivedInfo{};
    FInfoValid = false;
}

void TSPIGraphic::LoadFromFile(const QString& FileName) {
    FreeData();
    Data = std::make_unique<TInSPIAbleFromFile>(this, FileName);
    LoadData();
}

void TSPIGraphic::LoadFromStreamWithName(TStream& Stream, const QString& FileName) {
    FreeData();
    Data = std::make_unique<TInSPIAbleFromStream>(this, FileName, Stream);
    LoadData();
}

void TSPIGraphic::LoadData() {
    try {
        Data->OnProgress = OnProgress;
        Data->LoadGraphic();
        if (Data->IsEmpty()) throw EPictureUnreadable(Data->FileName, Data->Fault());
    } catch (...) {
        FreeData();
        throw;
    }
    Changed();
}

std::unique_ptr<TBitmapFileView> TSPIGraphic::BitmapFile(bool HandOverPixels) const {
    const DerivedInfo& info = UpdateInfo();
    if (Empty()) return std::make_unique<TBitmapFileView>(nullptr, 0, nullptr, 0);
    std::function<HLOCAL()> giveBits;
    if (HandOverPixels) giveBits = [data = Data.get()] { return data->TakeBits(); };
    return std::make_unique<TBitmapFileView>(Data->GetBitmapInfo(), info.InfoSize, Data->GetBits(), info.ImageSize,
                                             std::move(giveBits));
}

void TSPIGraphic::SaveToStream(TStream& Stream) { BitmapFile()->WriteTo(Stream); }

void TSPIGraphic::Draw(TCanvas& ACanvas, const TRect& Rect) {
    if (Empty()) return;
    // The image model's picture draws stretched, nearest neighbour, with the
    // canvas's copy mode, as the platform's stretch-DIB call does.
    SPIGraphicToGraphic(*this, &TPxDIB::ClassInfo)->Draw(ACanvas, Rect);
}

}  // namespace tam32
