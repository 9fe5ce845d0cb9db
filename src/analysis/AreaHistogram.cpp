#include "analysis/AreaHistogram.h"

#include "analysis/AnalysisArea.h"
#include "analysis/AnalysisImage.h"
#include "analysis/Messages.h"
#include "analysis/OpenAnalysisImage.h"

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
