// The mouse tools of an image window: the marks they leave or erase, the
// circle and north they set and the lines they report.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QTest>
#include <cmath>
#include <functional>
#include <string>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/LensProjection.h"
#include "common/widget_app_env.h"
#include "windows/CircleFrom3Points.h"
#include "windows/EdgeViews.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

// A picture whose every pixel differs from its neighbours, so that any mark
// left behind shows.
std::unique_ptr<TBitmap> Patterned(int Width, int Height) {
    QImage image(Width, Height, QImage::Format_RGB888);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x) image.setPixelColor(x, y, QColor((x * 7) % 256, (y * 5) % 256, (x + y) % 256));
    auto picture = std::make_unique<TBitmap>();
    picture->SetImage(image);
    picture->SetPixelFormat(TPixelFormat::pf24bit);
    return picture;
}

class MouseToolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
        ThresholdCondition = 1;
        Window = std::make_unique<TLeafImageWindow>(Frame);
        Window->OpenPicture(QStringLiteral("a.bmp"), false, Patterned(200, 160));
        Window->SearchSettings();
    }
    void TearDown() override {
        Window.reset();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
    }
    QImage Pixels() const { return Window->Picture().Image().copy(); }
    // A drag at zoom 1:1, in image pixels.
    void Drag(TPoint From, TPoint To, Qt::MouseButton Button = Qt::LeftButton) {
        Window->Image1MouseDown(Button, From.X, From.Y);
        Window->Image1MouseMove((From.X + To.X) / 2, (From.Y + To.Y) / 2);
        Window->Image1MouseMove(To.X, To.Y);
        Window->Image1MouseUp(To.X, To.Y);
    }
    void Click(TPoint P, Qt::MouseButton Button = Qt::LeftButton) {
        Window->Image1MouseDown(Button, P.X, P.Y);
        Window->Image1MouseUp(P.X, P.Y);
    }
    void SetCircle(int X, int Y, int R) {
        Window->FCircleX = X;
        Window->FCircleY = Y;
        Window->FCircleSet = true;
        Window->SetCircleDiameter(2 * R);
    }

    test::TRecordingFrame Frame;
    test::TRecordingEngineHost Host;
    std::unique_ptr<TLeafImageWindow> Window;
};

TEST(CircleFrom3PointsTest, CentreAndRadiusOrNothingForPointsOnALine) {
    std::array<TPoint, 4> points{{{0, 0}, {10, 0}, {0, 10}, {}}};
    EXPECT_EQ(CircleFrom3Points(points), 8);  // Round(sqrt(50) + 0.5)
    EXPECT_EQ(points[3], (TPoint{5, 5}));
    std::array<TPoint, 4> line{{{0, 0}, {5, 5}, {10, 10}, {7, 7}}};
    EXPECT_EQ(CircleFrom3Points(line), std::nullopt);
    EXPECT_EQ(line[3], (TPoint{7, 7}));
    // Nearly on a line: the centre lies far beyond any picture.
    std::array<TPoint, 4> flat{{{0, 0}, {30000, 1}, {60000, 0}, {}}};
    EXPECT_EQ(CircleFrom3Points(flat), std::nullopt);
}

TEST_F(MouseToolsTest, ThreeClicksSetTheCircleAndReportIt) {
    Window->StartCircleAreaBy3Points();
    EXPECT_TRUE(Frame.Checked("CircleAreaBy3Points"));
    Click({20, 20});
    Click({40, 20});
    EXPECT_FALSE(Window->FCircleSet);
    Click({20, 40});
    EXPECT_TRUE(Window->FCircleSet);
    EXPECT_EQ(Window->FCircleX, 30);
    EXPECT_EQ(Window->FCircleY, 30);
    EXPECT_EQ(Window->FCircleR, 15);  // Round(sqrt(200) + 0.5)
    EXPECT_EQ(Window->FCircleOdd, 0);
    EXPECT_TRUE(CircleSet);
    EXPECT_EQ(CircleX, 30);
    EXPECT_EQ(ThresholdCondition, 0);
    EXPECT_EQ(Host.ResultLines.size(), 2u);
    // The tool stays for another circle.
    EXPECT_TRUE(Window->FPickMode);
    EXPECT_EQ(Window->FPickTool, ptCircle3Points);
    EXPECT_EQ(Window->FCirclePointCount, 0);
}

