// The analysis commands of an image window: what each needs, the rows it
// reports, and the picture it leaves.
#include <gtest/gtest.h>

#include <QDialog>
#include <QImage>
#include <QTemporaryDir>
#include <QTimer>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/RecordingEngineHost.h"
#include "common/widget_app_env.h"
#include "windows/image_window_fixture.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

using test::StatusOf;

// A sky disc of radius 24 on black: bright sky and dark branches, each
// with a spread of levels as in a photograph, so every threshold method
// finds its threshold.
QImage Hemisphere() {
    QImage image(64, 64, QImage::Format_RGB888);
    image.fill(Qt::black);
    unsigned noise = 12345;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            noise = noise * 1103515245u + 12345u;
            const int spread = static_cast<int>((noise >> 16) % 60);
            const int dx = x - 32, dy = y - 32;
            if (dx * dx + dy * dy >= 24 * 24) continue;
            const int level = (x / 4 + y / 6) % 3 == 0 ? 20 + spread : 190 + spread;
            image.setPixelColor(x, y, QColor(level, level, level));
        }
    return image;
}

class AnalysisCommandsTest : public test::ImageWindowTest {
protected:
    void SetUp() override {
        ImageWindowTest::SetUp();
        OpenWindow(Hemisphere(), QStringLiteral("sky.bmp"));
    }
    void SetCircle() {
        Window->FCircleX = 32;
        Window->FCircleY = 32;
        Window->FCircleSet = true;
        Window->SetCircleDiameter(48);
    }
};

TEST_F(AnalysisCommandsTest, LAINeedsTheCircleThenReportsAndRedrawsIt) {
    Window->DoLAIEstimate();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR10"));
    EXPECT_TRUE(Host.ResultLines.empty());

    SetCircle();
    Window->DoLAIEstimate();
    EXPECT_FALSE(Host.ResultLines.empty());
    EXPECT_TRUE(Window->FAnalysed);
    EXPECT_TRUE(Frame.Enabled("DoLAIEstimateAll"));
    // The gap image with the circle over it: erasing the circle leaves only
    // black and white.
    Window->DrawCircleArea();
    const QImage& gap = Window->Picture().Image();
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const QColor c = gap.pixelColor(x, y);
            ASSERT_TRUE(c == QColor(Qt::black) || c == QColor(Qt::white)) << x << "," << y;
        }
}

TEST_F(AnalysisCommandsTest, CompareRunsEveryMethodAndEveryFixedThreshold) {
    SetCircle();
    ThresholdMethod = 6;
    Window->DoLAIEstimate();
    ASSERT_EQ(Host.ResultLines.size(), 1u + 5u + 256u);
    EXPECT_EQ(Host.ResultLines[0], QStringLiteral("File,Source,Threshold,Cover,SkyFactor,LAI2000,LAI(NC),V/H,MLA"));
    EXPECT_EQ(ThresholdMethod, 6);
    EXPECT_EQ(FixedThreshold, 255);
}

TEST_F(AnalysisCommandsTest, BatchRefusesTheFixedMethodAndComparesPerFile) {
    SetCircle();
    ThresholdMethod = 2;
    Window->DoLAIEstimateAll({File, File});
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR8"));

    ThresholdMethod = 6;
    Window->DoLAIEstimateAll({File, File});
    ASSERT_EQ(Host.ResultLines.size(), 1u + 2u * 5u);
    EXPECT_EQ(Host.ResultLines[0], QStringLiteral("FILE,Canopy_Cover,Sky_Factor,DIFphoto,LAI_2000,LAI_NC,V/H,MLA"));
    EXPECT_EQ(ThresholdMethod, 6);

    // A file that cannot be read ends the batch.
    Host.ResultLines.clear();
    ThresholdMethod = 0;
    Window->DoLAIEstimateAll({Folder.filePath(QStringLiteral("missing.bmp")), File});
    EXPECT_EQ(Host.ResultLines.size(), 1u);
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR7"));
}

TEST_F(AnalysisCommandsTest, ClassesAndColoursNeedTheirChoiceFirst) {
    SetCircle();
    for (int target : {3, 4}) {
        BinarizeTarget = target;
        Window->DoLAIEstimate();
        EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR6"));
    }
    EXPECT_TRUE(Host.ResultLines.empty());
}

TEST_F(AnalysisCommandsTest, PARNeedsNorthAndReportsThePeriod) {
    SetCircle();
    Window->DoPARThisDay();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR11"));
    EXPECT_TRUE(Host.Charts.empty());

    Window->FNorthSet = true;
    Window->DoPARThisDay();
    EXPECT_EQ(PARPeriod, 0);
    EXPECT_EQ(Host.Charts.size(), 1u);
    EXPECT_FALSE(Host.ResultLines.empty());
    EXPECT_TRUE(Window->FAnalysed);
}

TEST_F(AnalysisCommandsTest, ACancelledTimeDialogRunsNoEstimate) {
    SetCircle();
    Window->FNorthSet = true;
    QTimer::singleShot(0, [] {
        if (QWidget* dialog = QApplication::activeModalWidget()) qobject_cast<QDialog*>(dialog)->reject();
    });
    Window->DoPARSetTimes();
    EXPECT_NE(PARPeriod, 5);
    EXPECT_TRUE(Host.Charts.empty());
}

TEST_F(AnalysisCommandsTest, SunTracksNeedNorthAndDrawIntoThePicture) {
    SetCircle();
    Window->DrawYearSunTrack();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR11"));
    const QImage before = Window->Picture().Image().copy();
    Window->FNorthSet = true;
    Window->DrawDaySunTrack();
    EXPECT_EQ(PARPeriod, 0);
    EXPECT_NE(Window->Picture().Image(), before);
    EXPECT_EQ(Host.LastStatus(), GetDialogMessage(QStringLiteral("DMS115")));
}

}  // namespace
}  // namespace tam32
