// The colour classification of an image window: the sample tool with the
// window's sample table, and the classified image of its box area.

#include "analysis/colour/ClassifiedImage.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"

namespace tam32 {
namespace {

// The sample rows that a table holds, and the groups that take samples.
constexpr int kTableEnd = 500;
constexpr int kGroupEnd = 20;

}  // namespace

TLookingTable* TLeafImageWindow::LookingTable() const { return FLookingTable; }

void TLeafImageWindow::StartGetPoints() {
    if (FLookingTable != nullptr && FLookingTable->isVisible()) {
        FLookingTable->ClearSamples();
    } else {
        if (FLookingTable != nullptr) FLookingTable->close();
        // The frame's window owns it: the table can outlive this window's tools.
        FLookingTable = new TLookingTable(window());
        FLookingTable->FFileName = FFileName;
        FLookingTable->show();
    }
    ResetTools();
    FPickTool = ptSamplePoint;
    FPickMode = true;
}

void TLeafImageWindow::TakeSamplePoint(TPoint P) {
    if (FLookingTable == nullptr || !FLookingTable->isVisible()) return;
    if (FLookingTable->FRowCount < kTableEnd && FLookingTable->FGroup < kGroupEnd) FLookingTable->AddSample(P.X, P.Y);
}

void TLeafImageWindow::ViewClassifiedImage() {
    if (!ClassifyDone) {
        ShowErrorMessage(QStringLiteral("ERR3"));
        return;
    }
    StoreCircleArea();
    DiscCoefficients = ClassCoefficients;
    const bool circleShown = ErasePassingMarks();
    const bool failed = tam32::ViewClassifiedImage(FWorkFileName, *FPicture, TagRect());
    if (failed) {
        ShowErrorMessage(QStringLiteral("ERR9"));
    } else {
        ShowInstructionMessage(QStringLiteral("MSG3"));
        SetViewScale(FScaleNum, FScaleDen);
    }
    if (circleShown) DrawCircleArea();
    Image1->update();
}

}  // namespace tam32
