// The two-photograph gap estimate from the frame: the setting dialog, both
// photographs opened and measured, the gap table, and the settings put back
// however it ends.
#include <QMessageBox>
#include <QPushButton>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/frame_fixture.h"
#include "app/modal_answerer.h"
#include "windows/OKBottomDlg.h"

namespace tam32::test {
namespace {

class GapEstimateFrameTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ThresholdMethod = 2;
        FixedThreshold = 128;
        GapCameraHeight1 = 1500;
        GapCameraHeight2 = 1200;
    }
    void TearDown() override {
        FrameTest::TearDown();
        ResetSettingsToDefaults();
    }
    // A black 640 x 480 photograph with one blue square of Side pixels.
    QString Square(const QString& Name, int Side) {
        QImage image(640, 480, QImage::Format_RGB888);
        image.fill(Qt::black);
        for (int y = 100; y < 100 + Side; ++y)
            for (int x = 150; x < 150 + Side; ++x) image.setPixelColor(x, y, QColor(0, 0, 255));
        const QString path = Files.filePath(Name);
        EXPECT_TRUE(image.save(path));
        return path;
    }
    // Runs the estimate from its tool button, the setting dialog answered
    // with OK or Cancel and any message box closed.
    void Estimate(const QString& First, const QString& Second, bool Ok = true) {
        GapImageFile1 = First;
        GapImageFile2 = Second;
        Host.GridCells.clear();
        Host.StatusTexts.clear();
        const TModalAnswerer answerer([this, Ok](QDialog& Dialog) {
            if (auto* setting = qobject_cast<TOKBottomDlg*>(&Dialog)) {
                ++SettingDialogs;
                (Ok ? setting->OKBtn : setting->CancelBtn)->click();
            } else if (auto* box = qobject_cast<QMessageBox*>(&Dialog)) {
                Boxes << box->text();
                box->accept();
            }
        });
        Frame->ToolButton("SpeedButton19")->trigger();
    }
    QString Cell(int Col, int Row) const {
        const auto cell = Host.GridCells.find({TResultGrid::GapEstimate, Col, Row});
        return cell == Host.GridCells.end() ? QString() : cell->second;
    }

    int SettingDialogs = 0;
    QStringList Boxes;
};

TEST_F(GapEstimateFrameTest, TwoSquaresGiveTheirShrunkAreasAndTheirDistance) {
    const QString large = Square(QStringLiteral("large.bmp"), 200), small = Square(QStringLiteral("small.bmp"), 100);
    Estimate(large, small);
    EXPECT_EQ(SettingDialogs, 1);
    EXPECT_EQ(Frame->ImageWindows().size(), 2);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("large.bmp"));
    EXPECT_EQ(Cell(0, 2), QStringLiteral("small.bmp"));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("38416"));  // 196 x 196: two pixels shrunk off each side
    EXPECT_EQ(Cell(1, 2), QStringLiteral("9216"));
    EXPECT_EQ(Cell(1, 3), QStringLiteral(" 0.29"));
    EXPECT_EQ(Host.Pages.back(), TResultPage::GapEstimate);
    EXPECT_FALSE(GapEstimateMode);
    EXPECT_FALSE(ShrinkBeforeAnalysis);
    EXPECT_EQ(ThresholdCondition, 0);

    const QString byArea = Cell(1, 3), byOutline = Cell(2, 3), area = Cell(1, 4);
    Estimate(small, large);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("9216"));
    EXPECT_EQ(Cell(1, 3), byArea);
    EXPECT_EQ(Cell(2, 3), byOutline);
    EXPECT_EQ(Cell(1, 4), area);
}

TEST_F(GapEstimateFrameTest, EqualSquaresHaveNoDistance) {
    Estimate(Square(QStringLiteral("a.bmp"), 120), Square(QStringLiteral("b.bmp"), 120));
    EXPECT_EQ(Cell(1, 1), Cell(1, 2));
    for (int col : {1, 2})
        for (int row : {3, 4}) EXPECT_EQ(Cell(col, row), QStringLiteral("---")) << col << "," << row;
}

TEST_F(GapEstimateFrameTest, AMissingObjectOrPhotographEndsItWithTheSettingsPutBack) {
    const QString large = Square(QStringLiteral("large.bmp"), 200), small = Square(QStringLiteral("small.bmp"), 100);
    GapObjectNo2 = 2;
    Estimate(large, small);
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR5"));
    EXPECT_TRUE(Host.GridCells.empty());
    EXPECT_FALSE(GapEstimateMode);
    EXPECT_FALSE(ShrinkBeforeAnalysis);
    EXPECT_EQ(ThresholdCondition, 0);

    GapObjectNo2 = 1;
    Estimate(large, Files.filePath(QStringLiteral("missing.bmp")));
    EXPECT_EQ(Boxes.size(), 1);  // the file's error
    EXPECT_TRUE(Host.GridCells.empty());
    EXPECT_FALSE(ShrinkBeforeAnalysis);
}

TEST_F(GapEstimateFrameTest, CancelRunsNothing) {
    Estimate(Square(QStringLiteral("large.bmp"), 200), Square(QStringLiteral("small.bmp"), 100), false);
    EXPECT_EQ(SettingDialogs, 1);
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    EXPECT_TRUE(Host.GridCells.empty());
    EXPECT_FALSE(ShrinkBeforeAnalysis);
}

}  // namespace
}  // namespace tam32::test
