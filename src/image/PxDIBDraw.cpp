// Drawing a bitmap graphic onto a canvas, and exchanging pictures with the
// platform bitmap.
#include "image/PxDIB.h"
#include "image/PxDIBCanvas.h"
#include "image/PxDIBImage.h"
#include "image/PxMemory.h"
#include "platform/Bitmap.h"

namespace tam32 {

void TPxDIB::Draw(TCanvas& ACanvas, const TRect& Rect) {
    if (PaletteMode == pxPmOwn) {
        ACanvas.StretchDrawImage(Rect, PxDIBToQImage(FDIB->Infos));
        return;
    }
    if (PaletteMode != pxPmFixed && PaletteMode != pxPmMono) return;
    if (Rect.Width() == 0 || Rect.Height() == 0) return;
    // Stretch into a picture of the target size, diffuse the error of the
    // display palette over it, and draw that.
    TPxDIB temporary;
    temporary.SetBitCount(24);
    temporary.SetWidth(std::abs(Rect.Width()));
    temporary.SetHeight(std::abs(Rect.Height()));
    const TPxPaletteMode mode = PaletteMode;
    PaletteMode = pxPmOwn;
    try {
        TPxDIBCanvas canvas(&temporary);
        canvas.StretchDraw(tam32::Rect(0, 0, Rect.Width(), Rect.Height()), *this);
    } catch (...) {
        PaletteMode = mode;
        throw;
    }
    PaletteMode = mode;
    temporary.SetPixelFormat(mode == pxPmFixed ? pxPf8BitDither : pxPf1BitDither);
    temporary.Draw(ACanvas, Rect);
}

void TPxDIB::AssignFromBitmap(const TBitmap& Bitmap) {
    int bits = 24;
    switch (Bitmap.PixelFormat()) {
    case TPixelFormat::pf1bit: bits = 1; break;
    case TPixelFormat::pf4bit: bits = 4; break;
    case TPixelFormat::pf8bit: bits = 8; break;
    default: break;
    }
    auto store = std::make_unique<TPxInternalDIB>(FDIB->UseFileMapping);
    store->FreeDIB();
    TPxDIBInfos infos;
    TPxBitsGuard guard(infos, store->UseFileMapping);
    PxDIBFromQImage(Bitmap.Image(), bits, infos, store->UseFileMapping);
    store->Install(infos);
    guard.Release();
    InstallStore(store.release());
}

void TPxDIB::AssignToBitmap(TBitmap& Bitmap) const {
    QImage image = PxDIBToQImage(FDIB->Infos);
    if (GetBitCount() == 4) image.setColorTable(image.colorTable().mid(0, 16));
    Bitmap.SetImage(image);
    switch (GetPixelFormat()) {
    case pxPf1Bit: Bitmap.SetPixelFormat(TPixelFormat::pf1bit); break;
    case pxPf4Bit:
    case pxPf4BitRLE: Bitmap.SetPixelFormat(TPixelFormat::pf4bit); break;
    case pxPf8Bit:
    case pxPf8BitRLE: Bitmap.SetPixelFormat(TPixelFormat::pf8bit); break;
    default: Bitmap.SetPixelFormat(TPixelFormat::pf24bit); break;
    }
}

}  // namespace tam32
