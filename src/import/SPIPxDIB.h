#pragma once
// The analysis image: the image model's bitmap graphic, loading every format
// through the plug-ins. A file named ".bmp" goes to the model's own reader
// first and to the plug-ins only when that fails; any other file, and any
// stream, goes to the plug-ins first.
#include <QString>
#include <memory>
#include <optional>

#include "image/PxDIB.h"
#include "import/SPIGraphicLoad.h"

namespace tam32 {

class TSPIPxDIB : public TPxDIB {
public:
    static const TGraphicClassInfo ClassInfo;
    TSPIPxDIB() = default;
    const char* ClassName() const override { return "TSPIPxDIB"; }

    void Assign(const TPersistent* Source) override;
    // EPictureUnreadable (an EInvalidGraphic "Susie Plugins could not
    // decode") when neither the model nor a plug-in reads the file, EFOpenError
    // when it cannot be opened; the picture then stays as it was.
    void LoadFromFile(const QString& FileName) override;
    void LoadFromStream(TStream& Stream) override { LoadFromStreamWithName(Stream, QString()); }
    virtual void LoadFromStreamWithName(TStream& Stream, const QString& FileName);
    // Takes the picture over (and frees it); nullptr raises as LoadFromFile does.
    virtual void LoadFromGraphic(std::unique_ptr<TGraphic> Graphic);

    // Always this picture's own LoadFromStreamWithName; setting it does nothing.
    TSPILoadFromStreamWithNameEvent OnLoadFromStreamWithName();
    void SetOnLoadFromStreamWithName(const TSPILoadFromStreamWithNameEvent&) {}

    // The plug-in DIB's own palette mode, apart from the model's (which it
    // hides): 0 never adds a true-colour palette to a 16/24/32-bit picture,
    // 1 adds one on a low-colour screen, 2 always.
    uint8_t PaletteMode = 1;

protected:
    void Changed() override;
};

// True when the screen shows at most 8 bits per pixel; false while there is
// no screen (no GUI application). Known once asked with a screen present.
bool LowColorScreen();
// Lets tests stand in a screen of their choice; nullopt returns to the real one.
void OverrideLowColorScreen(std::optional<bool> Value);

// Withdraws TSPIPxDIB from the picture-format registry (at exit).
void UnregisterSPIPxDIB();

}  // namespace tam32
