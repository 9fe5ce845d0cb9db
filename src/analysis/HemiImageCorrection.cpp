#include "analysis/HemiImageCorrection.h"

#include <cmath>

#include "analysis/AnalysisImage.h"
#include "analysis/AnalysisState.h"
#include "analysis/CircleResampling.h"
#include "analysis/CorrectionSettingsCheck.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LensProjection.h"
#include "analysis/Messages.h"
#include "analysis/Resampling.h"

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
