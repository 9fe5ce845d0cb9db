// tam32-probe load IN OUT.bmp
// Loads IN as the analysis image does (a ".bmp" through the image model
// first, anything else through the plug-ins first), with the plug-ins found
// where the program finds them, converts it to 24 bits and writes OUT.
#include "ProbeCommands.h"
#include "ProbePlugins.h"
#include "import/SPIPxDIB.h"

namespace tam32::probe {
namespace {

int Load(const QStringList& Args) {
    if (Args.size() != 2) return kUsage;
    const TProbePlugins plugins;
    TSPIPxDIB dib;
    dib.LoadFromFile(Args[0]);
    dib.SetPixelFormat(pxPf24Bit);
    dib.SaveToFile(Args[1]);
    return 0;
}

const RegisterProbeCommand kLoad({"load", "IN OUT.bmp", Load});

}  // namespace
}  // namespace tam32::probe
