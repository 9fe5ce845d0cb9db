#pragma once
// Three small analyses of an image's colours, each run on the window's work
// file (loaded afresh and freed at the end); each returns True when it failed.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// Charts the red, green and blue values along the line from Start to End
// (image pixels), one sample per pixel width, the samples beyond the image
// left out. A line without length charts nothing and fails without a message.
bool ColorLineProfile(const QString& FileName, TPoint Start, TPoint End);

// Marks in pure red every pixel of the analysis area within Area whose
// colour lies within the tolerances of the pixel at (ColorSearchX,
// ColorSearchY), which becomes ColorSearchValue1..3; counts them in
// ColorSearchCount and shows the marked image as the window's picture.
bool SearchColors(const QString& FileName, TBitmap& Image, const TRect& Area);

// Sorts the pixels of the analysis area within Area into target and
// background by the current classification, paints them white and black
// (DrawResults), and reports each class's area in mm² and the mean and
// standard deviation of its red, green and blue values (SepColorSums,
// TargetPixelCount, NonTargetPixelCount, TargetRGBHistogram).
bool SepColorAnalysis(const QString& FileName, TBitmap& Image, const TRect& Area);

}  // namespace tam32
