#pragma once
// The rows a plug-in tells the host as it finishes them (GetPictureRows), so
// that the host can work on them while the rest decodes. Nothing is told
// for GetPicture. Made after the DIB, it goes before it: when the DIB is
// freed without being handed over, the host hears of it first.
#include <cstdint>

#include "platform/SpiAbi.h"
#include "support/SpiDib.h"

namespace tam32::spi {

class SpiRows {
public:
    SpiRows(SpiRowsCallback Callback, intptr_t Data, const SpiDib& Dib) : FCallback(Callback), FData(Data), FDib(Dib) {}
    ~SpiRows() {
        if (FTold && !FHandedOver) FCallback(FDib.InfoHandle(), FDib.BitsHandle(), -1, FData);
    }
    SpiRows(const SpiRows&) = delete;
    SpiRows& operator=(const SpiRows&) = delete;

    // The first Rows rows from the top of the DIB are final.
    void Finished(int64_t Rows) {
        if (FCallback == nullptr) return;
        FTold = true;
        FCallback(FDib.InfoHandle(), FDib.BitsHandle(), static_cast<int32_t>(Rows), FData);
    }
    // The DIB is the host's now.
    void HandedOver() { FHandedOver = true; }

private:
    SpiRowsCallback FCallback;
    intptr_t FData;
    const SpiDib& FDib;
    bool FTold = false;
    bool FHandedOver = false;
};

}  // namespace tam32::spi
