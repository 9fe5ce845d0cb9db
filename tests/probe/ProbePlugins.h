#pragma once
// The image-input plug-ins as the program finds them (its plug-in folder and
// its own folder, never the current one), for a probe command that reads
// pictures, with the BMP class registered for as long as it runs.
#include "import/SPIBitmap.h"
#include "import/SPIs.h"

namespace tam32::probe {

class TProbePlugins {
public:
    TProbePlugins() {
        RegisterSPIBitmap();
        FHost.SearchOptions = {TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir};
        FHost.OnSearch = KeepInputPlugins;
        FHost.Loaded();
    }
    ~TProbePlugins() { UnregisterSPIBitmap(); }
    TProbePlugins(const TProbePlugins&) = delete;
    TProbePlugins& operator=(const TProbePlugins&) = delete;

private:
    TSPIs FHost;
};

}  // namespace tam32::probe
