#pragma once
// The plug-in picture: a graphic that owns one decoder, answers its size and
// palette from the decoded header, draws itself and writes itself as a BMP
// file image. The picture classes of the program turn it into their own
// through that image.
#include <QString>
#include <memory>

#include "import/BitmapFileView.h"
#include "import/SPIDecoder.h"
#include "platform/Graphic.h"
#include "platform/PictureFormats.h"

namespace tam32 {

class TSPIGraphic : public TGraphic {
public:
    static const TGraphicClassInfo ClassInfo;
    TSPIGraphic();
    ~TSPIGraphic() override;
    TSPIGraphic(const TSPIGraphic&) = delete;
    TSPIGraphic& operator=(const TSPIGraphic&) = delete;
    const char* ClassName() const override { return "TSPIGraphic"; }

    // biWidth and biHeight as stored: a top-down picture has a negative height.
    int Width() const override;
    int Height() const override;
    void SetWidth(int) override {}
    void SetHeight(int) override {}
    bool Empty() const override;
    HPALETTE GetPalette() override { return Palette(); }
    // The palette made from the colour table; nullptr when there is none.
    HPALETTE Palette() const;
    bool IsFourBit() const;

    void Draw(TCanvas& ACanvas, const TRect& Rect) override;

    // EPictureUnreadable (an EInvalidGraphic "Susie Plugins could not
    // decode") when no plug-in decodes the picture; the picture is then empty.
    void LoadFromFile(const QString& FileName) override;
    void LoadFromStream(TStream& Stream) override { LoadFromStreamWithName(Stream, QString()); }
    // The name chooses the plug-ins asked first; without one every
    // image-input plug-in is asked in load order.
    virtual void LoadFromStreamWithName(TStream& Stream, const QString& FileName);
    void SaveToStream(TStream& Stream) override;
    void LoadFromClipboardFormat(uint16_t, HGLOBAL, HPALETTE) override {}
    void SaveToClipboardFormat(uint16_t&, HGLOBAL&, HPALETTE&) override {}

    // The BMP file image over the decoded blocks, valid until the data goes.
    // With HandOverPixels a reader may take the pixel block itself (the
    // picture is then left without it), so only a load that frees the data
    // afterwards asks for it.
    std::unique_ptr<TBitmapFileView> BitmapFile(bool HandOverPixels = false) const;
    void FreeData();

    std::unique_ptr<TInSPIAbleData> Data;

private:
    struct DerivedInfo {
        int32_t Width = 0;
        int32_t Height = 0;
        HPALETTE Palette;
        int64_t InfoSize = 0;
        int64_t ImageSize = 0;
        int32_t ColorCount = 0;
        bool IsFourBit = false;
    };

    void LoadData();
    // Derives the picture's information on first use after a load.
    const DerivedInfo& UpdateInfo() const;

    mutable DerivedInfo FInfo;
    mutable bool FInfoValid = false;
};

}  // namespace tam32
