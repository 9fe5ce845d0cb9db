// The fisheye circle of an image window: drawing, the shared settings, the
// lens-type and detected circles and the typed diameter.
#include <gtest/gtest.h>

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/geometry/LensProjection.h"
#include "common/widget_app_env.h"
#include "platform/Canvas.h"
#include "platform/PictureFormats.h"
#include "platform/Rounding.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

class CircleAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 1));
        ThresholdCondition = 1;
    }
    void TearDown() override { ResetSettingsToDefaults(QDate(2024, 6, 1)); }

    // A picture of Width × Height in Fill (black) in a new window.
    std::unique_ptr<TLeafImageWindow> Window(int Width, int Height, const QString& Name = QStringLiteral("a.bmp"),
                                             QColor Fill = Qt::black) {
        auto window = std::make_unique<TLeafImageWindow>(Frame);
        auto picture = std::make_unique<TBitmap>();
        picture->SetPixelFormat(TPixelFormat::pf24bit);
        picture->SetSize(Width, Height);
        QImage black(Width, Height, QImage::Format_RGB888);
        black.fill(Fill);
        picture->SetImage(black);
        picture->SetPixelFormat(TPixelFormat::pf24bit);
        window->OpenPicture(Name, false, std::move(picture));
        return window;
    }
    static bool Lit(const TLeafImageWindow& W, int X, int Y) {
        return W.Picture().Image().pixelColor(X, Y) != QColor(Qt::black);
    }

    test::TRecordingFrame Frame;
    test::TRecordingEngineHost Host;
};

TEST_F(CircleAreaTest, DrawingTwiceRestoresThePicture) {
    for (int lens : {5, 7}) {
        LensType = lens;
        auto window = Window(64, 48);
        window->FCircleX = 30;
        window->FCircleY = 20;
        window->FCircleR = 18;
        window->FCircleOdd = 1;
        const QImage before = window->Picture().Image().copy();
        window->DrawCircleArea();
        EXPECT_NE(window->Picture().Image(), before);
        window->DrawCircleArea();
        EXPECT_EQ(window->Picture().Image(), before) << "lens " << lens;
    }
}

TEST_F(CircleAreaTest, TypedDiameterSetsRadiusOddnessAndTheSharedCircle) {
    auto window = Window(300, 200);
    Host.InputAnswers = {QStringLiteral("101")};
    window->SetCircleAreaDiameter();
    EXPECT_TRUE(window->FCircleSet);
    EXPECT_EQ(window->FCircleR, 50);
    EXPECT_EQ(window->FCircleOdd, 1);
    EXPECT_TRUE(CircleSet);
    EXPECT_EQ(CircleX, 150);
    EXPECT_EQ(CircleY, 100);
    EXPECT_EQ(CircleCenterOffset, 0.5);
    EXPECT_EQ(ThresholdCondition, 0);
    EXPECT_EQ(window->FPickTool, ptMoveCircle);
    EXPECT_TRUE(window->FPickMode);
    EXPECT_TRUE(Frame.Checked("CircleAreaCenter1"));
    // The box runs from centre - 51 to centre + 51, right edge excluded.
    EXPECT_TRUE(Lit(*window, 150 - 51, 100));
    EXPECT_TRUE(Lit(*window, 150 + 50, 100));
    EXPECT_FALSE(Lit(*window, 150 + 51, 100));

    // A new diameter erases the old circle.
    Host.InputAnswers = {QStringLiteral("100")};
    window->SetCircleAreaDiameter();
    EXPECT_EQ(window->FCircleOdd, 0);
    EXPECT_EQ(CircleCenterOffset, 0.0);
    EXPECT_FALSE(Lit(*window, 150 - 51, 100));
    EXPECT_TRUE(Lit(*window, 150 - 50, 100));
}

TEST_F(CircleAreaTest, ADiameterThatIsNotAWholePositiveNumberIsRefusedAndChangesNothing) {
    ShowErrorMessage(QStringLiteral("ERR23"));
    const QString refusal = Host.LastStatus();
    ShowErrorMessage(QStringLiteral("ERR22"));
    ASSERT_NE(refusal, Host.LastStatus());  // the message speaks of the circle, not of the options
    auto window = Window(100, 100);
    for (const char* typed : {"abc", "0", "-8", "12.5", ""}) {
        SCOPED_TRACE(typed);
        Host.StatusTexts.clear();
        Host.InputAnswers = {QString::fromLatin1(typed)};
        window->SetCircleAreaDiameter();
        EXPECT_EQ(Host.StatusTexts, (std::vector<QString>{refusal}));
    }
    // Cancel is no answer to refuse.
    Host.StatusTexts.clear();
    Host.InputAnswers = {std::nullopt};
    window->SetCircleAreaDiameter();
    EXPECT_TRUE(Host.StatusTexts.empty());
    EXPECT_FALSE(window->FCircleSet);
    EXPECT_FALSE(CircleSet);
    EXPECT_EQ(ThresholdCondition, 1);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) ASSERT_FALSE(Lit(*window, x, y));
}