TEST_F(MouseToolsTest, ThreePointsOnALineSetNoCircleAndStartAgain) {
    Window->StartCircleAreaBy3Points();
    for (int i = 0; i < 3; ++i) Click({10 + 10 * i, 50});
    EXPECT_FALSE(Window->FCircleSet);
    EXPECT_EQ(Window->FCirclePointCount, 0);
    EXPECT_TRUE(Host.ResultLines.empty());
    for (TPoint p : {TPoint{20, 20}, TPoint{40, 20}, TPoint{20, 40}}) Click(p);
    EXPECT_TRUE(Window->FCircleSet);
}

// The red crosses of the points so far go with a circle given up, by
// Escape or by another tool; those of a circle made stay.
TEST_F(MouseToolsTest, TheCrossesOfAGivenUpThreePointCircleAreErased) {
    const QImage before = Pixels();
    const std::pair<const char*, std::function<void()>> endings[] = {
        {"Escape", [this] { QTest::keyClick(Window.get(), Qt::Key_Escape); }},
        {"another tool", [this] { Window->StartDistanceMeasurement(); }},
        {"the same tool again", [this] { Window->StartCircleAreaBy3Points(); }},
    };
    for (const auto& [ending, giveUp] : endings) {
        SCOPED_TRACE(ending);
        Window->StartCircleAreaBy3Points();
        Click({20, 20});
        Click({40, 21});
        ASSERT_NE(Pixels(), before);
        giveUp();
        EXPECT_EQ(Pixels(), before);
        EXPECT_EQ(Window->FCirclePointCount, 0);
    }
    Window->StartCircleAreaBy3Points();
    for (TPoint p : {TPoint{20, 20}, TPoint{40, 20}, TPoint{20, 40}}) Click(p);
    ASSERT_TRUE(Window->FCircleSet);
    Window->StartDistanceMeasurement();
    EXPECT_EQ(Pixels().pixelColor(17, 40), QColor(Qt::red));  // off the circle drawn through it
}

TEST_F(MouseToolsTest, TagRectangleIsKeptInOrderAndErasedByZoomOrTool) {
    const QImage before = Pixels();
    Window->SetTagArea();
    Drag({60, 50}, {20, 10});
    EXPECT_TRUE(Window->FTagShown);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(20, 10), QPoint(60, 50)));
    EXPECT_NE(Pixels(), before);
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("(60,50)-(20,10):-40 x -40 pixels"));
    Window->EnhanceView();
    EXPECT_EQ(Pixels(), before);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(0, 0), QPoint(199, 159)));

    // At 1:2 the pen is two pixels wide; a zoom step in the middle of the
    // drag still leaves nothing behind.
    Window->ReduceView();
    Window->ReduceView();
    ASSERT_EQ(Window->FScaleDen, 2);
    Window->Image1MouseDown(Qt::LeftButton, 5, 5);
    Window->Image1MouseMove(40, 30);
    EXPECT_NE(Pixels(), before);
    Window->EnhanceView();
    EXPECT_EQ(Pixels(), before);

    Window->SetTagArea();
    Drag({10, 10}, {50, 40});
    Window->StartDistanceMeasurement();
    EXPECT_EQ(Pixels(), before);
}

TEST_F(MouseToolsTest, MouseEventsOnThePictureReachTheTool) {
    Window->SetTagArea();
    Window->EnhanceView();  // 2:1, so screen pixels are halved
    const auto send = [&](QEvent::Type Type, QPoint At, Qt::MouseButtons Buttons) {
        QMouseEvent event(Type, QPointF(At), Window->Image1->mapToGlobal(QPointF(At)), Qt::LeftButton, Buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(Window->Image1, &event);
    };
    send(QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton);
    send(QEvent::MouseMove, {81, 61}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {81, 61}, Qt::NoButton);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(10, 15), QPoint(40, 30)));
    EXPECT_EQ(Frame.PositionText, QStringLiteral("(40,30)"));
    // Released left of and below the picture, beyond its last column and row.
    send(QEvent::MouseButtonPress, {20, 30}, Qt::LeftButton);
    send(QEvent::MouseMove, {-9, 400}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {-9, 401}, Qt::NoButton);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(0, 15), QPoint(10, 159)));
    EXPECT_EQ(Frame.PositionText, QStringLiteral("(0,159)"));
}

