#include "analysis/corrections/HemiImageCorrection.h"

#include <cmath>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/Resampling.h"
#include "analysis/corrections/CircleResampling.h"
#include "analysis/corrections/CorrectionSettingsCheck.h"
#include "analysis/geometry/LensProjection.h"

namespace tam32 {

bool CorrectHemiImageFile(const QString& SrcName, const QString& DstName) {
    if (!CircleSet || CheckCorrectionSettings()) return false;
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    const TAnalysisImageRelease Release;
    if (LoadAnalysisImage(SrcName)) return false;
    ShowInstructionMessage(QStringLiteral("MSG9"));
    TResultPicture Out(AnalysisImage->Width(), AnalysisImage->Height());
    // PixelPolar: the pixel's azimuth from north, and its zenith as the
    // geometry gives it (slope-corrected when that is on).
    const TTurnBack FromNorth(NorthForAnalysis);
    ResampleAnalysisArea(Out, TBilinearSampler(*AnalysisImage),
                         [&FromNorth](const TPixelSky& Pixel) {
                             return FromNorth(Pixel.CosAzimuth, Pixel.SinAzimuth, Pixel.Zenith);
                         });
    if (SaveCorrectedPicture(Out.Picture(), DstName)) return false;
    ShowInstructionMessage(QStringLiteral("MSG10"));
    return true;
}

}  // namespace tam32
