// The PAR estimate and the sun tracks as routines of "tam32-probe run", with
// the bounds of the set times and dates as variables, e.g.
//   run PAREstimate IMAGE --circle X,Y,R --north DEG --set PARPeriod=5 --set PARStartHour=6 ...
//   run DrawSunTrackOnImage IMAGE --circle X,Y,R --north DEG --out TRACK.bmp

#include "ProbeRun.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/sun/PAREstimate.h"
#include "analysis/sun/SunTrack.h"
#include "platform/Bitmap.h"

namespace tam32::probe {
namespace {

TAM32_PROBE_SCALAR(PARStartMonth);
TAM32_PROBE_SCALAR(PARStartDay);
TAM32_PROBE_SCALAR(PAREndMonth);
TAM32_PROBE_SCALAR(PAREndDay);
TAM32_PROBE_SCALAR(PARStartHour);
TAM32_PROBE_SCALAR(PARStartMinute);
TAM32_PROBE_SCALAR(PAREndHour);
TAM32_PROBE_SCALAR(PAREndMinute);

const RegisterProbeRoutine kPAREstimate("PAREstimate", PAREstimate);

// The tracks are drawn on the window's picture: the image itself when no
// earlier routine painted one.
const RegisterProbeRoutine kDrawSunTrackOnImage("DrawSunTrackOnImage", [](const QString& File, TBitmap& Image, const TRect&) {
    return !ShowImageIfEmpty(Image, File) || DrawSunTrackOnImage(Image);
});

}  // namespace
}  // namespace tam32::probe