TEST_F(MouseToolsTest, ASmallTagRectangleMeansTheWholePicture) {
    const QImage before = Pixels();
    Window->SetTagArea();
    Drag({30, 30}, {32, 32});
    EXPECT_FALSE(Window->FTagShown);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(0, 0), QPoint(199, 159)));
    EXPECT_EQ(Pixels(), before);
}

TEST_F(MouseToolsTest, ButtonDownAndMoveAreClampedToThePictureAndSoIsTheReleasedBox) {
    const QImage before = Pixels();
    // Released far beyond the last column and row: the box and its size end there.
    Window->SetTagArea();
    Window->Image1MouseDown(Qt::LeftButton, 10, 10);
    Window->Image1MouseUp(4900, 3900);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(10, 10), QPoint(199, 159)));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("(10,10)-(199,159):189 x 149 pixels"));
    Window->SetTagArea();
    Window->Image1MouseDown(Qt::LeftButton, 500, -3);
    EXPECT_EQ(Window->FTagArea.topLeft(), QPoint(199, 0));
    Window->Image1MouseMove(-20, 300);
    EXPECT_EQ(Window->FTagArea.bottomRight(), QPoint(0, 159));
    Window->Image1MouseUp(-20, 300);
    EXPECT_EQ(Window->FTagArea, QRect(QPoint(0, 0), QPoint(199, 159)));
    EXPECT_TRUE(Window->FTagShown);
    Window->EnhanceView();
    EXPECT_EQ(Pixels(), before);
}

TEST_F(MouseToolsTest, AMeasuredLineReleasedBeyondThePictureEndsAtTheReleasePoint) {
    ImageDPI = 100.0;
    Window->StartDistanceMeasurement();
    Window->Image1MouseDown(Qt::LeftButton, 150, 40);
    Window->Image1MouseMove(260, 40);
    EXPECT_EQ(Window->FLineEnd, (TPoint{199, 40}));
    Window->Image1MouseUp(260, 40);
    ASSERT_EQ(Host.ResultLines.size(), 1u);
    EXPECT_EQ(Host.ResultLines[0], FormatDialogMessage(QStringLiteral("DMS1"), {110 * 2.54 / 100.0, 150, 40, 260, 40}));
    // The line is drawn in red as far as the picture goes.
    EXPECT_EQ(Window->Picture().Image().pixelColor(199, 40), QColor(Qt::red));
}

TEST_F(MouseToolsTest, ACircleDraggedBeyondThePictureKeepsItsDiameterButNotItsCentre) {
    // The diameter's end is where the button goes up ...
    Window->StartMouseDetectCircleArea();
    Drag({100, 100}, {260, 100});
    EXPECT_EQ(Window->FCircleX, 180);
    EXPECT_EQ(Window->FCircleR, 79);   // Round(sqrt(79² + 1))
    EXPECT_EQ(Window->FCircleOdd, 1);  // Round(sqrt(159² + 1)) mod 2
    EXPECT_EQ(CircleR, 79);
    // ... while a moved circle's centre stays on the picture.
    Window->StartMoveCircleArea();
    Drag({180, 100}, {300, 500});
    EXPECT_EQ(std::pair(CircleX, CircleY), std::pair(199, 159));
}

