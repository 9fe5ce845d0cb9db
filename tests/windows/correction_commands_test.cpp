// The corrections of an image window: the tilt tool, the panorama, the
// distortion-corrected picture in place and the slope-corrected file.
#include <QFile>
#include <QImage>
#include <algorithm>

#include "analysis/core/Messages.h"
#include "windows/image_window_fixture.h"

namespace tam32 {
namespace {

using test::StatusOf;

// A sky of distinct colours, so that any turn or mark shows.
QImage Sky() {
    QImage image(120, 120, QImage::Format_RGB888);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 120; ++x) image.setPixelColor(x, y, QColor(x * 2, y * 2, (x * y) % 256));
    return image;
}

class CorrectionCommandsTest : public test::ImageWindowTest {
protected:
    void SetUp() override {
        ImageWindowTest::SetUp();
        LensType = 0;
        OpenWindow(Sky(), QStringLiteral("sky.bmp"));
    }
    // A circle of radius 50 about the middle.
    void SetCircle() {
        Window->FCircleX = 60;
        Window->FCircleY = 60;
        Window->FCircleSet = true;
        Window->SetCircleDiameter(100);
    }
    void Drag(TPoint From, TPoint To) {
        Window->Image1MouseDown(Qt::LeftButton, From.X, From.Y);
        Window->Image1MouseMove(To.X, To.Y);
        Window->Image1MouseUp(To.X, To.Y);
    }
    QImage Pixels() const { return Window->Picture().Image().copy(); }
};

TEST_F(CorrectionCommandsTest, TheTiltToolRefusesAClickALineLeavingTheCircleAndOptionsItCannotFollow) {
    SetCircle();
    Window->StartCorrectDistortion();
    EXPECT_EQ(Window->FMeasureTool, mtCorrectDistortion);
    EXPECT_TRUE(Frame.Checked("LineProfile1"));
    const QImage before = Pixels();
    const struct {
        TPoint From, To;
        const char* Why;
    } lines[] = {{{70, 40}, {70, 40}, "a click"}, {{70, 40}, {119, 0}, "an end beyond the circle"}};
    for (const auto& line : lines) {
        SCOPED_TRACE(line.Why);
        Drag(line.From, line.To);
        EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR30"));
        EXPECT_TRUE(Host.Messages.empty());
        // Only the rubber line is in the picture, and goes with the tool.
        Window->ResetTools();
        EXPECT_EQ(Pixels(), before);
        Window->StartCorrectDistortion();
    }
    // The refusal of the options says why, and nothing overwrites it.
    MaxViewAngle = 0.0;
    Host.StatusTexts.clear();
    Drag({70, 40}, {80, 50});
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR32"));
    EXPECT_EQ(std::count(Host.StatusTexts.begin(), Host.StatusTexts.end(), StatusOf(ShowErrorMessage, "ERR22")), 0);
    EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(CorrectionCommandsTest, ALineAlongAStemShowsTheTurnedPhotographWithItsCircle) {
    SetCircle();
    NorthForAnalysis = 45.0;
    Window->StartCorrectDistortion();
    const QImage before = Pixels();
    Drag({75, 45}, {90, 25});
    ASSERT_EQ(Host.Messages.size(), 1u);
    EXPECT_TRUE(Host.Messages[0].startsWith(QStringLiteral("tx:=")));
    EXPECT_EQ(NorthForAnalysis, 0.0);  // the estimate turns about the picture's own axes
    EXPECT_FALSE(Window->FLineShown);
    const QImage turned = Pixels();
    EXPECT_NE(turned, before);
    // The circle is in the turned picture, and erasing it takes away
    // exactly what was drawn (no stale rubber line).
    Window->DrawCircleArea();
    EXPECT_NE(Pixels(), turned);
    Window->DrawCircleArea();
    EXPECT_EQ(Pixels(), turned);
}

TEST_F(CorrectionCommandsTest, TheTiltToolWithoutACircleSaysSoAndLeavesThePicture) {
    Window->StartCorrectDistortion();
    const QImage before = Pixels();
    Drag({70, 40}, {80, 20});
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR10"));
    Window->ResetTools();
    EXPECT_EQ(Pixels(), before);
}

TEST_F(CorrectionCommandsTest, ThePanoramaNeedsACircleAndThenFillsTheWindowAtFullSize) {
    Window->DoBAMeasurement();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR10"));
    EXPECT_EQ(Window->Picture().Width(), 120);
    SetCircle();
    Window->EnhanceView();
    Window->DoBAMeasurement();
    // 2 pi x 50 + 0.5 to the nearest integer, plus one column.
    EXPECT_EQ(Window->Picture().Width(), 316);
    EXPECT_EQ(Window->Picture().Height(), 1257);
    EXPECT_EQ(Window->FScaleNum, 1);
    EXPECT_EQ(Window->FTagArea, QRect(0, 0, 316, 1257));
    EXPECT_EQ(Frame.SizeText, QStringLiteral("316×1257 pixels"));
    EXPECT_EQ(Window->FWorkFileName, File);
}

TEST_F(CorrectionCommandsTest, TheDistortionCorrectedPictureReplacesTheShownOneOnly) {
    const QImage before = Pixels();
    DistortParameter = 30;
    Window->ViewDistortionCorrectedImage();
    EXPECT_NE(Pixels(), before);
    EXPECT_EQ(Window->Picture().Width(), 120);
    EXPECT_EQ(Window->FFileName, File);
    EXPECT_EQ(Window->FWorkFileName, File);
}

TEST_F(CorrectionCommandsTest, TheSlopeCorrectedFileNeedsTheSlopeAndACircle) {
    const QString out = Folder.filePath(QStringLiteral("level.bmp"));
    EXPECT_FALSE(Window->ViewCorrectedHemiImage(out));
    SlopeCorrection = true;
    EXPECT_FALSE(Window->ViewCorrectedHemiImage(out));
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR10"));
    EXPECT_FALSE(QFile::exists(out));
    SetCircle();
    Window->FNorthAngle = 30.0;
    EXPECT_TRUE(Window->ViewCorrectedHemiImage(out));
    EXPECT_EQ(NorthForAnalysis, 30.0);
    EXPECT_EQ(QImage(out).size(), QSize(120, 120));
}

}  // namespace
}  // namespace tam32
