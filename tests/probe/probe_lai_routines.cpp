// The leaf area index reports as routines of "tam32-probe run", to follow a
// gap fraction analysis: GapFractionAnalysis+ShowLAIResults prints the full
// report, GapFractionAnalysis+AddBatchResultLine the batch row.
#include "ProbeRun.h"
#include "analysis/canopy/LAIReports.h"

namespace tam32::probe {
namespace {

const RegisterProbeRoutine kShowLAIResults("ShowLAIResults", [](const QString& File, TBitmap&, const TRect&) {
    return ShowLAIResults(File);
});
const RegisterProbeRoutine kShowLAIPCA("ShowLAIPCA", [](const QString&, TBitmap&, const TRect&) {
    return ShowLAIPCA();
});
const RegisterProbeRoutine kShowLAINC("ShowLAINC", [](const QString&, TBitmap&, const TRect&) {
    return ShowLAINC();
});
const RegisterProbeRoutine kAddBatchResultLine("AddBatchResultLine", [](const QString& File, TBitmap&, const TRect&) {
    AddBatchResultLine(File);
    return false;
});

}  // namespace
}  // namespace tam32::probe
