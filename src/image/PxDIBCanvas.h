#pragma once
// A canvas that draws straight into a bitmap graphic's pixels: 1-, 8- and
// 24-bit rows are drawn on in place, bottom-up ones through the canvas's
// row flip. 4-bit pixels, which Qt cannot address, are drawn on an unpacked
// copy that is brought up to date before and written back after every
// operation, so the graphic's readers and writers always meet the current
// pixels. While a canvas lives the graphic refuses to replace its store.
#include <QImage>

#include "platform/Canvas.h"

namespace tam32 {

class TPxDIB;

class TPxDIBCanvas : public TCanvas {
public:
    explicit TPxDIBCanvas(TPxDIB* ADIB);
    ~TPxDIBCanvas() override;
    const char* ClassName() const override { return "TPxDIBCanvas"; }

protected:
    void UpdateTarget() const override;
    void Changed() override;

private:
    void UnpackNibbles() const;
    void PackNibbles();

    TPxDIB* FDIB;
    // The image over the graphic's pixels, or the unpacked copy of 4-bit ones;
    // its colour table follows the graphic's.
    mutable QImage FImage;
    bool FUnpacked = false;
};

}  // namespace tam32
