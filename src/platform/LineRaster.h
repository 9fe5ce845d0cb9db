#pragma once
// The pixels of a one-pixel-wide line in the GDI manner: from the start point
// towards the end point, the end point itself left out, so that joined lines
// touch each vertex once. Each pixel is rounded to the nearest row (or column)
// of the exact line; the arithmetic is wide enough for any int coordinates,
// and only the steps that can fall inside the clip area are walked.
#include <algorithm>
#include <cstdint>

#include "platform/WinTypes.h"

namespace tam32 {

// Calls Visit(x, y, step) for each pixel inside Clip in drawing order; step
// counts pixels from the start point (for dash patterns). Returns the number
// of pixels of the whole line.
template <class Visitor>
int64_t ForEachLinePixel(TPoint From, TPoint To, const TRect& Clip, Visitor&& Visit) {
    const int64_t dx = int64_t(To.X) - From.X;
    const int64_t dy = int64_t(To.Y) - From.Y;
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    const int64_t dMajor = xMajor ? dx : dy;
    const int64_t dMinor = xMajor ? dy : dx;
    const int64_t steps = dMajor < 0 ? -dMajor : dMajor;
    if (steps == 0) return 0;
    const int64_t minorRun = dMinor < 0 ? -dMinor : dMinor;
    const int majorSign = dMajor < 0 ? -1 : 1;
    const int minorSign = dMinor < 0 ? -1 : 1;
    const int64_t major0 = xMajor ? From.X : From.Y;
    const int64_t minor0 = xMajor ? From.Y : From.X;
    const int64_t majorMin = xMajor ? Clip.Left : Clip.Top;
    const int64_t majorEnd = xMajor ? Clip.Right : Clip.Bottom;
    const int64_t minorMin = xMajor ? Clip.Top : Clip.Left;
    const int64_t minorEnd = xMajor ? Clip.Bottom : Clip.Right;

    // Steps whose major coordinate lies inside the clip area.
    int64_t first = majorSign > 0 ? majorMin - major0 : major0 - (majorEnd - 1);
    int64_t last = majorSign > 0 ? majorEnd - 1 - major0 : major0 - majorMin;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, steps - 1);
    if (first > last) return steps;
    // The minor offset of step i is (2 i minorRun + steps) div (2 steps): one
    // wide division for the first step, then a remainder carried from step to
    // step (minorRun <= steps, so it carries at most once).
    const int64_t denominator = 2 * steps, increment = 2 * minorRun;
    int64_t offset, remainder;
    if (first == 0) {
        // From the line's own first step: offset 0, no division.
        offset = 0;
        remainder = steps;
    } else if (first < (int64_t(1) << 30) && minorRun < (int64_t(1) << 31)) {
        // The usual short line: a plain division, much cheaper than the wide one.
        const int64_t start = 2 * first * minorRun + steps;
        offset = start / denominator;
        remainder = start % denominator;
    } else {
        const __int128 start = __int128(2) * first * minorRun + steps;
        offset = static_cast<int64_t>(start / denominator);
        remainder = static_cast<int64_t>(start % denominator);
    }
    for (int64_t i = first; i <= last; ++i) {
        if (i > first) {
            remainder += increment;
            if (remainder >= denominator) {
                remainder -= denominator;
                ++offset;
            }
        }
        const int64_t minor = minor0 + minorSign * offset;
        if (minor < minorMin || minor >= minorEnd) continue;
        const int64_t major = major0 + majorSign * i;
        if (xMajor)
            Visit(int(major), int(minor), i);
        else
            Visit(int(minor), int(major), i);
    }
    return steps;
}

}  // namespace tam32
