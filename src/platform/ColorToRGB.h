#pragma once
#include "platform/WinTypes.h"

namespace tam32 {

// A plain $00BBGGRR colour: system colours (negative values, the system
// colour index in the low byte) resolve to the classic default scheme.
TColor ColorToRGB(TColor Color);

}  // namespace tam32
