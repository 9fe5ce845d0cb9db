#pragma once
// The photosynthetically active radiation (PAR) that reaches the ground below
// a canopy photographed with a fisheye lens, and above it, for a period of
// PARPeriod: 0 the target day, 1 the target month, 2 its daily mean, 3 the
// target year, 4 its daily mean, 5 set times of the target day, 6 set dates
// of the target year. The gap fraction of the photograph weights the diffuse
// sky light; the sun's pixel, minute by minute, decides whether the direct
// beam comes through. The course goes to a chart, the totals and three site
// factors to the report, and the sun's path through the gaps onto the picture.
#include <QString>

#include "platform/WinTypes.h"

namespace tam32 {

class TBitmap;

// Runs the gap fraction analysis of FileName over Area (painting into Image
// when DrawResults is set) and estimates on its classification. True when
// that analysis failed (it showed its message), or, after "ERR22", when the
// site, radiation or lens settings make no sense; nothing is then charted or
// reported. The azimuth mask and the slope correction are off for the run
// and restored afterwards. With PARPeriod below 5 the hour bounds become
// 0:00 and 23:59; a 29 February that a common TargetYear lacks becomes the
// 28th in TargetDay (and in PARStartDay and PAREndDay for PARPeriod 6).
bool PAREstimate(const QString& FileName, TBitmap& Image, const TRect& Area);

}  // namespace tam32
