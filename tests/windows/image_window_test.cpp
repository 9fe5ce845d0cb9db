// The image window: zoom steps, the screen-to-image mapping, the mouse
// position, opening and the temporary work file.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include "analysis/core/GlobalSettings.h"
#include "common/widget_app_env.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"
#include "windows/recording_frame.h"
#include "windows/ScreenToImage.h"

namespace tam32 {
namespace {

std::unique_ptr<TBitmap> Picture(int Width, int Height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(TPixelFormat::pf24bit);
    bitmap->SetSize(Width, Height);
    return bitmap;
}

TEST(ScreenToImageTest, EveryScreenPixelNamesTheImagePixelItShows) {
    for (int v = 0; v < 4; ++v) EXPECT_EQ(ScreenToImage(v, 1, 1), v);
    // Zoomed in 2:1, two screen pixels show one image pixel.
    EXPECT_EQ(ScreenToImage(0, 2, 1), 0);
    EXPECT_EQ(ScreenToImage(1, 2, 1), 0);
    EXPECT_EQ(ScreenToImage(2, 2, 1), 1);
    EXPECT_EQ(ScreenToImage(3, 2, 1), 1);
    // Zoomed out 1:2, as the original's example: screen 10 is image 20.
    EXPECT_EQ(ScreenToImage(10, 1, 2), 20);
    // 2:3 is not a whole ratio.
    EXPECT_EQ(ScreenToImage(2, 2, 3), 3);
    // Left of the picture (a drag released outside) stays left of it.
    EXPECT_EQ(ScreenToImage(-1, 2, 1), -1);
}

class ImageWindowTest : public ::testing::Test {
protected:
    void SetUp() override { test::RequireWidgetApp(); }
    test::TRecordingFrame Frame;
};

TEST_F(ImageWindowTest, ZoomStepsRunThroughFractionsAndResizeThePicture) {
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(300, 201));
    EXPECT_EQ(window.Image1->size(), QSize(300, 201));
    EXPECT_EQ(window.FTagArea, QRect(QPoint(0, 0), QPoint(299, 200)));

    window.EnhanceView();
    EXPECT_EQ(std::pair(window.FScaleNum, window.FScaleDen), std::pair(2, 1));
    EXPECT_EQ(window.Image1->size(), QSize(600, 402));
    EXPECT_EQ(window.ImageX(599), 299);
    window.ReduceView();
    window.ReduceView();
    EXPECT_EQ(std::pair(window.FScaleNum, window.FScaleDen), std::pair(1, 2));
    EXPECT_EQ(window.Image1->size(), QSize(150, 100));  // truncated
    EXPECT_EQ(window.ImageY(99), 198);
    window.ReduceView();
    EXPECT_EQ(std::pair(window.FScaleNum, window.FScaleDen), std::pair(1, 3));
    window.EnhanceView();
    window.EnhanceView();
    EXPECT_EQ(std::pair(window.FScaleNum, window.FScaleDen), std::pair(1, 1));
    // The box area stays the whole picture in image pixels at every zoom.
    EXPECT_EQ(window.FTagArea, QRect(QPoint(0, 0), QPoint(299, 200)));
}

TEST_F(ImageWindowTest, ThePictureIsShownStretchedToTheZoom) {
    QImage image(4, 2, QImage::Format_RGB888);
    image.fill(Qt::white);
    image.setPixelColor(1, 0, QColor(200, 10, 10));
    auto picture = std::make_unique<TBitmap>();
    picture->SetImage(image);
    picture->SetPixelFormat(TPixelFormat::pf24bit);
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, std::move(picture));
    window.EnhanceView();
    window.EnhanceView();
    const QImage shown = window.Image1->grab().toImage();
    ASSERT_EQ(shown.size(), QSize(12, 6));
    for (int x = 0; x < 12; ++x)
        EXPECT_EQ(shown.pixelColor(x, 1), window.ImageX(x) == 1 ? QColor(200, 10, 10) : QColor(Qt::white)) << x;
}

TEST_F(ImageWindowTest, ZoomStepClearsThePassingMarkFlags) {
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(10, 10));
    window.FTagShown = window.FLineShown = window.FTagDragging = true;
    window.EnhanceView();
    EXPECT_FALSE(window.FTagShown);
    EXPECT_FALSE(window.FLineShown);
    EXPECT_FALSE(window.FTagDragging);
}

TEST_F(ImageWindowTest, ZoomingKeepsTheShownCircleErasable) {
    QImage image(40, 30, QImage::Format_RGB888);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) image.setPixelColor(x, y, QColor(x * 6, y * 8, 77));
    auto picture = std::make_unique<TBitmap>();
    picture->SetImage(image);
    picture->SetPixelFormat(TPixelFormat::pf24bit);
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, std::move(picture));
    const QImage before = window.Picture().Image();
    window.SetCircleDiameter(25);
    const QImage withCircle = window.Picture().Image();
    ASSERT_NE(withCircle, before);
    window.EnhanceView();
    window.EnhanceView();
    window.ReduceView();
    window.ReduceView();
    window.ReduceView();
    EXPECT_EQ(window.Picture().Image(), withCircle);
    window.EnhanceView();
    window.DrawCircleArea();
    EXPECT_EQ(window.Picture().Image(), before);
}

