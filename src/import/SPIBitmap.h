#pragma once
// The picture class the picture-format registry hands out for every plug-in
// extension: the platform bitmap, loading through the plug-ins as the
// analysis image does. A 4-bit picture keeps its 16-entry colour table.
#include <QString>
#include <memory>

#include "import/SPIGraphicLoad.h"
#include "platform/Bitmap.h"

namespace tam32 {

class TSPIBitmap : public TBitmap {
public:
    static const TGraphicClassInfo ClassInfo;
    TSPIBitmap() = default;
    const char* ClassName() const override { return "TSPIBitmap"; }

    void Assign(const TPersistent* Source) override;
    // EPictureUnreadable (an EInvalidGraphic "Susie Plugins could not
    // decode") when neither the bitmap reader nor a plug-in reads the file,
    // EFOpenError when it cannot be opened; the bitmap then stays as it was.
    void LoadFromFile(const QString& FileName) override;
    void LoadFromStream(TStream& Stream) override { LoadFromStreamWithName(Stream, QString()); }
    virtual void LoadFromStreamWithName(TStream& Stream, const QString& FileName);
    // Takes the picture over (and frees it); nullptr raises as LoadFromFile does.
    virtual void LoadFromGraphic(std::unique_ptr<TGraphic> Graphic);

    // Always this bitmap's own LoadFromStreamWithName; setting it does nothing.
    TSPILoadFromStreamWithNameEvent OnLoadFromStreamWithName();
    void SetOnLoadFromStreamWithName(const TSPILoadFromStreamWithNameEvent&) {}
};

// Makes TSPIBitmap the class the plug-in host registers for plug-in extensions.
void RegisterSPIBitmap();
// Withdraws TSPIBitmap from the picture-format registry (at exit).
void UnregisterSPIBitmap();

}  // namespace tam32
