// The histogram window: its bars, its table, Copy, and picking a threshold.
#include <gtest/gtest.h>

#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <algorithm>

#include "analysis/RecordingEngineHost.h"
#include "analysis/colour/ColourAnalyses.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/OptionFields.h"
#include "analysis/geometry/AreaHistogram.h"
#include "common/user_click.h"
#include "common/widget_app_env.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"
#include "windows/HistgramWindow.h"
#include "windows/RadioGroup.h"

namespace tam32 {
namespace {

constexpr int kHeight = 180;

class HistgramWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
        // Row y holds red = green = blue = y: 256 pixels in every bin.
        QImage rows(256, 256, QImage::Format_RGB888);
        for (int y = 0; y < 256; ++y) std::fill_n(rows.scanLine(y), 256 * 3, uchar(y));
        File = Folder.filePath(QStringLiteral("rows.bmp"));
        ASSERT_TRUE(rows.save(File));
        ASSERT_FALSE(CalcAreaHistogram(File, {0, 0, 255, 255}));
        Window = std::make_unique<THistgramWindow>();
    }
    void TearDown() override {
        Window.reset();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
    }
    QColor Pixel(int X, int Y) const { return Window->Picture().Image().pixelColor(X, Y); }
    // The columns of the picture that hold a black pixel.
    std::vector<int> BlackColumns() const {
        std::vector<int> columns;
        for (int x = 0; x < 256; ++x)
            for (int y = 0; y < kHeight; ++y)
                if (Pixel(x, y) == QColor(Qt::black)) {
                    columns.push_back(x);
                    break;
                }
        return columns;
    }
    static std::vector<int> Range(int First, int Last) {
        std::vector<int> values;
        for (int v = First; v <= Last; ++v) values.push_back(v);
        return values;
    }
    void Type(const QString& Text) { Window->SpinEdit1->findChild<QLineEdit*>()->setText(Text); }

    QTemporaryDir Folder;
    QString File;
    test::TRecordingEngineHost Host;
    std::unique_ptr<THistgramWindow> Window;
};

TEST_F(HistgramWindowTest, CopyGivesTheHeaderAndTheCountsOfEveryBinInCrLfLines) {
    Window->ShowHistogram(File, false);
    Window->show();
    test::UserClick(Window->Button3);
    QStringList lines = Clipboard().AsText().split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.takeLast(), QString());
    ASSERT_EQ(lines.size(), 257);
    EXPECT_EQ(lines[0], QStringLiteral("\"Level\",\"Red(pixels)\",\"Green(pixels)\",\"Blue(pixels)\""));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(lines[i + 1], QStringLiteral("%1, 256, 256, 256").arg(i));
    EXPECT_FALSE(lines.join(QString()).contains(QLatin1Char('\n')));
}

TEST_F(HistgramWindowTest, TheTableHasAHeaderRowAndARowPerBinInColumnsAsWideAsTheLargestCount) {
    Window->ShowHistogram(File, false);
    const QTableWidget& grid = *Window->StringGrid1;
    ASSERT_EQ(grid.rowCount(), 257);
    EXPECT_EQ(grid.item(0, 0)->text(), QStringLiteral("Level"));
    EXPECT_EQ(grid.item(0, 1)->text(), QStringLiteral("All"));
    EXPECT_EQ(grid.item(0, 2)->text(), QStringLiteral("Target"));
    EXPECT_EQ(grid.item(256, 0)->text(), QStringLiteral("255"));
    EXPECT_EQ(grid.item(256, 1)->text(), QStringLiteral("256"));
    EXPECT_EQ(grid.item(256, 2), nullptr);
    EXPECT_EQ(grid.columnWidth(0), 21);

    struct TCase {
        double Largest;
        int Width;
        const char* Shown;  // the count in its column's digits
    };
    const TCase cases[] = {{256, 24, "256"}, {1234, 32, "1234"}, {999, 24, "999"}, {1000, 32, "1000"}, {0, 8, "0"}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Largest);
        RGBHistogram = {};
        RGBHistogram[2] = c.Largest;
        Window->FillStatistics(0);
        EXPECT_EQ(grid.columnWidth(1), c.Width);
        EXPECT_EQ(grid.columnWidth(2), c.Width);
        EXPECT_EQ(grid.item(3, 1)->text(), QLatin1String(c.Shown));
        EXPECT_EQ(grid.item(4, 1)->text().size(), c.Width / 8);
    }
}

TEST_F(HistgramWindowTest, TheChannelOfTheTargetIsChosenAndBlueForTheOtherTargets) {
    const int expected[] = {0, 1, 2, 2, 2, 2};
    for (int target = 0; target <= 5; ++target) {
        SCOPED_TRACE(target);
        BinarizeTarget = target;
        THistgramWindow window;
        window.ShowHistogram(File, false);
        EXPECT_EQ(window.RadioGroup1->ItemIndex(), expected[target]);
        EXPECT_EQ(window.RadioGroup1->title(), QStringLiteral("Colour"));
    }
}

