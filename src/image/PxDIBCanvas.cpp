#include "image/PxDIBCanvas.h"

#include <cstring>

#include "image/PxDIB.h"
#include "image/PxDIBImage.h"

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
    const qsizetype stride = qsizetype(DIBRowSize(h.biBitCount, width));
    if (h.biHeight < 0 && h.biBitCount != 4) {
        const QImage::Format format = h.biBitCount == 24  ? QImage::Format_BGR888
                                      : h.biBitCount == 8 ? QImage::Format_Indexed8
                                                          : QImage::Format_Mono;
        FImage = QImage(infos.Bits, width, height, stride, format);
        FInPlace = true;
    } else {
        FImage = PxDIBToQImage(infos);
    }
    // Drawing in a palette picture takes the nearest of the image's own colours.
    if (h.biBitCount != 24) FImage.setColorTable(PxDIBColorTable(infos, GetNumColors(h.biBitCount)));
    SetTarget(&FImage);
}

TPxDIBCanvas::~TPxDIBCanvas() {
    SetTarget(nullptr);
    if (!FInPlace) WriteBack();
    FDIB->UpdatePaletteModified();
    FDIB->Changed();
}

void TPxDIBCanvas::WriteBack() {
    TPxDIBInfos& infos = FDIB->FDIB->Infos;
    const BITMAPINFOHEADER& h = infos.Header;
    const int width = h.biWidth;
    const int height = FDIB->Height();
    const int64_t stride = DIBRowSize(h.biBitCount, width);
    for (int y = 0; y < height; ++y) {
        const uchar* in = FImage.constScanLine(y);
        uint8_t* out = infos.Bits + stride * (h.biHeight > 0 ? height - 1 - y : y);
        switch (h.biBitCount) {
        case 24: std::memcpy(out, in, size_t(width) * 3); break;
        case 8: std::memcpy(out, in, size_t(width)); break;
        case 1: std::memcpy(out, in, size_t(width + 7) / 8); break;
        case 4:
            for (int x = 0; x < width; x += 2)
                out[x / 2] = uint8_t((in[x] & 0x0F) << 4 | (x + 1 < width ? in[x + 1] & 0x0F : out[x / 2] & 0x0F));
            break;
        }
    }
}

}  // namespace tam32