TEST_F(CircleAreaTest, LensTypesFiveAndSevenCentreTheCircleOnThePicture) {
    auto window = Window(640, 480);
    LensType = 5;
    window->AutoDetectCircleArea();
    EXPECT_EQ(std::tuple(window->FCircleX, window->FCircleY, window->FCircleR), std::tuple(319, 239, 230));
    EXPECT_EQ(ThresholdCondition, 0);
    EXPECT_FALSE(window->FPickMode);  // no tool is active afterwards
    LensType = 7;
    window->AutoDetectCircleArea();
    EXPECT_EQ(std::tuple(window->FCircleX, window->FCircleY, window->FCircleR), std::tuple(319, 239, 400));
    // The first circle and its small cross are gone: the picture is that of
    // the normal lens's circle alone, with its full-size cross.
    auto fresh = Window(640, 480);
    fresh->AutoDetectCircleArea();
    EXPECT_EQ(window->Picture().Image(), fresh->Picture().Image());
    EXPECT_TRUE(Lit(*window, 0, 239));
}

TEST_F(CircleAreaTest, DetectsTheBrightDiscOfASyntheticPhotograph) {
    PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
    QTemporaryDir folder;
    const QString name = folder.filePath(QStringLiteral("disc.bmp"));
    QImage disc(400, 300, QImage::Format_RGB888);
    disc.fill(Qt::black);
    {
        QPainter painter(&disc);
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::white);
        painter.drawEllipse(QPointF(200, 150), 120, 120);
    }
    ASSERT_TRUE(disc.save(name, "BMP"));
    LensType = 0;
    auto window = Window(400, 300, name);
    window->AutoDetectCircleArea();
    PictureFormats::UnregisterGraphicClass(&TBitmap::ClassInfo);
    ASSERT_TRUE(window->FCircleSet) << (Host.Messages.empty() ? "" : Host.Messages[0].toStdString());
    EXPECT_NEAR(window->FCircleX, 200, 2);
    EXPECT_NEAR(window->FCircleY, 150, 2);
    EXPECT_NEAR(window->FCircleR, 120, 2);
    EXPECT_TRUE(window->FPickMode);
    EXPECT_TRUE(Frame.Checked("CircleAreaCenter1"));
}

class ReloadTest : public CircleAreaTest {
protected:
    void SetUp() override {
        CircleAreaTest::SetUp();
        PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
        QImage grey(80, 60, QImage::Format_RGB888);
        grey.fill(QColor(90, 90, 90));
        ASSERT_TRUE(grey.save(Name, "BMP"));
        Original = grey;
    }
    void TearDown() override {
        PictureFormats::UnregisterGraphicClass(&TBitmap::ClassInfo);
        CircleAreaTest::TearDown();
    }
    // A window of the file with a circle of diameter 41 and a north direction.
    std::unique_ptr<TLeafImageWindow> WindowWithCircle() {
        auto window = Window(80, 60, Name);
        window->ViewOriginalImage();
        window->SetCircleDiameter(41);
        window->FNorthSet = true;
        window->FWorkFileName = Folder.filePath(QStringLiteral("work.bmp"));
        window->EnhanceView();
        return window;
    }
    QImage Picture(const TLeafImageWindow& W) const { return W.Picture().Image().convertToFormat(Original.format()); }

    QTemporaryDir Folder;
    QString Name = Folder.filePath(QStringLiteral("grey.bmp"));
    QImage Original;
};

TEST_F(ReloadTest, KeepingTheCircleDrawsItOnceOnTheFreshPicture) {
    auto window = WindowWithCircle();
    Host.ConfirmAnswers = {true};
    window->ViewOriginalImage();
    EXPECT_EQ(Host.Questions.size(), 1u);
    EXPECT_TRUE(window->FCircleSet);
    EXPECT_TRUE(window->FNorthSet);
    EXPECT_EQ(window->FWorkFileName, Name);
    EXPECT_EQ(std::pair(window->FScaleNum, window->FScaleDen), std::pair(1, 1));
    EXPECT_TRUE(window->FTagAreaMode);
    EXPECT_FALSE(window->FPickMode);
    // Erasing the circle gives back the file's picture.
    window->DrawCircleArea();
    EXPECT_EQ(Picture(*window), Original);
}

