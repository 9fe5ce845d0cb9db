#pragma once
// Progress reports to the host, about once per percent, with its answer
// whether to go on.
#include <cstdint>

#include "platform/SpiAbi.h"

namespace tam32::spi {

class SpiProgress {
public:
    SpiProgress(SpiProgressCallback Callback, intptr_t Data, int64_t Total)
        : FCallback(Callback), FData(Data), FTotal(Total > 0 ? Total : 1) {}

    // False when the host asks the plug-in to stop.
    bool Report(int64_t Done) {
        if (FCallback == nullptr) return true;
        const int64_t percent = Done * 100 / FTotal;
        if (percent == FLastPercent && Done != FTotal) return true;
        FLastPercent = percent;
        return FCallback(static_cast<int32_t>(Done * 1000 / FTotal), 1000, FData) == 0;
    }

private:
    SpiProgressCallback FCallback;
    intptr_t FData;
    int64_t FTotal;
    int64_t FLastPercent = -1;
};

}  // namespace tam32::spi
