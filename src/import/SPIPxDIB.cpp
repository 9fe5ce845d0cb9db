#include "import/SPIPxDIB.h"

#include <QGuiApplication>
#include <QScreen>

#include "import/FileExtension.h"
#include "import/SPIExceptions.h"
#include "import/SPIGraphic.h"

namespace tam32 {
namespace {

std::unique_ptr<TGraphic> CreateSPIPxDIB() { return std::make_unique<TSPIPxDIB>(); }

std::optional<bool> gLowColorOverride;
std::optional<bool> gLowColorScreen;

}  // namespace

const TGraphicClassInfo TSPIPxDIB::ClassInfo = {"TSPIPxDIB", &CreateSPIPxDIB};

bool LowColorScreen() {
    if (gLowColorOverride) return *gLowColorOverride;
    if (!gLowColorScreen) {
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) return false;
        const QScreen* screen = QGuiApplication::primaryScreen();
        gLowColorScreen = screen != nullptr && screen->depth() < 9;
    }
    return *gLowColorScreen;
}

void OverrideLowColorScreen(std::optional<bool> Value) { gLowColorOverride = Value; }

void UnregisterSPIPxDIB() { PictureFormats::UnregisterGraphicClass(&TSPIPxDIB::ClassInfo); }

void TSPIPxDIB::LoadFromFile(const QString& FileName) {
    RunPictureLoad(*this, [&](const TProgressEvent& Forward) {
        LoadFromGraphic(LoadGraphicFromFile(&TSPIGraphic::ClassInfo, FileName, &TPxDIB::ClassInfo,
                                            IsBmpFileName(FileName), Forward));
    });
}

void TSPIPxDIB::LoadFromStreamWithName(TStream& Stream, const QString& FileName) {
    RunPictureLoad(*this, [&](const TProgressEvent& Forward) {
        LoadFromGraphic(LoadGraphicFromStream(&TSPIGraphic::ClassInfo, Stream, FileName, &TPxDIB::ClassInfo,
                                              IsBmpFileName(FileName), Forward));
    });
}

void TSPIPxDIB::LoadFromGraphic(std::unique_ptr<TGraphic> Graphic) {
    if (Graphic == nullptr) throw EInvalidGraphic(kSusieCouldNotDecode);
    if (auto* plugin = dynamic_cast<TSPIGraphic*>(Graphic.get()))
        Assign(ExtractGraphic(*plugin, &TPxDIB::ClassInfo).get());
    else
        Assign(Graphic.get());
}

void TSPIPxDIB::Assign(const TPersistent* Source) {
    if (const auto* plugin = dynamic_cast<const TSPIGraphic*>(Source)) {
        TPxDIB::Assign(SPIGraphicToGraphic(*plugin, &TPxDIB::ClassInfo).get());
        return;
    }
    if (const auto* other = dynamic_cast<const TSPIPxDIB*>(Source)) PaletteMode = other->PaletteMode;
    TPxDIB::Assign(Source);
}

TSPILoadFromStreamWithNameEvent TSPIPxDIB::OnLoadFromStreamWithName() {
    return [this](TStream& Stream, const QString& FileName) { LoadFromStreamWithName(Stream, FileName); };
}

void TSPIPxDIB::Changed() {
    const int bits = GetBitCount();
    if ((bits == 16 || bits == 24 || bits == 32) && GetPalette() == nullptr &&
        (PaletteMode == 2 || (PaletteMode == 1 && LowColorScreen())))
        CreateTrueColorPalette();
    TPxDIB::Changed();
}

}  // namespace tam32