void MoveMouse(QWidget* View, QPoint Position) {
    QMouseEvent move(QEvent::MouseMove, QPointF(Position), View->mapToGlobal(QPointF(Position)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(View, &move);
}

TEST_F(ImageWindowTest, MouseMoveShowsTheImagePixelInPanelOne) {
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(10, 8));
    MoveMouse(window.Image1, QPoint(3, 1));
    EXPECT_EQ(Frame.PositionText, QString());  // not the active window
    window.SearchSettings();
    MoveMouse(window.Image1, QPoint(3, 1));
    EXPECT_EQ(Frame.PositionText, QStringLiteral("(3,1)"));
    window.EnhanceView();
    MoveMouse(window.Image1, QPoint(7, 9));
    EXPECT_EQ(Frame.PositionText, QStringLiteral("(3,4)"));
    // Beyond the picture the nearest edge pixel is shown.
    MoveMouse(window.Image1, QPoint(25, -3));
    EXPECT_EQ(Frame.PositionText, QStringLiteral("(9,0)"));
}

TEST_F(ImageWindowTest, ActivationPublishesSizeAndMenuStateToTheFrame) {
    CircleSet = true;
    TLeafImageWindow window(Frame);
    // A new window has no circle, so the shared one is withdrawn.
    EXPECT_FALSE(CircleSet);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(640, 480));
    Frame.MenuItem("DoLAIEstimateAll")->setEnabled(true);
    window.SearchSettings();
    EXPECT_EQ(Frame.Active, &window);
    EXPECT_EQ(Frame.SizeText, QStringLiteral("640×480 pixels"));
    EXPECT_TRUE(Frame.MenuItem("SetTagArea1")->isChecked());
    EXPECT_FALSE(Frame.MenuItem("CircleAreaCenter1")->isEnabled());
    EXPECT_FALSE(Frame.MenuItem("DoLAIEstimateAll")->isEnabled());

    window.FCircleSet = true;
    window.FCircleX = 300;
    window.SearchSettings();
    EXPECT_TRUE(Frame.MenuItem("CircleAreaCenter1")->isEnabled());
    EXPECT_TRUE(Frame.MenuItem("DoLAIEstimate1")->isEnabled());
    EXPECT_TRUE(CircleSet);  // the window's circle is published
    EXPECT_EQ(CircleX, 300);
}

TEST_F(ImageWindowTest, PanelZeroShowsThePicturesOwnSizeAtAnyZoom) {
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(2560, 1920));
    const struct {
        int Steps;  // negative: zoom out
        QSize Shown;
    } zooms[] = {{-3, QSize(640, 480)}, {4, QSize(5120, 3840)}};
    for (const auto& zoom : zooms) {
        for (int i = 0; i < std::abs(zoom.Steps); ++i) zoom.Steps < 0 ? window.ReduceView() : window.EnhanceView();
        ASSERT_EQ(window.Image1->size(), zoom.Shown);
        Frame.SizeText.clear();
        window.SearchSettings();
        EXPECT_EQ(Frame.SizeText, QStringLiteral("2560×1920 pixels")) << zoom.Steps;
    }
}

TEST_F(ImageWindowTest, ActivationRestoresTheWindowsTool) {
    TLeafImageWindow window(Frame);
    window.OpenPicture(QStringLiteral("a.bmp"), false, Picture(10, 10));
    window.FTagAreaMode = false;
    window.FPickMode = true;
    window.FPickTool = ptMoveCircle;
    window.FCircleSet = true;
    window.SearchSettings();
    EXPECT_TRUE(Frame.MenuItem("CircleAreaCenter1")->isChecked());
    EXPECT_FALSE(Frame.MenuItem("SetTagArea1")->isChecked());
    EXPECT_TRUE(window.FPickMode);

    // Moving a circle that is not set falls back to the box area.
    window.FCircleSet = false;
    window.SearchSettings();
    EXPECT_FALSE(window.FPickMode);
    EXPECT_TRUE(window.FTagAreaMode);
    EXPECT_TRUE(Frame.MenuItem("SetTagArea1")->isChecked());
    EXPECT_FALSE(Frame.MenuItem("CircleAreaCenter1")->isChecked());
}

TEST_F(ImageWindowTest, ClosingDeletesOnlyATemporaryWorkFile) {
    QTemporaryDir folder;
    const QString temporary = folder.filePath(QStringLiteral("TempImage0.bmp"));
    const QString users = folder.filePath(QStringLiteral("photo.bmp"));
    for (const QString& name : {temporary, users}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    {
        TLeafImageWindow window(Frame);
        window.OpenPicture(users, false, Picture(4, 4));
        window.SearchSettings();
        window.close();
        EXPECT_EQ(Frame.Active, nullptr);
    }
    EXPECT_TRUE(QFile::exists(users));
    {
        TLeafImageWindow window(Frame);
        window.OpenPicture(temporary, true, Picture(4, 4));
        window.close();
    }
    EXPECT_FALSE(QFile::exists(temporary));
    EXPECT_TRUE(QFile::exists(users));
}

}  // namespace
}  // namespace tam32
