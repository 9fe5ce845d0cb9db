#include "analysis/geometry/OpenAnalysisImage.h"

#include <cmath>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/Binarize.h"
#include "analysis/geometry/DistortionCorrection.h"

namespace tam32 {

bool OpenAnalysisImage(const QString& FileName) {
    SavedBinarizeTarget = BinarizeTarget;
    SavedThresholdCondition = ThresholdCondition;
    SavedThresholdMethod = ThresholdMethod;
    SavedFixedThreshold = FixedThreshold;
    SettingsOverridden = true;
    // Every failure from here on leaves the settings and the image as before the call.
    TAnalysisRun Run;
    if (DistortAuto && std::fabs(DistortParameter) > 0.1) {
        if (MakeDistortionCorrectedImage(FileName)) {
            ShowErrorMessage(QStringLiteral("ERR13"));
            return true;
        }
    } else if (LoadAnalysisImage(FileName)) {
        ShowErrorMessage(QStringLiteral("ERR14"));
        return true;
    }
    if (ShrinkBeforeAnalysis && BinarizeAnalysisImage()) return true;
    Run.Keep();
    return false;
}

}  // namespace tam32
