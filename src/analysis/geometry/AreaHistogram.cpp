#include "analysis/geometry/AreaHistogram.h"

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/OpenAnalysisImage.h"

namespace tam32 {

bool CalcAreaHistogram(const QString& FileName, const TRect& Area) {
    if (OpenAnalysisImage(FileName)) return true;  // after its message
    TAnalysisRun Run;
    if (BuildHistogram(0, Area)) {
        ShowErrorMessage(QStringLiteral("ERR15"));
        return true;
    }
    return false;
}

}  // namespace tam32