TEST_F(HistgramWindowTest, BarsStandOnTheBottomRowInTheColoursOfTheirChannel) {
    RGBHistogram[256 + 7] = 128.0;  // green bin 7 half as high as the others
    BinarizeTarget = 1;
    Window->ShowHistogram(File, false);
    // Scale 179 / 256: a full bar 179 high covers rows 2..179, the half one 90 high rows 91..179.
    const QColor green(0, 128, 0);
    for (int y = 0; y < kHeight; ++y) {
        EXPECT_EQ(Pixel(6, y), y >= 2 ? green : QColor(Qt::white)) << y;
        EXPECT_EQ(Pixel(7, y), y >= 91 ? green : QColor(Qt::white)) << y;
    }
    Window->RadioGroup1->SetItemIndex(0);
    Window->RadioGroup1Click();
    EXPECT_EQ(Pixel(7, 50), QColor(Qt::red));
}

TEST_F(HistgramWindowTest, AnAnalysedAreaShowsItsTargetAboveABlackBackgroundAndTheThresholdDotted) {
    for (int bin = 0; bin < 256; ++bin) TargetRGBHistogram[bin] = 128.0;
    BinarizeTarget = 0;
    FixedThreshold = 30;
    Window->ShowHistogram(File, true);
    for (int y = 2; y < kHeight; ++y) EXPECT_EQ(Pixel(10, y), y >= 91 ? QColor(Qt::black) : QColor(Qt::red)) << y;
    int dots = 0;
    for (int y = 0; y < 91; ++y) dots += Pixel(30, y) == QColor(Qt::black);
    EXPECT_GT(dots, 20);
    EXPECT_LT(dots, 70);
    EXPECT_EQ(Window->StringGrid1->item(1, 2)->text(), QStringLiteral("128"));
}

// As the image window does: the colour analysis, then the histogram of its area.
TEST_F(HistgramWindowTest, TheAnalysedViewShowsTheTargetCountsOfTheLastAnalysis) {
    BinarizeTarget = 0;
    ThresholdMethod = kFixedMethodItem;
    FixedThreshold = 128;
    ThresholdCondition = 0;  // >=
    DrawResults = false;
    TBitmap picture;
    ASSERT_FALSE(SepColorAnalysis(File, picture, {0, 0, 255, 255}));
    ASSERT_FALSE(CalcAreaHistogram(File, {0, 0, 255, 255}));
    Window->ShowHistogram(File, true);
    EXPECT_EQ(Window->StringGrid1->item(1 + 10, 2)->text(), QStringLiteral("  0"));
    EXPECT_EQ(Window->StringGrid1->item(1 + 200, 2)->text(), QStringLiteral("256"));
    for (int y = 2; y < kHeight; ++y) {
        EXPECT_EQ(Pixel(10, y), QColor(Qt::black)) << y;
        EXPECT_EQ(Pixel(200, y), QColor(Qt::red)) << y;
    }
}

TEST_F(HistgramWindowTest, PickingDrawsBlackExactlyTheBinsThatTheThresholdRecognises) {
    struct TCase {
        int Condition, Threshold;
        std::vector<int> Black;
    };
    const TCase cases[] = {{0, 200, Range(200, 255)}, {1, 100, Range(0, 100)}, {2, 50, {50}}};
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Condition);
        FixedThreshold = c.Threshold;
        Window = std::make_unique<THistgramWindow>();
        Window->SetupThresholdPick(File, 0, c.Condition);
        EXPECT_EQ(Window->SpinEdit1->value(), c.Threshold);
        EXPECT_EQ(BlackColumns(), c.Black);
    }
}

TEST_F(HistgramWindowTest, ATypedThresholdRedrawsOnlyWhenTheFieldHoldsABinAndOkTakesTheLastOneHeld) {
    FixedThreshold = 100;
    Window->SetupThresholdPick(File, 2, 1);
    const QImage before = Window->Picture().Image();
    Type(QStringLiteral("300"));
    EXPECT_EQ(Window->Picture().Image(), before);
    Type(QStringLiteral("20"));
    EXPECT_EQ(BlackColumns(), Range(0, 20));
    Type(QStringLiteral("300"));
    Window->show();
    test::UserClick(Window->Button1);
    EXPECT_EQ(FixedThreshold, 20);

    FixedThreshold = 100;
    Window = std::make_unique<THistgramWindow>();
    Window->SetupThresholdPick(File, 2, 1);
    Type(QStringLiteral("40"));
    Window->show();
    test::UserClick(Window->Button2);
    EXPECT_EQ(FixedThreshold, 100);
}

TEST_F(HistgramWindowTest, ArraysCountedFromAnotherFileDrawAndFillNothing) {
    Window->ShowHistogram(Folder.filePath(QStringLiteral("other.bmp")), false);
    EXPECT_EQ(Window->StringGrid1->rowCount(), 0);
    EXPECT_TRUE(BlackColumns().empty());
    for (int x = 0; x < 256; ++x) EXPECT_EQ(Pixel(x, kHeight - 1), QColor(Qt::white)) << x;
}

}  // namespace
}  // namespace tam32