TEST_F(MouseToolsTest, DraggedDiameterSetsTheCircle) {
    Window->StartMouseDetectCircleArea();
    ASSERT_EQ(Host.Messages.size(), 1u);
    Drag({100, 100}, {150, 100});
    Drag({50, 100}, {150, 100});
    EXPECT_EQ(Window->FCircleX, 100);
    EXPECT_EQ(Window->FCircleY, 100);
    EXPECT_EQ(Window->FCircleR, 49);  // Round(sqrt(49² + 1))
    EXPECT_EQ(Window->FCircleOdd, 1);  // Round(sqrt(99² + 1)) mod 2
    // Published at once; dragging leaves the threshold condition alone.
    EXPECT_TRUE(CircleSet);
    EXPECT_EQ(CircleR, 49);
    EXPECT_EQ(ThresholdCondition, 1);
    EXPECT_TRUE(Window->FMeasureMode);
    EXPECT_TRUE(Frame.Checked("MouseDetectCircleArea1"));
    Drag({150, 100}, {50, 100});
    EXPECT_EQ(Window->FCircleR, 51);
    EXPECT_EQ(Window->FCircleOdd, 1);

    // Only the last circle is in the picture.
    const QImage shown = Pixels();
    Window->DrawCircleArea();
    TLeafImageWindow plain(Frame);
    plain.OpenPicture(QStringLiteral("b.bmp"), false, Patterned(200, 160));
    EXPECT_EQ(Pixels(), plain.Picture().Image());
    Window->DrawCircleArea();
    EXPECT_EQ(Pixels(), shown);
}

TEST_F(MouseToolsTest, MovingTheCircleShowsItsEdgesAndPublishesTheCentre) {
    SetCircle(80, 70, 40);
    Window->StartMoveCircleArea();
    ASSERT_TRUE(Window->FPickMode);
    Window->Image1MouseDown(Qt::LeftButton, 80, 70);
    EXPECT_TRUE(Frame.EdgeViewShown);
    Window->Image1MouseMove(90, 75);
    EXPECT_EQ(Window->FCircleX, 90);
    EXPECT_EQ(CircleX, 80);  // published on release
    Window->Image1MouseUp(90, 75);
    EXPECT_EQ(CircleX, 90);
    EXPECT_EQ(CircleY, 75);
    EXPECT_FALSE(Frame.EdgeViewShown);
    EXPECT_EQ(Window->FCircleR, 40);

    // The picture holds the circle at its new place and nothing else.
    Window->DrawCircleArea();
    TLeafImageWindow plain(Frame);
    plain.OpenPicture(QStringLiteral("b.bmp"), false, Patterned(200, 160));
    EXPECT_EQ(Pixels(), plain.Picture().Image());
}

TEST(EdgeViewsTest, TilesCopyTheFourEdgesOfTheCircle) {
    test::RequireWidgetApp();
    auto picture = Patterned(200, 160);
    TBitmap strip;
    strip.SetPixelFormat(TPixelFormat::pf24bit);
    strip.SetSize(192, 48);
    const int cx = 100, cy = 80, r = 50, s = 47, h = 24;
    DrawEdgeViews(strip, *picture, cx, cy, r);
    const QImage& tiles = strip.Image();
    const QImage& source = picture->Image();
    EXPECT_EQ(tiles.pixelColor(0, 0), source.pixelColor(cx - h, cy - r - h));
    EXPECT_EQ(tiles.pixelColor(s - 1, s - 1), source.pixelColor(cx - h + s - 1, cy - r - h + s - 1));
    const int bottom = std::min(159, cy + r + h);
    EXPECT_EQ(tiles.pixelColor(48, 0), source.pixelColor(cx - h, bottom - s));
    EXPECT_EQ(tiles.pixelColor(96, 5), source.pixelColor(cx - r - h, cy - h + 5));
    const int right = std::min(199, cx + r + h);
    EXPECT_EQ(tiles.pixelColor(144 + 3, 7), source.pixelColor(right - s + 3, cy - h + 7));
}

