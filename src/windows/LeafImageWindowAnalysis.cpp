// The analysis commands of an image window: gap fraction and LAI, alone,
// compared over every threshold method and in batches, the PAR estimate and
// the sun tracks.
#include <QDir>
#include <QFileInfo>

#include "analysis/canopy/BatchSettingsFile.h"
#include "analysis/canopy/CanopySettingsCheck.h"
#include "analysis/canopy/FixedThresholdSeries.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/OptionFields.h"
#include "analysis/core/RunSeries.h"
#include "analysis/sun/PAREstimate.h"
#include "analysis/sun/SunTrack.h"
#include "platform/Canvas.h"
#include "platform/DelphiFormat.h"
#include "windows/GroupSelection.h"
#include "windows/ImageView.h"
#include "windows/ImageWindowFrame.h"
#include "windows/LeafImageWindow.h"
#include "windows/MenuItemState.h"
#include "windows/OKBottomDlg.h"

namespace tam32 {
namespace {

constexpr int kCompareMethod = 6;

}  // namespace

bool TLeafImageWindow::AnalysisPrologue(bool North) {
    if (BinarizeTarget == kClassificationTarget) {
        if (!ClassifyDone) {
            ShowErrorMessage(QStringLiteral("ERR6"));
            return false;
        }
        if (!ChooseTargetGroups(this)) return false;
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
        const TRunSeries series;
        for (int method = 0; method < kCompareMethod; ++method) {
            ThresholdMethod = method;
            if (method != kFixedMethodItem) {
                if (!BatchGapFraction(FWorkFileName)) break;
                continue;
            }
            CompareFixedThresholds();
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

void TLeafImageWindow::CompareFixedThresholds() {
    int threshold = 0;
    if (TFixedThresholdSeries::Applies()) {
        // All but the last threshold from one pass over the pixels.
        FixedThreshold = 0;
        TFixedThresholdSeries series;
        if (series.Count(FWorkFileName, TagRect())) {
            ShowErrorMessage(QStringLiteral("ERR7"));
            return;
        }
        for (; threshold < 255; ++threshold) {
            FixedThreshold = threshold;
            series.Publish(threshold);
            AddBatchResultLine(FWorkFileName);
        }
    }
    // The last one runs on its own: the picture and every result are then
    // those that the last run leaves.
    for (; threshold <= 255; ++threshold) {
        FixedThreshold = threshold;
        if (!BatchGapFraction(FWorkFileName)) break;
    }
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
    if (ThresholdMethod == kFixedMethodItem) {
        ShowErrorMessage(QStringLiteral("ERR8"));
        return;
    }
    if (CheckLAIReportSettings()) return;
    EngineHost().AppendResultLine(kBatchResultHeader);
    const TRunSeries series;
    for (const QString& file : Files) {
        if (ThresholdMethod != kCompareMethod) {
            if (!BatchGapFraction(file)) return;
            continue;
        }
        for (int method = 0; method < kCompareMethod; ++method) {
            if (method == kFixedMethodItem) continue;
            ThresholdMethod = method;
            // A failure ends the batch with the failing method in force.
            if (!BatchGapFraction(file)) return;
        }
        ThresholdMethod = kCompareMethod;
    }
}

void TLeafImageWindow::DoLAIEstimateUseSettingFile(const QString& FileName) {
    // A file that cannot be read fails before anything is written.
    const QStringList lines = ReadBatchSettingsFile(FileName);
    // The rows name the method in force.
    if (CheckLAIReportSettings()) return;
    // Every line is analysed in the window's circle.
    if (!FCircleSet) {
        ShowErrorMessage(QStringLiteral("ERR10"));
        EngineHost().AppendResultLine(GetErrorMessage(QStringLiteral("ERR10")));
        return;
    }
    // The circle line speaks of the circle that every line is analysed in.
    StoreCircleArea();
    EngineHost().AppendResultLine(Format("Cx=%d,Cy=%d,r=%d", {CircleX, CircleY, CircleR}));
    EngineHost().AppendResultLine(kBatchResultHeader);
    TSkippedBatchLines skipped;
    RunSettingsFileLines(lines, QFileInfo(FileName).absoluteDir(), skipped);
    skipped.Report();
}

void TLeafImageWindow::RunSettingsFileLines(const QStringList& Lines, const QDir& Folder, TSkippedBatchLines& Skipped) {
    const int savedTarget = BinarizeTarget, savedCondition = ThresholdCondition;
    const int savedMethod = ThresholdMethod, savedThreshold = FixedThreshold;
    const TRunSeries series;
    for (int number = 1; number <= Lines.size(); ++number) {
        const QString& text = Lines[number - 1];
        const QStringList fields = SplitBatchSettingsLine(text);
        if (fields.isEmpty()) continue;
        const std::optional<TBatchSettingsLine> line = ParseBatchSettingsLine(text);
        if (!line) {
            Skipped.Note(number, fields.first(), TBatchSkip::NotALine);
            continue;
        }
        const QString file = Folder.filePath(line->File);
        if (!QFileInfo(file).isFile()) {
            Skipped.Note(number, line->File, TBatchSkip::NoFile);
            continue;
        }
        // Under the fixed method, a line without thresholds of its own is passed over.
        if (line->Thresholds.empty() && ThresholdMethod == kFixedMethodItem) {
            Skipped.Note(number, line->File, TBatchSkip::FixedWithoutThresholds);
            continue;
        }
        if (const std::optional<QString> reason = AnalysisImageLoadFailure(file)) {
            Skipped.Note(number, line->File, TBatchSkip::NotLoaded, *reason);
            continue;
        }
        BinarizeTarget = line->Target;
        if (!line->Thresholds.empty()) ThresholdMethod = kFixedMethodItem;
        if (line->Thresholds.size() == 1) FixedThreshold = line->Thresholds[0];
        if (line->Thresholds.size() == 3)
            SetRGBThresholds(line->Thresholds[0] + 1, line->Thresholds[1] + 1, line->Thresholds[2] + 1);
        // A missing classifier or colour, or a cancelled choice of groups, ends the batch.
        if (!AnalysisPrologue(true) || !BatchGapFraction(file)) return;
        BinarizeTarget = savedTarget;
        ThresholdCondition = savedCondition;
        ThresholdMethod = savedMethod;
        FixedThreshold = savedThreshold;
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
    // A note of its own: the angle tool's MSG4 speaks of measuring angles.
    if (!refused) ShowStatusMessage(QStringLiteral("DIALOG_CODE_"), QStringLiteral("DMS115"));
}

}  // namespace tam32
