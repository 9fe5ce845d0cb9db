#pragma once
// Lays the frames of one SANE scan out as a packed DIB, the native transfer's
// picture: 24-bit colour from an RGB frame or three single-colour frames,
// 8-bit grey with a grey colour table from a grey frame. Rows are bottom-up
// and padded to 4 bytes; 1- and 16-bit samples become 8-bit ones. The
// device's resolution goes into the header.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/sourcemanager/SaneDevice.h"

namespace tam32::sourcemanager {

struct DibPlan {
    int32_t Width = 0;
    int32_t Height = 0;  // whole rows present in every frame
    uint16_t BitCount = 0;
    uint64_t Stride = 0;
    uint64_t Size = 0;  // of the whole packed DIB
};

// False when the frames do not make one picture of a known layout, hold no
// whole row, or make one too large for a DIB.
bool PlanPackedDib(const std::vector<SaneFrame>& Frames, DibPlan& Plan);
// Out holds Plan.Size bytes.
void WritePackedDib(const std::vector<SaneFrame>& Frames, const DibPlan& Plan, double XDpi, double YDpi,
                    uint8_t* Out);

}  // namespace tam32::sourcemanager