TEST_F(MouseToolsTest, NorthFromTheCentreAndTheTypedAzimuth) {
    SetCircle(100, 80, 60);
    const QImage withCircle = Pixels();
    Window->StartSetNorthDirection();
    EXPECT_TRUE(Frame.Checked("SetNorthDirection1"));
    ASSERT_EQ(Host.Messages.size(), 1u);

    // Cancel and text that is no number keep north as it was.
    Host.InputAnswers = {std::nullopt, QStringLiteral("east")};
    Drag({0, 0}, {160, 80});
    Drag({0, 0}, {160, 80});
    EXPECT_FALSE(Window->FNorthSet);
    EXPECT_EQ(Window->FNorthAngle, 0.0);

    Host.InputAnswers = {QStringLiteral("90")};
    Drag({0, 0}, {100, 20});
    EXPECT_TRUE(Window->FNorthSet);
    const double drawn = PixelAzimuth(100, 20);
    EXPECT_NEAR(Window->FNorthAngle, drawn - 90 < 0 ? drawn + 270 : drawn - 90, 1e-9);
    EXPECT_EQ(Host.InputBoxes.back().first, GetDialogMessage(QStringLiteral("DMS10")));

    // The line stays shown until a zoom step erases it.
    EXPECT_NE(Pixels(), withCircle);
    Window->EnhanceView();
    EXPECT_EQ(Pixels(), withCircle);
}

// North and the azimuths measured from it lie in [0, 360), whatever was
// typed; one that would be written as 360 is written as 0.
TEST_F(MouseToolsTest, NorthAndTheAzimuthsFromItStayWithinAFullTurn) {
    SetCircle(100, 80, 60);
    const double drawn = PixelAzimuth(100, 20);
    const auto azimuthOf = [](const QString& Line) { return Line.section(QLatin1Char(' '), -1).toDouble(); };
    for (const char* typed : {"-400", "725", "360"}) {
        SCOPED_TRACE(typed);
        Window->StartSetNorthDirection();
        Host.InputAnswers = {QLatin1String(typed)};
        Drag({0, 0}, {100, 20});
        const double north = Window->FNorthAngle;
        EXPECT_GE(north, 0.0);
        EXPECT_LT(north, 360.0);
        EXPECT_NEAR(std::remainder(north - (drawn - std::stod(typed)), 360.0), 0.0, 1e-9);
        Window->StartZenithAngleMeasurement();
        Host.ResultLines.clear();
        Click({40, 80});
        Click({160, 100});
        ASSERT_EQ(Host.ResultLines.size(), 2u);
        for (const QString& line : Host.ResultLines) {
            EXPECT_GE(azimuthOf(line), 0.0) << line.toStdString();
            EXPECT_LT(azimuthOf(line), 360.0) << line.toStdString();
        }
    }
    Window->StartSetNorthDirection();
    Host.InputAnswers = {QStringLiteral("-0.0001")};
    Drag({0, 0}, {100, 20});
    Window->StartZenithAngleMeasurement();
    Host.ResultLines.clear();
    Click({100, 20});
    ASSERT_EQ(Host.ResultLines.size(), 1u);
    EXPECT_TRUE(Host.ResultLines[0].endsWith(QStringLiteral("  0.000"))) << Host.ResultLines[0].toStdString();
}

TEST_F(MouseToolsTest, DistanceAndPolylineReportCentimetres) {
    ImageDPI = 100.0;
    Window->StartDistanceMeasurement();
    Drag({10, 10}, {40, 50});
    ASSERT_EQ(Host.ResultLines.size(), 1u);
    EXPECT_EQ(Host.ResultLines[0], FormatDialogMessage(QStringLiteral("DMS1"), {1.27, 10, 10, 40, 50}));
    // The measured line stays in the picture in red.
    EXPECT_EQ(Window->Picture().Image().pixelColor(25, 30), QColor(Qt::red));

    Window->StartPolylineMeasurement();
    Click({100, 100});
    Click({103, 104}, Qt::RightButton);
    ASSERT_EQ(Host.ResultLines.size(), 2u);
    EXPECT_EQ(Host.ResultLines[1], FormatDialogMessage(QStringLiteral("DMS84"), {5 * 2.54 / 100.0}));
    EXPECT_EQ(Window->FPolyPrev, (TPoint{-1, -1}));
    EXPECT_EQ(Window->FPolyLength, 0.0);
}

