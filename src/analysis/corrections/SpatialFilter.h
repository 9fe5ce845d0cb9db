#pragma once
// The user's spatial filter: the kernel of the filter settings applied to
// every pixel of a photograph, the result written to a new 24-bit BMP file.
#include <QString>

namespace tam32 {

// Filters SrcName into DstName. Each channel of output pixel (x, y) is the
// sum of FilterKernel[i][j] times that channel of source pixel
// (x + i - h, y + j - h), h = FilterSize div 2 (a correlation: the kernel is
// not mirrored; positions beyond the picture add nothing and the divisor
// stays), divided by FilterDivisor, taken to the nearest integer (an exact
// half to the even one) and held to 0..255. True when nothing was written:
// no kernel defined; a divisor of 0 ("ERR22"); a source that does not load
// or a write that failed (after their messages).
bool FilterImageFile(const QString& SrcName, const QString& DstName);

}  // namespace tam32
