// The inputs of the two-photograph gap estimate as names of "tam32-probe gui"
// (--set and print): the setting dialog opens filled from them, e.g.
//   menu SpeedButton19 with --set GapImageFile1=A.bmp --set GapCameraHeight1=1500 ...
#include "../ProbeRun.h"
#include "analysis/core/GlobalSettings.h"

namespace tam32::probe {
namespace {

TAM32_PROBE_SCALAR(GapImageFile1);
TAM32_PROBE_SCALAR(GapImageFile2);
TAM32_PROBE_SCALAR(GapCameraHeight1);
TAM32_PROBE_SCALAR(GapCameraHeight2);
TAM32_PROBE_SCALAR(GapBaseDistance);
TAM32_PROBE_SCALAR(GapFocalLength);
TAM32_PROBE_SCALAR(GapZoomPercent);
TAM32_PROBE_SCALAR(GapObjectNo1);
TAM32_PROBE_SCALAR(GapObjectNo2);

}  // namespace
}  // namespace tam32::probe