TEST_F(ReloadTest, DroppingTheCircleForgetsCircleAndNorth) {
    auto window = WindowWithCircle();
    Host.ConfirmAnswers = {false};
    window->ViewOriginalImage();
    EXPECT_FALSE(window->FCircleSet);
    EXPECT_FALSE(window->FNorthSet);
    EXPECT_EQ(Picture(*window), Original);
}

TEST_F(ReloadTest, AFileThatCannotBeReadLeavesTheWindowAsItWas) {
    auto window = WindowWithCircle();
    const QImage before = window->Picture().Image().copy();
    ASSERT_TRUE(QFile::remove(Name));
    EXPECT_ANY_THROW(window->ViewOriginalImage());
    EXPECT_EQ(window->Picture().Image(), before);
    EXPECT_TRUE(window->FCircleSet);
    EXPECT_EQ(window->FScaleNum, 2);
}

class CircleScaleTest : public CircleAreaTest {
protected:
    // A grey picture with a circle of radius 150 about (180, 180), shown, and north set.
    std::unique_ptr<TLeafImageWindow> WindowWithCircleAndNorth(double NorthAngle) {
        auto window = Window(360, 360, QStringLiteral("a.bmp"), Grey);
        window->SetCircleDiameter(301);
        window->FNorthSet = true;
        window->FNorthAngle = NorthAngle;
        return window;
    }
    static QColor At(const TLeafImageWindow& W, int X, int Y) { return W.Picture().Image().pixelColor(X, Y); }
    // Whether any pixel of the label text (black) lies in the box.
    static bool TextIn(const TLeafImageWindow& W, const QRect& Box) {
        for (int y = Box.top(); y <= Box.bottom(); ++y)
            for (int x = Box.left(); x <= Box.right(); ++x)
                if (At(W, x, y) == QColor(Qt::black)) return true;
        return false;
    }
    const QColor Grey{128, 128, 128};
};

TEST_F(CircleScaleTest, NeedsTheSharedCircleAndTheNorthAndDrawsNothingWithout) {
    auto window = Window(100, 100, QStringLiteral("a.bmp"), Grey);
    const QImage before = window->Picture().Image();
    window->DrawCircleAreaScale();
    EXPECT_EQ(window->Picture().Image(), before);
    EXPECT_EQ(Host.StatusTexts.size(), 1u);

    window->SetCircleDiameter(61);
    const QImage withCircle = window->Picture().Image();
    window->DrawCircleAreaScale();  // no north yet
    EXPECT_EQ(window->Picture().Image(), withCircle);
    EXPECT_EQ(Host.StatusTexts.size(), 2u);
}

TEST_F(CircleScaleTest, SpokesRunFromTheCentreAndTurnWithTheNorth) {
    auto window = WindowWithCircleAndNorth(0);
    window->DrawCircleArea();  // only the scale is looked at
    window->DrawCircleAreaScale();
    const int r90 = TruncInt(ZenithToRadius(90) + 0.5);
    ASSERT_GT(r90, 100);
    // Spoke 0 along +x, spoke 90 down the picture; beyond the circle, no line.
    for (int d = 0; d < r90; ++d) {
        EXPECT_EQ(At(*window, 180 + d, 180), QColor(Qt::white)) << d;
        EXPECT_EQ(At(*window, 180, 180 + d), QColor(Qt::white)) << d;
    }
    EXPECT_NE(At(*window, 180 + 155, 180), QColor(Qt::white));

    // Turned by 3 degrees, no spoke runs along +x: inside the first ring
    // only the centre mark is there.
    auto turned = WindowWithCircleAndNorth(3);
    turned->DrawCircleArea();
    turned->DrawCircleAreaScale();
    const int r10 = TruncInt(ZenithToRadius(10) + 0.5);
    ASSERT_GT(r10, 13);
    for (int d = 12; d < r10 - 1; ++d) EXPECT_EQ(At(*turned, 180 + d, 180), Grey) << d;
    // Spoke 0 leans up, at -3 degrees: 95 pixels right of the centre it is
    // 5 pixels up, and nothing lies 5 pixels down, where +3 degrees would be.
    for (int k = 1; k <= 9; ++k) ASSERT_FALSE(std::abs(TruncInt(ZenithToRadius(10 * k) + 0.5) - 95) <= 2) << k;
    bool spoke = false;
    for (int y = 174; y <= 176; ++y) spoke = spoke || At(*turned, 275, y) == QColor(Qt::white);
    EXPECT_TRUE(spoke);
    for (int y = 184; y <= 186; ++y) EXPECT_EQ(At(*turned, 275, y), Grey) << y;
}

