// tam32-probe scan OUT.bmp [--device NAME]
// Acquires one picture through the scanner client, without the source's
// interface, and writes it as a BMP file; prints its width, height and bit
// count. Without --device the manager's default source is taken, so no
// dialog is shown and the probe's plain application object suffices.
#include <cstdio>

#include "ProbeCommands.h"
#include "image/PxDIB.h"
#include "import/AcquireImage.h"

namespace tam32::probe {
namespace {

// The steps of one acquisition up to the picture; the caller closes and unloads.
TW_UINT16 Acquire(TAcquireImage& Acquire, QString Device, HGLOBAL& Dib) {
    TW_UINT16 result = Acquire.OpenSourceManager();
    if (result != TWRC_SUCCESS) return result;
    if (Device.isEmpty()) {
        Acquire.SelectSource(true, Device);
        if (Device.isEmpty()) return TWRC_FAILURE;
    }
    result = Acquire.SelectSourceByName(Device);
    if (result == TWRC_SUCCESS) result = Acquire.OpenSource();
    if (result == TWRC_SUCCESS) result = Acquire.AcquireNative(Dib);
    return result;
}

int Scan(const QStringList& Args) {
    if (Args.size() != 1 && !(Args.size() == 3 && Args[1] == QLatin1String("--device"))) return kUsage;
    TAcquireImage acquire;
    acquire.SHOWhideUI = false;
    acquire.OnTwainError = [](TObject*, int State, int Error) {
        std::fprintf(stderr, "scan: state %d, error %d\n", State, Error);
    };
    if (!acquire.LoadSourceManager()) {
        std::fprintf(stderr, "scan: cannot load %s\n", qPrintable(acquire.LibraryFileName));
        return 1;
    }
    HGLOBAL dib = nullptr;
    const TW_UINT16 result = Acquire(acquire, Args.value(2), dib);
    acquire.CloseSource();
    acquire.UnloadSourceManager();
    if (result != TWRC_SUCCESS) {
        std::fprintf(stderr, "scan: no picture (result %u)\n", unsigned(result));
        return 1;
    }
    TPxDIB picture;
    try {
        picture.LoadFromClipboardFormat(CF_DIB, dib, nullptr);
    } catch (...) {
        GlobalFree(dib);
        throw;
    }
    GlobalFree(dib);
    picture.SaveToFile(Args[0]);
    std::printf("%d %d %d\n", picture.Width(), picture.Height(), picture.GetBitCount());
    return 0;
}

const RegisterProbeCommand kScan({"scan", "OUT.bmp [--device NAME]", Scan});

}  // namespace
}  // namespace tam32::probe
