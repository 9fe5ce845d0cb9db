#pragma once
// A canvas that draws straight into a bitmap graphic's pixels. Top-down
// images are drawn on in place; bottom-up rows (which Qt cannot address)
// and 4-bit pixels are drawn on a top-down copy that is written back when
// the canvas goes.
#include <QImage>

#include "platform/Canvas.h"

namespace tam32 {

class TPxDIB;

class TPxDIBCanvas : public TCanvas {
public:
    explicit TPxDIBCanvas(TPxDIB* ADIB);
    ~TPxDIBCanvas() override;
    const char* ClassName() const override { return "TPxDIBCanvas"; }

private:
    void WriteBack();

    TPxDIB* FDIB;
    QImage FImage;
    bool FInPlace = false;
};

}  // namespace tam32