TEST_F(CircleScaleTest, LabelsLieOutsideTheSpokesEnd) {
    auto window = WindowWithCircleAndNorth(0);
    window->DrawCircleArea();  // only the scale is looked at
    window->DrawCircleAreaScale();
    const int r90 = TruncInt(ZenithToRadius(90) + 0.5);
    const int h = window->Picture().Canvas().TextHeight(QStringLiteral("180"));
    const int w = window->Picture().Canvas().TextWidth(QStringLiteral("180"));
    ASSERT_LT(h, 25);  // clear of the neighbouring spokes' labels
    // Spoke 0 ends right of the centre: its label starts at the end point.
    EXPECT_TRUE(TextIn(*window, QRect(180 + r90, 181, w, h - 1)));
    EXPECT_FALSE(TextIn(*window, QRect(180 + r90 - w, 181, w, h - 1)));
    // Spoke 180 ends left of it: its label is moved left by its width.
    EXPECT_TRUE(TextIn(*window, QRect(180 - r90 - w, 181, w, h - 1)));
    EXPECT_FALSE(TextIn(*window, QRect(180 - r90 + 1, 181, w, h - 1)));
    // Spoke 270 ends above it: its label is moved up by its height.
    EXPECT_TRUE(TextIn(*window, QRect(180, 180 - r90 - h, w, h)));
    EXPECT_FALSE(TextIn(*window, QRect(181, 180 - r90 + 1, w, h)));
}

TEST_F(CircleScaleTest, LabelsReadOnTheBlackBorderOfAFisheyePhotograph) {
    // The sky of a fisheye photograph fills the circle; around it all is black.
    QImage photo(360, 360, QImage::Format_RGB888);
    photo.fill(Qt::black);
    {
        QPainter painter(&photo);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(120, 150, 200));
        painter.drawEllipse(QPointF(180.5, 180.5), 140, 140);
    }
    auto window = std::make_unique<TLeafImageWindow>(Frame);
    auto picture = std::make_unique<TBitmap>();
    picture->SetImage(photo);
    picture->SetPixelFormat(TPixelFormat::pf24bit);
    window->OpenPicture(QStringLiteral("sky.bmp"), false, std::move(picture));
    window->SetCircleDiameter(301);
    window->FNorthSet = true;
    window->DrawCircleArea();  // only the scale is looked at
    window->DrawCircleAreaScale();
    const int r90 = TruncInt(ZenithToRadius(90) + 0.5);
    ASSERT_GT(r90, 141);  // the labels lie on the border
    const TCanvas& canvas = window->Picture().Canvas();
    const int h = canvas.TextHeight(QStringLiteral("0"));
    const auto width = [&](const char* Label) { return canvas.TextWidth(QString::fromLatin1(Label)); };
    // Each label's cell (one pixel in from its edges), beside its spoke's end.
    const struct {
        const char* Label;
        QRect Cell;
    } labels[] = {
        {"0", QRect(180 + r90, 180, width("0"), h)},
        {"90", QRect(180, 180 + r90, width("90"), h)},
        {"180", QRect(180 - r90 - width("180"), 180, width("180"), h)},
        {"270", QRect(180, 180 - r90 - h, width("270"), h)},
    };
    for (const auto& label : labels) {
        SCOPED_TRACE(label.Label);
        int light = 0, dark = 0;
        const QRect inner = label.Cell.adjusted(1, 1, -1, -1);
        for (int y = inner.top(); y <= inner.bottom(); ++y)
            for (int x = inner.left(); x <= inner.right(); ++x) {
                const QColor c = At(*window, x, y);
                if (c.lightness() > 200) ++light;
                if (c.lightness() < 60) ++dark;
            }
        const int area = inner.width() * inner.height();
        EXPECT_GT(light, area / 2);  // a light cell, not the black border
        EXPECT_GT(dark, 0);          // and dark text on it
    }
}

TEST_F(CircleScaleTest, TheShownCircleStillErasesExactlyOverTheScale) {
    auto shown = WindowWithCircleAndNorth(0);
    shown->DrawCircleAreaScale();
    shown->DrawCircleArea();  // erase
    auto hidden = WindowWithCircleAndNorth(0);
    hidden->DrawCircleArea();
    hidden->DrawCircleAreaScale();
    EXPECT_EQ(shown->Picture().Image(), hidden->Picture().Image());
    // The scale stays in the picture.
    EXPECT_EQ(At(*hidden, 180 + 50, 180), QColor(Qt::white));
}

}  // namespace
}  // namespace tam32
