#include <QFile>
#include <cmath>

#include "analysis/AnalysisFixture.h"
#include "analysis/geometry/CircleDetection.h"

namespace tam32::test {
namespace {

class CircleDetectionTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        // A previous circle, which a failed detection must leave alone.
        CircleSet = true;
        CircleX = 1;
        CircleY = 2;
        CircleR = 3;
        CircleCenterOffset = 0.5;
    }
    void ExpectUntouched() {
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR10"));
        EXPECT_TRUE(CircleSet);
        EXPECT_EQ(CircleX, 1);
        EXPECT_EQ(CircleY, 2);
        EXPECT_EQ(CircleR, 3);
        EXPECT_EQ(CircleCenterOffset, 0.5);
    }
    static QString RealPhoto(const char* Name) { return QStringLiteral(TAM32_SHARED_DATA_DIR "/") + QLatin1String(Name); }
};

TEST_F(CircleDetectionTest, AnEvenDiscCentredOnACornerIsFoundExactly) {
    // Pixel centres within 300 of the corner (500, 400): rows 100..699 and columns 200..799.
    ASSERT_FALSE(DetectCircleArea(WriteDisc(QStringLiteral("even.bmp"), 1000, 800, 500.0, 400.0, 300.0, {255, 0, 0})));
    EXPECT_EQ(CircleX, 500);
    EXPECT_EQ(CircleY, 400);
    EXPECT_EQ(CircleR, 299);  // widest row 299 wide: from column 201 to 500 + 299
    EXPECT_EQ(CircleCenterOffset, 0.5);
    EXPECT_TRUE(CircleSet);
    EXPECT_EQ(AnalysisImage, nullptr);
}

TEST_F(CircleDetectionTest, AnOddDiscCentredOnAPixelIsFoundExactly) {
    ASSERT_FALSE(DetectCircleArea(WriteDisc(QStringLiteral("odd.bmp"), 900, 700, 420.5, 350.5, 250.2, {200, 200, 200})));
    EXPECT_EQ(CircleX, 420);
    EXPECT_EQ(CircleY, 350);
    EXPECT_EQ(CircleR, 250);
    EXPECT_EQ(CircleCenterOffset, 0.0);
}

TEST_F(CircleDetectionTest, OnlyTheRedChannelCounts) {
    EXPECT_TRUE(DetectCircleArea(WriteDisc(QStringLiteral("blue.bmp"), 600, 500, 300, 250, 200, {0, 255, 255})));
    ExpectUntouched();
}

TEST_F(CircleDetectionTest, NoPlausibleCircleLeavesTheSettings) {
    EXPECT_TRUE(DetectCircleArea(WriteImage(QStringLiteral("dark.bmp"), 300, 200, [](int, int) { return TRgb{49, 49, 49}; })));
    ExpectUntouched();
    EXPECT_TRUE(DetectCircleArea(WriteImage(QStringLiteral("bright.bmp"), 300, 300, [](int, int) { return TRgb{90, 0, 0}; })));
    ExpectUntouched();
    // A square is no circle.
    EXPECT_TRUE(DetectCircleArea(WriteImage(QStringLiteral("square.bmp"), 600, 500, [](int X, int Y) {
        return X >= 200 && X <= 400 && Y >= 150 && Y <= 350 ? TRgb{255, 255, 255} : TRgb{};
    })));
    ExpectUntouched();
    // A disc larger than the frame does not fit the image.
    EXPECT_TRUE(DetectCircleArea(WriteDisc(QStringLiteral("large.bmp"), 400, 300, 200, 150, 260, {255, 255, 255})));
    ExpectUntouched();
    // Two separate patches: the widest row's middle is nowhere near the tallest column.
    EXPECT_TRUE(DetectCircleArea(WriteImage(QStringLiteral("patches.bmp"), 600, 600, [](int X, int Y) {
        const bool Wide = Y >= 100 && Y < 110 && X >= 20 && X < 320;
        const bool Tall = X >= 500 && X < 510 && Y >= 200 && Y < 560;
        return Wide || Tall ? TRgb{255, 255, 255} : TRgb{};
    })));
    ExpectUntouched();
}

TEST_F(CircleDetectionTest, ImagesTooSmallForTheMarginsAreNotRead) {
    EXPECT_TRUE(DetectCircleArea(WriteImage(QStringLiteral("tiny.bmp"), 15, 15, [](int, int) { return TRgb{255, 255, 255}; })));
    ExpectUntouched();
}

TEST_F(CircleDetectionTest, AnUnreadableFileFailsAsALoadFailure) {
    EXPECT_TRUE(DetectCircleArea(Folder.filePath(QStringLiteral("none.bmp"))));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_EQ(CircleR, 3);
}

TEST_F(CircleDetectionTest, RealFisheyePhotoIsFoundNearItsPublishedCircleOrRefused) {
    const QString Photo = RealPhoto("fisheye-coolpix5700-fce9.jpg");
    if (!QFile::exists(Photo)) GTEST_SKIP() << "real photographs not found beside the project: " << Photo.toStdString();
    const TPlugins Plugins;
    if (!DetectCircleArea(Photo)) {
        EXPECT_NEAR(CircleX, 1276, 30);
        EXPECT_NEAR(CircleY, 980, 30);
        EXPECT_NEAR(CircleR, 756, 30);
    } else {
        ExpectUntouched();
    }
}

TEST_F(CircleDetectionTest, FullFramePhotoClaimsNoCircle) {
    const QString Photo = RealPhoto("beech-fullframe-d90-nikkor10.5.jpg");
    if (!QFile::exists(Photo)) GTEST_SKIP() << "real photographs not found beside the project: " << Photo.toStdString();
    const TPlugins Plugins;
    EXPECT_TRUE(DetectCircleArea(Photo));
    ExpectUntouched();
}

}  // namespace
}  // namespace tam32::test
