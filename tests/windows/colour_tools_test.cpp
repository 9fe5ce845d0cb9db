// The colour tools and commands of an image window: the line profile, the
// colour search pick, the scale by area, the class statistics and the
// histogram window.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

#include "analysis/AnalysisFixture.h"
#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "common/widget_app_env.h"
#include "platform/PictureFormats.h"
#include "windows/HistgramWindow.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

using test::StatusOf;

const QString kRosette = QStringLiteral(TAM32_SHARED_DATA_DIR "/rosette-red-square.jpg");

// Grey with a red square of 10 × 10 pixels at (10, 10).
QImage Square() {
    QImage image(60, 40, QImage::Format_RGB888);
    image.fill(QColor(90, 90, 90));
    for (int y = 10; y < 20; ++y)
        for (int x = 10; x < 20; ++x) image.setPixelColor(x, y, QColor(200, 30, 40));
    return image;
}

std::unique_ptr<TBitmap> AsPicture(const QImage& Image) {
    auto picture = std::make_unique<TBitmap>();
    picture->SetImage(Image.convertToFormat(QImage::Format_BGR888));
    return picture;
}

class ColourToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
        // The scale by area reads the picture again.
        PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
        File = Folder.filePath(QStringLiteral("square.bmp"));
        ASSERT_TRUE(Square().save(File));
        Open(File, Square());
        // Red at or above 100 is the target.
        BinarizeTarget = 0;
        ThresholdCondition = 0;
        ThresholdMethod = 2;
        FixedThreshold = 100;
    }
    void TearDown() override {
        Window.reset();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
    }
    void Open(const QString& Name, const QImage& Image) {
        Window = std::make_unique<TLeafImageWindow>(Frame);
        Window->OpenPicture(Name, false, AsPicture(Image));
        Window->SearchSettings();
    }
    QImage Pixels() const { return Window->Picture().Image().copy(); }
    void Drag(TPoint From, TPoint To) {
        Window->Image1MouseDown(Qt::LeftButton, From.X, From.Y);
        Window->Image1MouseMove(To.X, To.Y);
        Window->Image1MouseUp(To.X, To.Y);
    }
    void Click(TPoint P) { Drag(P, P); }

    QTemporaryDir Folder;
    QString File;
    test::TRecordingFrame Frame;
    test::TRecordingEngineHost Host;
    std::unique_ptr<TLeafImageWindow> Window;
};

TEST_F(ColourToolsTest, AColourSearchClickAnsweredNoDoesNothing) {
    Window->StartSearchColors();
    EXPECT_TRUE(Frame.Checked("DoSearchColors1"));
    const QImage before = Pixels();
    Host.ConfirmAnswers = {false};
    Click({15, 15});
    EXPECT_EQ(Host.Questions.size(), 1u);
    EXPECT_EQ(Pixels(), before);
    EXPECT_FALSE(Window->FColorSampled);
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_EQ(ColorSearchX, 0);
}

TEST_F(ColourToolsTest, AColourSearchClickAnsweredYesShowsTheMatchesAndKeepsTheColour) {
    ColorSearchPercent = false;
    ColorSearchToleranceR = ColorSearchToleranceG = ColorSearchToleranceB = 10;
    Window->StartSearchColors();
    Host.ConfirmAnswers = {true};
    Click({15, 15});
    EXPECT_TRUE(Window->FColorSampled);
    EXPECT_EQ(std::make_tuple(Window->FSampleColor1, Window->FSampleColor2, Window->FSampleColor3),
              std::make_tuple(200, 30, 40));
    EXPECT_EQ(Host.ResultLines.size(), 1u);
    const QImage shown = Pixels();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x) {
            const bool inSquare = x >= 10 && x < 20 && y >= 10 && y < 20;
            ASSERT_EQ(shown.pixelColor(x, y), inSquare ? QColor(255, 0, 0) : QColor(90, 90, 90)) << x << "," << y;
        }
    EXPECT_TRUE(Window->FPickMode);
}

TEST_F(ColourToolsTest, TheLineProfileChartsTheDraggedLineAndLeavesThePictureAsItWas) {
    Window->StartLineProfile();
    EXPECT_TRUE(Frame.Checked("LineProfile1"));
    const QImage before = Pixels();
    Drag({5, 15}, {25, 15});
    ASSERT_EQ(Host.Charts.size(), 1u);
    // Length 20: samples 0..20, through the square at 5..14.
    const std::vector<TChartPoint>& reds = Host.Charts[0].Series[0].Points;
    ASSERT_EQ(reds.size(), 21u);
    EXPECT_EQ(reds[4].Y, 90.0);
    EXPECT_EQ(reds[5].Y, 200.0);
    EXPECT_EQ(Pixels(), before);

    Click({30, 30});
    EXPECT_EQ(Host.Charts.size(), 1u);
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR12"));
}

