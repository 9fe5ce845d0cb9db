#pragma once
// The picture of a pass's marked pixels: white where marked, black elsewhere.
#include <QImage>

namespace tam32 {

class TPixelBits;

// 24 bits, the size of Marked, painted on the analysis threads.
QImage MaskPicture(const TPixelBits& Marked);

}  // namespace tam32
