#pragma once
// The system's own bitmap graphic: pixels in a shared TPxInternalDIB store,
// copied before any change (copy-on-write), addressed from the top row.
// While a TPxDIBCanvas draws on the pixels the store stays in place: the
// operations that would replace it raise EPxDIBError, and a graphic that
// assigns from this one gets a copy instead of a share.
#include <QImage>
#include <QString>
#include <cstdint>

#include "image/PxGraph.h"
#include "image/PxInternalDIB.h"
#include "platform/PictureFormats.h"

namespace tam32 {

// New stores keep their pixels in page mappings.
constexpr bool PxDIBUseFileMapping = true;

class TBitmap;

class TPxDIB : public TPxGraphic {
public:
    TPxDIB();
    ~TPxDIB() override;
    TPxDIB(const TPxDIB&) = delete;
    TPxDIB& operator=(const TPxDIB&) = delete;

    static const TGraphicClassInfo ClassInfo;
    const char* ClassName() const override { return "TPxDIB"; }

    void Assign(const TPersistent* Source) override;

    bool Empty() const override { return false; }
    int Width() const override { return FDIB->Width; }
    int Height() const override { return FDIB->Height; }
    void SetWidth(int Value) override;
    // A negative Value makes the new blank image top-down.
    void SetHeight(int Value) override;
    void SetBitCount(int Value);
    int GetBitCount() const { return FDIB->Infos.Header.biBitCount; }
    TPxPixelFormat GetPixelFormat() const { return FDIB->GetPixelFormat(); }
    void SetPixelFormat(TPxPixelFormat Value);
    bool GetUseFileMapping() const { return FDIB->UseFileMapping; }

    // The handle stays owned by the graphic or the shared display palettes.
    HPALETTE GetPalette() override;
    void SetPalette(HPALETTE Value) override;

    TColor GetPixels(int X, int Y) const;
    void SetPixels(int X, int Y, TColor Value);
    // Row Y counted from the top; copies a shared store first, even for reading.
    uint8_t* GetScanLine(int Y);
    // Row Y for reading only: a shared store stays shared. Checked as GetScanLine.
    const uint8_t* ReadScanLine(int Y) const;

    void CreateTrueColorPalette();
    void Draw(TCanvas& ACanvas, const TRect& Rect) override;

    void LoadFromStream(TStream& Stream) override;
    void SaveToStream(TStream& Stream) override;
    void LoadFromClipboardFormat(uint16_t AFormat, HGLOBAL AData, HPALETTE APalette) override;
    void SaveToClipboardFormat(uint16_t& AFormat, HGLOBAL& AData, HPALETTE& APalette) override;
    uint16_t ClipboardFormat() const override { return CF_DIB; }

    // The store, shared with other graphics (its RefCount counts them).
    const TPxInternalDIB& DIB() const { return *FDIB; }

    // Hands the pixel block of an uncompressed 24-bit picture over to a QImage
    // (Format_BGR888, rows from the top, the picture's resolution) without
    // copying it, and leaves the picture blank (1 x 1). With KeepPixels false
    // it is a new image of that size whose pixels are as they happen to be,
    // for a caller that paints every one. A null QImage,
    // the picture unchanged, when the store is shared or drawn on or of
    // another kind: the caller copies then.
    QImage ReleaseAsImage(bool KeepPixels);

    TPxConvertMode ConvertMode = pxCmLow;
    TColor MonoColor = clWhite;
    TPxPaletteMode PaletteMode = pxPmOwn;
    int ProgressCount = 0;
    int ProgressTotal = 0;
    QString ProgressMessage;

protected:
    void AssignTo(TPersistent* Dest) const override;
    void MakeUnique();
    void UpdatePaletteModified();
    // Replaces the shared store by a new one (loads, size changes, assignment).
    void InstallStore(TPxInternalDIB* NewStore);
    // The bitmap's pixels and colour table in a new store (16 and 32 bits taken as 24).
    void AssignFromBitmap(const TBitmap& Bitmap);
    // The bitmap gets this picture 1:1 in the matching pixel format.
    void AssignToBitmap(TBitmap& Bitmap) const;

private:
    friend class TPxDIBCanvas;
    void ReleaseDIB();
    void ShareStore(TPxInternalDIB* Store);
    // A new store with a copy of Source's image.
    static TPxInternalDIB* CopyStore(const TPxInternalDIB& Source);
    // Raises EPxDIBError "<Operation>: ..." while a canvas draws on the pixels.
    void RefuseWhileDrawnOn(const char* Operation) const;
    // A blank image in a new store, replacing the current one.
    void NewBlankImage(int AWidth, int AHeight, int ColorCount, int BitCount);
    uint8_t* RowAddress(int Y) const;
    void InitProgress(int Total, const QString& Message);
    void StartProgress();
    void EndProgress();
    static void DIBProgressCallback(void* Data);

    TPxInternalDIB* FDIB;
    int FCanvasCount = 0;  // canvases drawing on this graphic's pixels
};

// Registers TPxDIB as the class of ".dib" files and of the clipboard DIB
// format; undone by UnregisterPxDIB.
void RegisterPxDIB();
void UnregisterPxDIB();

}  // namespace tam32