TEST_F(ColourToolsTest, ScaleByAreaSetsTheResolutionOnlyFromAnAreaAboveZeroAndATargetInTheBox) {
    Window->StartCalcScaleByArea();
    EXPECT_TRUE(Frame.Checked("CalcScaleByArea1"));
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowInstructionMessage, "MSG8"));
    const QImage before = Pixels();
    struct TCase {
        const char* Name;
        TPoint From, To;
        std::deque<bool> Confirms;
        std::optional<QString> Area;
        double Dpi;
        const char* Refusal;  // the status that refuses the area or its resolution, if any
    };
    const TCase cases[] = {
        // 100 target pixels in 4 cm²: √25 × 2.54.
        {"taken", {5, 5}, {30, 30}, {true, true}, QStringLiteral("4"), 12.7, nullptr},
        {"resolution declined", {5, 5}, {30, 30}, {true, false}, QStringLiteral("4"), 100.0, nullptr},
        {"not asked for", {5, 5}, {30, 30}, {false}, std::nullopt, 100.0, nullptr},
        {"cancelled", {5, 5}, {30, 30}, {true}, std::nullopt, 100.0, nullptr},
        {"no number", {5, 5}, {30, 30}, {true, true}, QStringLiteral("four"), 100.0, "DMS108"},
        {"nothing typed", {5, 5}, {30, 30}, {true, true}, QString(), 100.0, "DMS108"},
        {"no area", {5, 5}, {30, 30}, {true, true}, QStringLiteral("0"), 100.0, "DMS108"},
        {"negative area", {5, 5}, {30, 30}, {true, true}, QStringLiteral("-4"), 100.0, "DMS108"},
        {"an area too small to divide by", {5, 5}, {30, 30}, {true, true}, QStringLiteral("1e-320"), 100.0, "ERR33"},
        {"no target in the box", {30, 5}, {50, 30}, {true, true}, QStringLiteral("4"), 100.0, "ERR33"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        ImageDPI = 100.0;
        Host.ConfirmAnswers = c.Confirms;
        Host.InputAnswers = {c.Area};
        Host.StatusTexts.clear();
        const std::size_t questions = Host.Questions.size();
        Drag(c.From, c.To);
        EXPECT_DOUBLE_EQ(ImageDPI, c.Dpi);
        const QString refusal = !c.Refusal                     ? QString()
                                : QLatin1String(c.Refusal) == "ERR33" ? StatusOf(ShowErrorMessage, "ERR33")
                                                               : GetDialogMessage(QLatin1String(c.Refusal));
        EXPECT_EQ(std::count(Host.StatusTexts.begin(), Host.StatusTexts.end(), refusal), c.Refusal ? 1 : 0);
        // A refused area or resolution is not offered.
        if (c.Refusal) {
            EXPECT_EQ(Host.Questions.size(), questions + 1);
        }
        // The painted classes and the box are gone with the picture read again.
        EXPECT_EQ(Pixels(), before);
        EXPECT_TRUE(Window->FTagAreaMode);
    }
}

TEST_F(ColourToolsTest, ScaleByAreaOverThePhotographsRedSquareGivesItsResolution) {
    if (!QFile::exists(kRosette)) GTEST_SKIP() << "shared photographs not present: " << kRosette.toStdString();
    const test::TPlugins plugins;
    Open(kRosette, QImage(kRosette));
    // Green at or below the automatic threshold: the square counts about 111,000 pixels.
    BinarizeTarget = 1;
    ThresholdCondition = 1;
    ThresholdMethod = 0;
    Window->StartCalcScaleByArea();
    Host.ConfirmAnswers = {true, true};
    Host.InputAnswers = {QStringLiteral("4")};
    Drag({560, 830}, {960, 1230});
    EXPECT_GT(ImageDPI, 410.0);
    EXPECT_LT(ImageDPI, 430.0);
}

TEST_F(ColourToolsTest, TheClassStatisticsPaintTheBoxAndMarkTheWindowAnalysed) {
    Window->SetTagArea();
    Drag({5, 5}, {30, 30});
    Window->DoSepColorAnalysis();
    EXPECT_TRUE(Window->FAnalysed);
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowInstructionMessage, "MSG2"));
    EXPECT_EQ(Host.ResultLines.size(), 5u + 3u + 3u);
    const QImage shown = Pixels();
    EXPECT_EQ(shown.pixelColor(15, 15), QColor(Qt::white));
    EXPECT_EQ(shown.pixelColor(25, 25), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(40, 35), QColor(90, 90, 90));
    // The box's outline is drawn inverted: erasing it leaves the classes alone.
    Window->SetTagArea();
    EXPECT_EQ(Pixels().pixelColor(5, 20), QColor(Qt::black));
}

TEST_F(ColourToolsTest, FailedClassStatisticsLeaveThePictureAndReportTheFailure) {
    ImageDPI = 0.0;
    const QImage before = Pixels();
    Window->DoSepColorAnalysis();
    EXPECT_EQ(Host.StatusTexts.back(), StatusOf(ShowErrorMessage, "ERR7"));
    EXPECT_FALSE(Window->FAnalysed);
    EXPECT_EQ(Pixels(), before);
}

TEST_F(ColourToolsTest, TheHistogramOfTheBoxOpensInItsWindowOrSaysError) {
    Window->SetTagArea();
    Drag({5, 5}, {30, 30});
    QString title, label;
    QTimer::singleShot(0, [&] {
        if (auto* shown = qobject_cast<THistgramWindow*>(QApplication::activeModalWidget())) {
            title = shown->windowTitle();
            label = shown->Label1->text();
            shown->Button2->click();
        }
    });
    Window->ViewHistgram();
    EXPECT_EQ(title, QStringLiteral("SQUARE.BMP(Histgram)"));
    EXPECT_EQ(label, GetDialogMessage(QStringLiteral("DMS23")) + QStringLiteral("5,5)-(30,30)"));
    EXPECT_EQ(RGBHistogram[200], 100.0);

    QFile::remove(File);
    Window->ViewHistgram();
    EXPECT_EQ(Host.Messages.back(), QStringLiteral("Error"));
}

}  // namespace
}  // namespace tam32
