// The frame's two-photograph gap estimate: the setting dialog, both
// photographs opened and labelled in gap mode, and the result in the gap
// table of the results window.
#include <QFileInfo>

#include "analysis/core/AnalysisImage.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/objects/Labelling.h"
#include "app/MainForm.h"
#include "platform/DelphiFormat.h"
#include "platform/Rounding.h"
#include "windows/GroupSelection.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"
#include "windows/OKBottomDlg.h"
#include "windows/RadioGroup.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {
namespace {

// Compares as ">=" does; the labelling's gap mode asks for it.
constexpr int kGapCondition = 3;

// What the estimate changes for its labelling runs, put back on every exit:
// the shrinking, the condition raised from ">=", the gap mode and the mode flags.
class TGapSettingsGuard {
public:
    TGapSettingsGuard() : FShrink(ShrinkBeforeAnalysis) {}
    ~TGapSettingsGuard() {
        ShrinkBeforeAnalysis = FShrink;
        if (FConditionRaised && ThresholdCondition == kGapCondition) ThresholdCondition = 0;
        GapEstimateMode = false;
        ResetAnalysisModeFlags();
    }
    TGapSettingsGuard(const TGapSettingsGuard&) = delete;
    TGapSettingsGuard& operator=(const TGapSettingsGuard&) = delete;

    void EnterGapMode() {
        FConditionRaised = ThresholdCondition == 0;
        if (FConditionRaised) ThresholdCondition = kGapCondition;
        GapEstimateMode = true;
    }

private:
    bool FShrink;
    bool FConditionRaised = false;
};

// Object ObjectNo of Window's photograph measured by the labelling over the
// whole picture, which it paints; nullopt when the labelling failed.
std::optional<TGapPhotograph> MeasureObject(TLeafImageWindow& Window, int ObjectNo) {
    GapObjectNo = ObjectNo;
    const TRect whole{0, 0, Window.FPictureWidth - 1, Window.FPictureHeight - 1};
    const bool failed = LabellAnalysis(Window.FWorkFileName, Window.Picture(), whole);
    Window.Image1->update();
    if (failed) return std::nullopt;
    return TGapPhotograph{GapObjectArea, GapObjectOutlineArea, LabelImageWidth, LabelImageHeight};
}

QString DistanceText(const std::optional<TGapDistance>& Distance, float TGapDistance::*Value) {
    return Distance ? Format("%5.2f", {(*Distance).*Value}) : QStringLiteral("---");
}

}  // namespace

std::optional<TGapEstimate> TMainForm::EstimateGaps2D() {
    if (BinarizeTarget == kClassificationTarget) {
        if (!ClassifyDone) {
            ShowErrorMessage(QStringLiteral("ERR3"));
            return std::nullopt;
        }
        if (!ChooseTargetGroups(this)) return std::nullopt;
    }
    TGapSettingsGuard guard;
    // The dialog's shrink choice starts on shrinking.
    ShrinkBeforeAnalysis = true;
    TOKBottomDlg dialog(this);
    dialog.Mode = TOKBottomDlg::mdGapEstimate;
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    if (GapImageFile1.isEmpty() || GapImageFile2.isEmpty() || !(GapBaseDistance > 0.0f)) return std::nullopt;
    TLeafImageWindow* window1 = CreateMDIChild(GapImageFile1, false);
    GapImageWindow1 = window1;
    TLeafImageWindow* window2 = CreateMDIChild(GapImageFile2, false);
    GapImageWindow2 = window2;
    if (dialog.RadioGroup1->ItemIndex() == 1) {
        TTamOptionDialog options(this);
        options.Setup(GapImageFile1, 0, 0, 1, 1);
        options.exec();
    }
    ShrinkBeforeAnalysis = dialog.RadioGroup2->ItemIndex() == 0;
    guard.EnterGapMode();
    std::optional<TGapPhotograph> photo1 = MeasureObject(*window1, GapObjectNo1), photo2;
    if (photo1) photo2 = MeasureObject(*window2, GapObjectNo2);
    if (!photo2) {
        ShowErrorMessage(QStringLiteral("ERR5"));
        return std::nullopt;
    }
    return EstimateGap(*photo1, *photo2, GapBaseDistance, GapFocalLength * GapZoomPercent / 100.0f);
}

void TMainForm::DoGapEstimate2DClick() {
    const std::optional<TGapEstimate> estimate = EstimateGaps2D();
    if (!estimate) return;
    const auto cell = [](int Col, int Row, const QString& Text) {
        EngineHost().SetResultGridCell(TResultGrid::GapEstimate, Col, Row, Text);
    };
    const auto pixels = [](float Value) { return Format("%d", {RoundInt(Value)}); };
    cell(0, 1, QFileInfo(GapImageFile1).fileName());
    cell(0, 2, QFileInfo(GapImageFile2).fileName());
    cell(1, 1, pixels(estimate->Photo1.Area));
    cell(2, 1, pixels(estimate->Photo1.OutlineArea));
    cell(1, 2, pixels(estimate->Photo2.Area));
    cell(2, 2, pixels(estimate->Photo2.OutlineArea));
    cell(1, 3, DistanceText(estimate->ByArea, &TGapDistance::Distance));
    cell(2, 3, DistanceText(estimate->ByOutline, &TGapDistance::Distance));
    cell(1, 4, DistanceText(estimate->ByArea, &TGapDistance::RealArea));
    cell(2, 4, DistanceText(estimate->ByOutline, &TGapDistance::RealArea));
    EngineHost().ShowResultPage(TResultPage::GapEstimate);
}

}  // namespace tam32
