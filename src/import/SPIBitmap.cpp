#include "import/SPIBitmap.h"

#include "import/FileExtension.h"
#include "import/SPIExceptions.h"
#include "import/SPIGraphic.h"
#include "import/SPIs.h"

namespace tam32 {
namespace {

std::unique_ptr<TGraphic> CreateSPIBitmap() { return std::make_unique<TSPIBitmap>(); }

}  // namespace

const TGraphicClassInfo TSPIBitmap::ClassInfo = {"TSPIBitmap", &CreateSPIBitmap};

void RegisterSPIBitmap() { TSPIs::SetDefaultGraphicClass(&TSPIBitmap::ClassInfo); }

void UnregisterSPIBitmap() { PictureFormats::UnregisterGraphicClass(&TSPIBitmap::ClassInfo); }

void TSPIBitmap::LoadFromFile(const QString& FileName) {
    RunPictureLoad(*this, [&](const TProgressEvent& Forward) {
        LoadFromGraphic(LoadGraphicFromFile(&TSPIGraphic::ClassInfo, FileName, &TBitmap::ClassInfo,
                                            IsBmpFileName(FileName), Forward));
    });
}

void TSPIBitmap::LoadFromStreamWithName(TStream& Stream, const QString& FileName) {
    RunPictureLoad(*this, [&](const TProgressEvent& Forward) {
        LoadFromGraphic(LoadGraphicFromStream(&TSPIGraphic::ClassInfo, Stream, FileName, &TBitmap::ClassInfo,
                                              IsBmpFileName(FileName), Forward));
    });
}

void TSPIBitmap::LoadFromGraphic(std::unique_ptr<TGraphic> Graphic) {
    if (Graphic == nullptr) throw EInvalidGraphic(kSusieCouldNotDecode);
    if (auto* plugin = dynamic_cast<TSPIGraphic*>(Graphic.get())) {
        // Palettes are immutable and shared, so keeping the handle is a copy.
        const HPALETTE palette = plugin->IsFourBit() ? plugin->Palette() : nullptr;
        Assign(ExtractGraphic(*plugin, &TBitmap::ClassInfo).get());
        if (palette != nullptr) SetPalette(palette);
    } else {
        Assign(Graphic.get());
    }
}

void TSPIBitmap::Assign(const TPersistent* Source) {
    if (const auto* plugin = dynamic_cast<const TSPIGraphic*>(Source)) {
        TBitmap::Assign(SPIGraphicToGraphic(*plugin, &TBitmap::ClassInfo).get());
        if (plugin->IsFourBit()) SetPalette(plugin->Palette());
        return;
    }
    TBitmap::Assign(Source);
}

TSPILoadFromStreamWithNameEvent TSPIBitmap::OnLoadFromStreamWithName() {
    return [this](TStream& Stream, const QString& FileName) { LoadFromStreamWithName(Stream, FileName); };
}

}  // namespace tam32
