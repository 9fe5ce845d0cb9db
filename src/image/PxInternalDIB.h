#pragma once
// The pixel store behind every bitmap graphic: one device-independent bitmap
// (header, colour table, pixel block), shared by reference count between
// graphics that copy it before any change.
#include <cstdint>

#include "image/PxDIBTypes.h"
#include "platform/MemoryHandle.h"
#include "platform/Palette.h"

namespace tam32 {

class TStream;

class TPxInternalDIB {
public:
    explicit TPxInternalDIB(bool UseFileMapping);  // a 1 x 1 8-bit image, 256 black colours
    ~TPxInternalDIB();
    TPxInternalDIB(const TPxInternalDIB&) = delete;
    TPxInternalDIB& operator=(const TPxInternalDIB&) = delete;

    // A zero-filled uncompressed image. Does not free the previous block:
    // callers call FreeDIB first.
    void CreateDIB(int Width, int Height, int ColorCount, int BitCount);
    void FreeDIB();

    // Replace the image by the BMP file at the stream's position; on failure
    // the store keeps its image.
    void LoadFromStream(TStream& Stream);
    void SaveToStream(TStream& Stream) const;
    // Replace the image by the packed DIB in the block.
    void LoadFromClipboardFormat(HGLOBAL Data);
    // A new packed DIB block of the image; the caller owns it.
    void SaveToClipboardFormat(HGLOBAL& Data) const;

    // A new palette from the colour table; nullptr when biClrUsed is 0.
    HPALETTE GetPalette() const;
    void PaletteChanged();
    TPxPixelFormat GetPixelFormat() const;
    // Gives a 24-bit image an optimal colour table; pixels unchanged.
    void CreateTrueColorPalette(TPxConvertMode ConvertMode, TPxProgressCallback Callback, void* Data);
    // Converts the store to Target, building the chain of conversions aside.
    void ConvertPixelFormat(TPxPixelFormat Target, TPxConvertMode ConvertMode,
                            TPxProgressCallback Callback, void* Data, TColor MonoColor);

    // Frees the current image and installs Infos (whose block the store takes over).
    void Install(const TPxDIBInfos& Infos);

    int32_t RefCount = 1;
    int32_t Width = 0;
    int32_t Height = 0;  // |biHeight|
    HPALETTE PaletteHandle;
    TPxDIBInfos Infos;
    bool PaletteChangedFlag = false;
    const bool UseFileMapping;
};

// A new palette of the record's biClrUsed colours; nullptr when there are none.
HPALETTE GetPaletteFromDIBInfos(const TPxDIBInfos& Infos);
// Turns a record holding a 12-byte core header and RGBTRIPLE entries into
// one with a 40-byte header and RGBQUAD entries.
void ConvertCoreHeader(TPxDIBInfos& Infos);

}  // namespace tam32
