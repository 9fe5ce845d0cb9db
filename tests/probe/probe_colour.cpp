// The colour analyses as routines of "tam32-probe run", with their results as
// variables, e.g.
//   run ColorLineProfile IMAGE --line 10,20,300,20
//   run SearchColors IMAGE --set ColorSearchX=700 --set ColorSearchY=1000 --print ColorSearchCount
//   run SepColorAnalysis IMAGE --area L,T,R,B --print SepColorSums --print TargetRGBHistogram

#include "ProbeRun.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "platform/Bitmap.h"

namespace tam32::probe {
namespace {

TAM32_PROBE_SCALAR(ColorSearchX);
TAM32_PROBE_SCALAR(ColorSearchY);
TAM32_PROBE_SCALAR(ColorSearchCount);
TAM32_PROBE_SCALAR(TargetPixelCount);
TAM32_PROBE_SCALAR(NonTargetPixelCount);
TAM32_PROBE_ROWS(SepColorSums);
TAM32_PROBE_ROWS(TargetRGBHistogram);

const RegisterProbeRoutine kColorLineProfile("ColorLineProfile", [](const QString& File, TBitmap&, const TRect&) {
    return ColorLineProfile(File, ProbeLine().Start, ProbeLine().End);
});

const RegisterProbeRoutine kSearchColors("SearchColors", SearchColors);

// The classes are painted into the window's picture: the image itself when
// no earlier routine showed one.
const RegisterProbeRoutine kSepColorAnalysis("SepColorAnalysis", [](const QString& File, TBitmap& Image, const TRect& Area) {
    return !ShowImageIfEmpty(Image, File) || SepColorAnalysis(File, Image, Area);
});

}  // namespace
}  // namespace tam32::probe
