// The object commands of an image window: the labelling of the objects in
// the box area and the skeleton length of its thin structures.

#include "analysis/core/Messages.h"
#include "analysis/objects/Labelling.h"
#include "analysis/objects/SkeletonLength.h"
#include "platform/Canvas.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {

bool TLeafImageWindow::ErasePassingMarks() {
    const bool circleShown = FCircleShown;
    EraseTagRectangle();
    EraseRubberLine();
    EraseCircleArea();
    return circleShown;
}

void TLeafImageWindow::DoLabellAnalysis() {
    if (!AnalysisPrologue(false)) return;
    const bool circleShown = ErasePassingMarks();
    // The box area's outline, with the pen the last drawing left.
    const TRect box = TagRect();
    const TPoint outline[] = {{box.Left, box.Top},
                              {box.Left, box.Bottom},
                              {box.Right, box.Bottom},
                              {box.Right, box.Top},
                              {box.Left, box.Top}};
    FPicture->Canvas().Polyline(outline);
    if (LabellAnalysis(FWorkFileName, *FPicture, box)) {
        ShowErrorMessage(QStringLiteral("ERR5"));
        if (circleShown) DrawCircleArea();
        Image1->update();
        return;
    }
    ShowInstructionMessage(QStringLiteral("MSG1"));
    FAnalysed = true;
    AfterAnalysisPainted();
}

void TLeafImageWindow::DoTopoAnalysis() {
    const bool circleShown = ErasePassingMarks();
    TopoAnalysis(FWorkFileName, *FPicture, TagRect());
    if (circleShown) DrawCircleArea();
    Image1->update();
}

}  // namespace tam32
