#pragma once
// The platform bitmap that image windows show: a picture of a declared pixel
// format held in a QImage, drawn on through its canvas and read and written
// row by row through scan lines.
//
// Pixel formats and their pictures: pf1bit Format_Mono; pf4bit and pf8bit
// Format_Indexed8 (a 4-bit bitmap keeps at most 16 table entries); pf15bit
// Format_RGB555; pf16bit Format_RGB16; pf24bit Format_BGR888 (blue, green,
// red bytes per pixel, as the analyses write them); pf32bit and pfDevice
// Format_RGB32. The canvas draws on every one of them in place, palette
// formats included (see Canvas.h).
#include <QImage>
#include <memory>

#include "platform/Canvas.h"
#include "platform/Graphic.h"
#include "platform/PictureFormats.h"

namespace tam32 {

enum class TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };

class TBitmap : public TGraphic {
public:
    TBitmap();
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    static const TGraphicClassInfo ClassInfo;
    const char* ClassName() const override { return "TBitmap"; }

    int Width() const override { return FWidth; }
    int Height() const override { return FHeight; }
    // The top-left content is kept; new pixels take the canvas's brush
    // colour. EInvalidGraphic "Invalid image size" for a negative size,
    // EOutOfResources "Out of system resources" when the memory cannot be had.
    void SetWidth(int Value) override { SetSize(Value, FHeight); }
    void SetHeight(int Value) override { SetSize(FWidth, Value); }
    void SetSize(int AWidth, int AHeight);
    bool Empty() const override { return FWidth == 0 || FHeight == 0; }

    TPixelFormat PixelFormat() const { return FPixelFormat; }
    // Converts the pixels; true colour goes to palette formats by the nearest entry.
    void SetPixelFormat(TPixelFormat Value);

    // Row Y from the top; EInvalidGraphicOperation "Scan line index out of range"
    // outside 0..Height-1.
    uint8_t* ScanLine(int Y);
    TCanvas& Canvas();
    // Null while the bitmap is empty.
    const QImage& Image() const { return FImage; }
    // Takes the picture and the pixel format that matches it (other formats
    // become pf32bit); a null picture empties the bitmap.
    void SetImage(const QImage& Image);

    void Draw(TCanvas& ACanvas, const TRect& Rect) override;

    // BMP files; EInvalidGraphic "Bitmap image is not valid" for a bad one,
    // leaving the bitmap unchanged. An empty bitmap writes nothing.
    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    // The bitmap format (CF_BITMAP) with a packed DIB block, which stands in
    // for the platform's bitmap handle; the palette is carried by the block.
    // EInvalidGraphic "Unsupported clipboard format" for another format or no data.
    void LoadFromClipboardFormat(uint16_t AFormat, HGLOBAL AData, HPALETTE APalette) override;
    // An empty bitmap gives no block.
    void SaveToClipboardFormat(uint16_t& AFormat, HGLOBAL& AData, HPALETTE& APalette) override;

    // Palette formats: their colour table. True colour: a palette kept for display only.
    HPALETTE GetPalette() override;
    void SetPalette(HPALETTE Value) override;

    // Another bitmap: a copy of its picture (writes to either do not show in
    // the other); nullptr: empty.
    void Assign(const TPersistent* Source) override;

private:
    // Installs a picture already in the format's QImage form.
    void Install(QImage Image, TPixelFormat Format);
    void LoadFromBmpBytes(const QByteArray& Bytes);
    QByteArray BmpBytes() const;

    int FWidth = 0;
    int FHeight = 0;
    TPixelFormat FPixelFormat = TPixelFormat::pfDevice;
    QImage FImage;
    HPALETTE FPalette;
    std::unique_ptr<TCanvas> FCanvas;
};

}  // namespace tam32
