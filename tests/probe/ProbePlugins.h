#pragma once
// The image-input plug-ins as the program finds them (its plug-in folder and
// its own folder, never the current one), for a probe command that reads
// pictures, with the picture classes registered as the program registers
// them, for as long as it runs.
#include "image/PxDIB.h"
#include "import/SPIBitmap.h"
#include "import/SPIs.h"
#include "platform/Bitmap.h"
#include "platform/PictureFormats.h"

namespace tam32::probe {

class TProbePlugins {
public:
    TProbePlugins() {
        PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
        RegisterPxDIB();
        RegisterSPIBitmap();
        FHost.SearchOptions = {TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
        FHost.OnSearch = KeepInputPlugins;
        FHost.Loaded();
    }
    ~TProbePlugins() {
        UnregisterSPIBitmap();
        UnregisterPxDIB();
        PictureFormats::UnregisterGraphicClass(&TBitmap::ClassInfo);
    }
    TProbePlugins(const TProbePlugins&) = delete;
    TProbePlugins& operator=(const TProbePlugins&) = delete;

private:
    TSPIs FHost;
};

}  // namespace tam32::probe
