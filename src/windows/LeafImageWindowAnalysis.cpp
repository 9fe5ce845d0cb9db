// The analysis commands of an image window: gap fraction and LAI, the PAR
// estimate and the sun tracks.

#include "analysis/EngineHost.h"
#include "analysis/GapFraction.h"
#include "analysis/GlobalSettings.h"
#include "analysis/LAIReports.h"
#include "analysis/Messages.h"
#include "analysis/PAREstimate.h"
#include "analysis/SettingsCheck.h"
#include "analysis/SunTrack.h"
#include "platform/Canvas.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"
#include "windows/MenuItemState.h"
#include "windows/OKBottomDlg.h"

namespace tam32 {
namespace {

constexpr int kCompareMethod = 6;
constexpr int kFixedMethod = 2;
constexpr int kClassificationTarget = 3;
constexpr int kColourSearchTarget = 4;

bool IsFixed(int Method) { return ThresholdMethodNames.at(static_cast<size_t>(Method)) == QLatin1String("Fixed"); }

const QString kBatchHeader = QStringLiteral("FILE,Canopy_Cover,Sky_Factor,DIFphoto,LAI_2000,LAI_NC,V/H,MLA");

}  // namespace

bool TLeafImageWindow::AnalysisPrologue(bool North) {
    if (BinarizeTarget == kClassificationTarget && !ClassifyDone) {
        ShowErrorMessage(QStringLiteral("ERR6"));
        return false;
    }
    if (BinarizeTarget == kColourSearchTarget) {
        if (!FColorSampled) {
            ShowErrorMessage(QStringLiteral("ERR6"));
            return false;
        }
        ColorSearchValue1 = FSampleColor1;
        ColorSearchValue2 = FSampleColor2;
        ColorSearchValue3 = FSampleColor3;
    }
    FPicture->Canvas().Pen.Mode = TPenMode::pmCopy;
    StoreCircleArea();
    if (North) NorthForAnalysis = FNorthAngle;
    return true;
}

TRect TLeafImageWindow::TagRect() const {
    return {FTagArea.left(), FTagArea.top(), FTagArea.right(), FTagArea.bottom()};
}

void TLeafImageWindow::AfterAnalysisPainted() {
    ForgetMarks();
    if (FCircleSet) DrawCircleArea();
    Image1->update();
}

void TLeafImageWindow::DoLAIEstimate() {
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return;
    }
    if (!AnalysisPrologue(true)) return;
    // The report's settings are checked before the analysis runs.
    if (CheckLAIReportSettings()) return;
    if (ThresholdMethod == kCompareMethod) {
        // Every method in turn, and the fixed one at every threshold.
        EngineHost().AppendResultLine(QStringLiteral("File,Source,Threshold,Cover,SkyFactor,LAI2000,LAI(NC),V/H,MLA"));
        for (int method = 0; method < kCompareMethod; ++method) {
            ThresholdMethod = method;
            if (!IsFixed(method)) {
                if (!BatchGapFraction(FWorkFileName)) break;
                continue;
            }
            for (int threshold = 0; threshold <= 255; ++threshold) {
                FixedThreshold = threshold;
                if (!BatchGapFraction(FWorkFileName)) break;
            }
        }
        ThresholdMethod = kCompareMethod;
    } else {
        if (GapFractionAnalysis(FWorkFileName, *FPicture, TagRect())) {
            ShowErrorMessage(QStringLiteral("ERR7"));
            return;
        }
        ShowInstructionMessage(QStringLiteral("MSG2"));
        ShowLAIResults(FWorkFileName);
        AfterAnalysisPainted();
    }
    FAnalysed = true;
    SetEnabled(FFrame.MenuItem("DoLAIEstimateAll"), true);
}

bool TLeafImageWindow::BatchGapFraction(const QString& File) {
    if (GapFractionAnalysis(File, *FPicture, TagRect())) {
        ShowErrorMessage(QStringLiteral("ERR7"));
        return false;
    }
    ShowInstructionMessage(QStringLiteral("MSG2"));
    FAnalysed = true;
    AfterAnalysisPainted();
    AddBatchResultLine(File);
    return true;
}

void TLeafImageWindow::DoLAIEstimateAll(const QStringList& Files) {
    if (!AnalysisPrologue(true)) return;
    // One fixed threshold cannot suit a set of photographs.
    if (ThresholdMethod == kFixedMethod) {
        ShowErrorMessage(QStringLiteral("ERR8"));
        return;
    }
    EngineHost().AppendResultLine(kBatchHeader);
    for (const QString& file : Files) {
        if (ThresholdMethod != kCompareMethod) {
            if (!BatchGapFraction(file)) return;
            continue;
        }
        for (int method = 0; method < kCompareMethod; ++method) {
            if (IsFixed(method)) continue;
            ThresholdMethod = method;
            // A failure ends the batch with the failing method in force.
            if (!BatchGapFraction(file)) return;
        }
        ThresholdMethod = kCompareMethod;
    }
}

void TLeafImageWindow::DoPAREstimate() {
    if (!FNorthSet) {
        ShowErrorMessage(QStringLiteral("ERR11"));
        return;
    }
    if (!AnalysisPrologue(true)) return;
    if (PAREstimate(FWorkFileName, *FPicture, TagRect())) {
        ShowErrorMessage(QStringLiteral("ERR7"));
        return;
    }
    ShowInstructionMessage(QStringLiteral("MSG2"));
    FAnalysed = true;
    AfterAnalysisPainted();
}

void TLeafImageWindow::RunPAREstimate(int Period) {
    PARPeriod = Period;
    DoPAREstimate();
}

void TLeafImageWindow::DoPARThisDay() { RunPAREstimate(0); }
void TLeafImageWindow::DoPARMonth() { RunPAREstimate(1); }
void TLeafImageWindow::DoPARMonthMean() { RunPAREstimate(2); }
void TLeafImageWindow::DoPARMonthYear() { RunPAREstimate(3); }
void TLeafImageWindow::DoPARMonthYearMean() { RunPAREstimate(4); }

void TLeafImageWindow::DoPARSetTimes() {
    TOKBottomDlg dialog(this);
    dialog.Mode = TOKBottomDlg::mdPARPeriod;
    dialog.exec();
    if (PARPeriod == 5) DoPAREstimate();
}

void TLeafImageWindow::DoPARPeriod() {
    TOKBottomDlg dialog(this);
    dialog.Mode = TOKBottomDlg::mdPARPeriod;
    dialog.DateRange = true;
    dialog.exec();
    if (PARPeriod == 6) DoPAREstimate();
}

void TLeafImageWindow::RunSunTrack(int Period) {
    if (!FNorthSet) {
        ShowErrorMessage(QStringLiteral("ERR11"));
        return;
    }
    PARPeriod = Period;
    DrawSunTrack();
}

void TLeafImageWindow::DrawDaySunTrack() { RunSunTrack(0); }
void TLeafImageWindow::DrawMonthSunTrack() { RunSunTrack(1); }
void TLeafImageWindow::DrawYearSunTrack() { RunSunTrack(3); }

void TLeafImageWindow::DrawSunTrack() {
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        return;
    }
    StoreCircleArea();
    NorthForAnalysis = FNorthAngle;
    FPicture->Canvas().Pen.Mode = TPenMode::pmCopy;
    const bool refused = DrawSunTrackOnImage(*FPicture);
    Image1->update();
    if (!refused) ShowInstructionMessage(QStringLiteral("MSG4"));
}

}  // namespace tam32
