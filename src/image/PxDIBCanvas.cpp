#include "image/PxDIBCanvas.h"

#include "image/PxDIB.h"
#include "image/PxDIBImage.h"
#include "platform/PictureImage.h"

namespace tam32 {

TPxDIBCanvas::TPxDIBCanvas(TPxDIB* ADIB) : FDIB(ADIB) {
    if (ADIB == nullptr || !ADIB->GetUseFileMapping())
        throw EPxDIBCanvasFailed(QStringLiteral("TPxDIBCanvas.Create: Cannot Create Canvas"));
    ADIB->MakeUnique();
    const TPxDIBInfos& infos = ADIB->FDIB->Infos;
    const BITMAPINFOHEADER& h = infos.Header;
    if (h.biCompression != BI_RGB)
        throw EOutOfResources(QStringLiteral("TPxDIBCanvas.Create: Cannot Create Memory DC"));
    const int width = h.biWidth;
    const int height = ADIB->Height();
    FUnpacked = h.biBitCount == 4;
    if (FUnpacked) {
        FImage = NewPictureImage(width, height, QImage::Format_Indexed8);
        SetTarget(&FImage);
    } else {
        const QImage::Format format = h.biBitCount == 24  ? QImage::Format_BGR888
                                      : h.biBitCount == 8 ? QImage::Format_Indexed8
                                                          : QImage::Format_Mono;
        FImage = QImage(infos.Bits, width, height, qsizetype(DIBRowSize(h.biBitCount, width)), format);
        SetTarget(&FImage, h.biHeight > 0);
    }
    UpdateTarget();
    ++ADIB->FCanvasCount;
}

TPxDIBCanvas::~TPxDIBCanvas() {
    SetTarget(nullptr);
    --FDIB->FCanvasCount;
    FDIB->UpdatePaletteModified();
    FDIB->Changed();
}

void TPxDIBCanvas::UpdateTarget() const {
    const TPxDIBInfos& infos = FDIB->FDIB->Infos;
    const int bits = infos.Header.biBitCount;
    // Drawing in a palette picture takes the nearest of the image's own colours.
    if (bits != 24) FImage.setColorTable(PxDIBColorTable(infos, GetNumColors(bits)));
    if (FUnpacked) UnpackNibbles();
}

void TPxDIBCanvas::Changed() {
    if (FUnpacked) PackNibbles();
    TCanvas::Changed();
}

void TPxDIBCanvas::UnpackNibbles() const {
    for (int y = 0; y < FImage.height(); ++y)
        UnpackNibbleRow(FDIB->RowAddress(y), FImage.scanLine(y), FImage.width());
}

void TPxDIBCanvas::PackNibbles() {
    for (int y = 0; y < FImage.height(); ++y)
        PackNibbleRow(FImage.constScanLine(y), FDIB->RowAddress(y), FImage.width());
}

}  // namespace tam32
