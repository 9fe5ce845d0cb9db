#pragma once
// The classified image: every pixel of the analysis area painted in the
// colour of its group under the active classifier, with the pixel count and
// the mean colour of each group in the classification table.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// Classifies and counts the pixels of FileName within Area (inclusive,
// clipped to the image) that lie in the analysis area, and paints those that
// Image (24 bits) has; other pixels keep what Image shows. True when it failed:
// "ERR3" without an active classifier, "ERR14" for an image that cannot be
// read. A group without pixels shows the means 0.00.
bool ViewClassifiedImage(const QString& FileName, TBitmap& Image, const TRect& Area);

}  // namespace tam32
