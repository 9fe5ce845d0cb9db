#pragma once
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

// RGBHistogram of the analysis area within Area (inclusive) for the histogram
// window; True on failure ("ERR14" unloadable, "ERR15" no pixel).
bool CalcAreaHistogram(const QString& FileName, const TRect& Area);

}  // namespace tam32
