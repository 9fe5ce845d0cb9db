// The colour commands of an image window: the histogram of the box area and
// the colour statistics of target and background.
#include <QFileInfo>
#include <QLabel>

#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/EngineHost.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/AreaHistogram.h"
#include "windows/HistgramWindow.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {

void TLeafImageWindow::ViewHistgram() {
    const QRect& a = FTagArea;
    const QString area = GetDialogMessage(QStringLiteral("DMS23")) +
                         QStringLiteral("%1,%2)-(%3,%4)").arg(a.left()).arg(a.top()).arg(a.right()).arg(a.bottom());
    if (CalcAreaHistogram(FWorkFileName, TagRect())) {
        EngineHost().ShowMessage(QStringLiteral("Error"));
        return;
    }
    THistgramWindow window(this);
    window.ShowHistogram(FWorkFileName, FAnalysed);
    window.setWindowTitle(QFileInfo(FWorkFileName).fileName().toUpper() + QStringLiteral("(Histgram)"));
    window.Label1->setText(area);
    window.exec();
}

void TLeafImageWindow::DoSepColorAnalysis() {
    if (!AnalysisPrologue(false)) return;
    // The passing marks go first, so that none is left half painted over.
    const bool circleShown = FCircleShown;
    EraseTagRectangle();
    EraseCircleArea();
    if (SepColorAnalysis(FWorkFileName, *FPicture, TagRect())) {
        ShowErrorMessage(QStringLiteral("ERR7"));
        if (circleShown) DrawCircleArea();
        return;
    }
    ToggleTagRectangle();
    ShowInstructionMessage(QStringLiteral("MSG2"));
    FAnalysed = true;
    if (circleShown) DrawCircleArea();
    Image1->update();
}

}  // namespace tam32
