#pragma once
// The image-input plug-ins beside the benchmark program, found as the
// program finds its own, for the length of one benchmark.
#include "import/SPIBitmap.h"
#include "import/SPIs.h"

namespace tam32::bench {

struct TPlugins {
    TSPIs Host;
    TPlugins() {
        RegisterSPIBitmap();
        Host.OnSearch = KeepInputPlugins;
        Host.Loaded();
    }
    ~TPlugins() { UnregisterSPIBitmap(); }
};

}  // namespace tam32::bench
