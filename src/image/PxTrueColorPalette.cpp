#include <cstring>

#include "image/PxInternalDIB.h"
#include "image/PxReduce.h"

namespace tam32 {

void TPxInternalDIB::CreateTrueColorPalette(TPxConvertMode ConvertMode, TPxProgressCallback Callback,
                                            void* Data) {
    if (Infos.Header.biBitCount != 24)
        throw EPxDIBBadDIBType(QStringLiteral("TPxInternalDIB.CreateTrueColorPalette: Bad DIB Type"));
    RGBQUAD colors[256]{};
    int count = 0;
    if (ConvertMode == pxCmHigh) {
        TPxDecisionTree tree;
        MakePaletteHigh(Infos, count, colors, Callback, Data, 8, tree);
    } else {
        std::vector<uint8_t> table;
        MakePaletteLow(Infos, count, colors, Callback, Data, 8, table);
    }
    std::memcpy(Infos.Colors, colors, sizeof colors);
    Infos.Header.biClrUsed = static_cast<uint32_t>(count);
    PaletteChanged();
}

}  // namespace tam32