TEST_F(MouseToolsTest, LengthsWithoutAPositiveResolutionAreRefused) {
    for (const double dpi : {0.0, -72.0}) {
        SCOPED_TRACE(dpi);
        ImageDPI = dpi;
        Host.ResultLines.clear();
        Window->StartDistanceMeasurement();
        Drag({10, 10}, {40, 50});
        Window->StartPolylineMeasurement();
        Click({100, 100});
        Click({103, 104}, Qt::RightButton);
        EXPECT_TRUE(Host.ResultLines.empty());
        const QString shown = Host.LastStatus();
        ShowErrorMessage(QStringLiteral("ERR22"));
        EXPECT_EQ(shown, Host.LastStatus());
    }
}

TEST_F(MouseToolsTest, AngleAcrossNorthIsTheSmallerOne) {
    Window->StartAngleMeasurement();
    EXPECT_EQ(Host.Pages.back(), TResultPage::Report);
    Drag({50, 50}, {150, 67});  // 350.35 degrees
    EXPECT_TRUE(Window->FAngleFirstLeg);
    Host.ConfirmAnswers = {true};
    Drag({50, 50}, {150, 33});  // 9.65 degrees
    ASSERT_EQ(Host.ResultLines.size(), 1u);
    EXPECT_EQ(Host.ResultLines[0], GetDialogMessage(QStringLiteral("DMS12")) + QStringLiteral("19.30"));
    EXPECT_FALSE(Window->FAngleFirstLeg);
}

TEST_F(MouseToolsTest, ScaleByLineSetsTheResolutionOnlyWhenConfirmed) {
    ImageDPI = 100.0;
    Window->StartCalcScaleByLine();
    Host.InputAnswers = {QStringLiteral("2.54")};
    Host.ConfirmAnswers = {false};
    Drag({10, 10}, {110, 10});
    EXPECT_EQ(ImageDPI, 100.0);
    Host.InputAnswers = {QStringLiteral("1.27")};
    Host.ConfirmAnswers = {true};
    Drag({10, 10}, {110, 10});
    EXPECT_DOUBLE_EQ(ImageDPI, 200.0);
    // No number, zero, or a line of no length: no question, nothing set.
    Host.InputAnswers = {QStringLiteral("x"), QStringLiteral("0"), QStringLiteral("3")};
    const size_t questions = Host.Questions.size();
    Drag({10, 10}, {110, 10});
    Drag({10, 10}, {110, 10});
    Click({10, 10});
    EXPECT_EQ(Host.Questions.size(), questions);
    EXPECT_DOUBLE_EQ(ImageDPI, 200.0);
    // A length that gives no finite resolution above 0 is refused and says so.
    for (const char* cm : {"1e-320", "-2", "0"}) {
        SCOPED_TRACE(cm);
        Host.StatusTexts.clear();
        Host.InputAnswers = {QLatin1String(cm)};
        Drag({10, 10}, {110, 10});
        EXPECT_EQ(Host.Questions.size(), questions);
        EXPECT_DOUBLE_EQ(ImageDPI, 200.0);
        EXPECT_EQ(Host.LastStatus(), test::StatusOf(ShowErrorMessage, "ERR33"));
    }
}

TEST_F(MouseToolsTest, ZenithAngleNeedsTheCircleAndNumbersItsPoints) {
    Window->StartZenithAngleMeasurement();
    EXPECT_FALSE(Window->FMeasureMode);
    SetCircle(100, 80, 60);
    Window->StartZenithAngleMeasurement();
    ASSERT_TRUE(Window->FMeasureMode);
    Click({100, 80});
    Click({130, 80});
    ASSERT_EQ(Host.ResultLines.size(), 2u);
    EXPECT_TRUE(Host.ResultLines[0].startsWith(
        FormatDialogMessage(QStringLiteral("DMS17"), {1, PixelZenith(100, 80), 90.0 - PixelZenith(100, 80)})));
    EXPECT_TRUE(Host.ResultLines[1].startsWith(FormatDialogMessage(QStringLiteral("DMS17"), {2, PixelZenith(130, 80),
                                                                                              90.0 - PixelZenith(130, 80)})));
    EXPECT_EQ(Window->FPointNo, 2);
}

}  // namespace
}  // namespace tam32
