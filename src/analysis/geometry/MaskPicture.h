#pragma once
// The picture of a pass's marked pixels: white where marked, black elsewhere.
#include <QImage>

#include "platform/WinTypes.h"

namespace tam32 {

class TPixelBits;

// 24 bits, the size of Marked, painted on the analysis threads. The pixels
// of Over, when given (of the same size), take OverColor instead: a line
// drawn over the picture in a copying pen, painted with it in one pass.
// Room, when not null, is a 24-bit picture of that size to paint every pixel
// of instead of a new one (a large block is then not taken afresh).
QImage MaskPicture(const TPixelBits& Marked, const TPixelBits* Over = nullptr, TColor OverColor = 0,
                   QImage Room = {});

}  // namespace tam32
