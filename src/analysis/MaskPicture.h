#pragma once
// The picture of a pass's marked pixels: white where marked, black elsewhere.
#include <QImage>

#include "platform/WinTypes.h"

namespace tam32 {

class TPixelBits;

// 24 bits, the size of Marked, painted on the analysis threads. The pixels
// of Over, when given (of the same size), take OverColor instead: a line
// drawn over the picture in a copying pen, painted with it in one pass.
QImage MaskPicture(const TPixelBits& Marked, const TPixelBits* Over = nullptr, TColor OverColor = 0);

}  // namespace tam32
