// The labelling and skeleton length analyses as routines of "tam32-probe
// run", painting into the image itself, with their settings and results as
// variables, e.g.
//   run LabellAnalysis IMAGE --area L,T,R,B --set CalcTraceLengthRatio=1 --out LABELS.bmp
//   run LabellAnalysis IMAGE --set GapEstimateMode=1 --set GapObjectNo=2 --print GapObjectArea
//   run TopoAnalysis IMAGE --set ImageDPI=300 --out SKELETON.bmp
// A run with LabelTraceVectorize on prints "FILE: path" for the outline
// vector file it wrote.
#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/objects/Labelling.h"
#include "analysis/objects/OutlineVectorFile.h"
#include "analysis/objects/SkeletonLength.h"
#include "platform/Bitmap.h"

namespace tam32::probe {
namespace {

TAM32_PROBE_SCALAR(MaxLabelBuffSize);
TAM32_PROBE_SCALAR(MinLabelledArea);
TAM32_PROBE_SCALAR(MaxLabelledArea);
TAM32_PROBE_SCALAR(ShowLabelledNumber);
TAM32_PROBE_SCALAR(CalcTraceLengthRatio);
TAM32_PROBE_SCALAR(LabelTraceVectorize);
TAM32_PROBE_SCALAR(LabelTraceVectorFolder);
TAM32_PROBE_SCALAR(LabelingDuplicate);
TAM32_PROBE_SCALAR(LabelledObjectCount);
TAM32_PROBE_SCALAR(ForceWholeImage);
TAM32_PROBE_SCALAR(GapEstimateMode);
TAM32_PROBE_SCALAR(GapObjectNo);
TAM32_PROBE_SCALAR(GapObjectArea);
TAM32_PROBE_SCALAR(GapObjectOutlineArea);
TAM32_PROBE_SCALAR(LabelImageWidth);
TAM32_PROBE_SCALAR(LabelImageHeight);

const RegisterProbeRoutine kLabellAnalysis("LabellAnalysis", [](const QString& File, TBitmap& Image,
                                                                const TRect& Area) {
    if (!ShowImageIfEmpty(Image, File)) return true;
    const bool Failed = LabellAnalysis(File, Image, Area);
    if (!Failed && LabelTraceVectorize) PrintLine(QStringLiteral("FILE: ") + OutlineVectorFileName(AnalysisFileName));
    return Failed;
}, TWritesText::Yes);  // each object's number

const RegisterProbeRoutine kTopoAnalysis("TopoAnalysis", [](const QString& File, TBitmap& Image, const TRect& Area) {
    return !ShowImageIfEmpty(Image, File) || TopoAnalysis(File, Image, Area);
});

}  // namespace
}  // namespace tam32::probe
