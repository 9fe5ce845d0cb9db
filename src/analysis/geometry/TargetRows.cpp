#include "analysis/geometry/TargetRows.h"

#include <cmath>
#include <cstring>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/SettingsCheck.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/TargetPixels.h"

namespace tam32 {

bool OpenObjectAnalysisImage(const QString& FileName) {
    if (CheckLengthSettings()) return true;
    if (CircleSet) HorizonRadius2 = std::pow(CircleR + CircleCenterOffset, 2);
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    return false;
}

TTargetRows::TTargetRows(const TPictureRows& Picture, const TRect& Area)
    : FArea(Area), FPicture(Picture), FThreshold(FixedThreshold) {}

void TTargetRows::Fill(int Y, uint8_t* Flags) {
    if (FArea.Left > FArea.Right) return;
    std::memset(Flags + FArea.Left, 0, std::size_t(FArea.Right - FArea.Left + 1));
    const uint8_t* Row = FPicture.Row(Y);
    for (const TColumnSpan& Run : FRuns.Kept(Y, FArea)) {
        const uint8_t* P = Row + std::size_t(Run.First) * 3;
        for (int X = Run.First; X <= Run.Last; ++X, P += 3)
            Flags[X] = IsTargetBytesAt(false, P, 0.0, FThreshold) ? 1 : 0;
    }
}

}  // namespace tam32
