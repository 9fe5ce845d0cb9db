// Training the classifier from sample rows, the classified image, and the
// classification target of the pixel test.
#include <QFile>
#include <cmath>

#include "analysis/AnalysisFixture.h"
#include "analysis/colour/ClassifiedImage.h"
#include "analysis/colour/DiscriminantTraining.h"
#include "analysis/core/Classifier.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/geometry/LensProjection.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "analysis/geometry/TargetPixels.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// Left half about (40, 120, 30), right half about (150, 180, 230), with a
// little deterministic noise.
TRgb TwoHalves(int X, int Y) {
    const int Noise = (X * 7 + Y * 13) % 9 - 4, Other = (X * 5 + Y * 3) % 7 - 3;
    return X < 60 ? TRgb{uint8_t(40 + Noise), uint8_t(120 + Other), uint8_t(30 - Noise)}
                  : TRgb{uint8_t(150 + Other), uint8_t(180 + Noise), uint8_t(230 - Other)};
}

std::vector<TSampleRow> Rows(std::initializer_list<std::array<int, 4>> Cells) {
    std::vector<TSampleRow> Result;
    for (const auto& C : Cells)
        Result.push_back({QString::number(C[0]), QString::number(C[1]), QString::number(C[2]), QString::number(C[3])});
    return Result;
}

// Six points in each half: group 1 red on the left, group 2 blue on the right.
std::vector<TSampleRow> HalvesSamples() {
    return Rows({{1, kRed, 5, 5},    {1, kRed, 20, 30},   {1, kRed, 33, 12},   {1, kRed, 47, 25},
                 {1, kRed, 10, 36},  {1, kRed, 55, 3},    {2, kBlue, 65, 4},   {2, kBlue, 80, 22},
                 {2, kBlue, 95, 35}, {2, kBlue, 110, 10}, {2, kBlue, 70, 31},  {2, kBlue, 118, 38}});
}

class ColourClassificationTest : public AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        Image = WriteImage(QStringLiteral("halves.bmp"), 120, 40, TwoHalves);
        QImage Shown(Image);
        Picture.SetImage(Shown.convertToFormat(QImage::Format_BGR888));
        Picture.SetPixelFormat(TPixelFormat::pf24bit);
    }
    QString Cell(int Col, int Row) const {
        const auto It = Host.GridCells.find({TResultGrid::Classification, Col, Row});
        return It == Host.GridCells.end() ? QString() : It->second;
    }
    QRgb PictureRgb(int X, int Y) const { return Picture.Image().pixel(X, Y) & 0xFFFFFF; }

    QString Image;
    TBitmap Picture;
};

TEST_F(ColourClassificationTest, TrainingMakesTheGroupsTheActiveClassifier) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    EXPECT_TRUE(ClassifyDone);
    EXPECT_EQ(DiscLastGroup, 1);
    EXPECT_EQ(GroupColors[0], kRed);
    EXPECT_EQ(GroupColors[1], kBlue);
    EXPECT_EQ(ClassCoefficients, DiscCoefficients);
    EXPECT_EQ(ClassTermUsed, DiscTermUsed);
    EXPECT_EQ(Cell(0, 2), QStringLiteral("Group2"));
}

TEST_F(ColourClassificationTest, EachGroupTakesTheColourOfItsLastRow) {
    std::vector<TSampleRow> Samples = HalvesSamples();
    Samples[5].Color = QString::number(0x00FF00);
    ASSERT_FALSE(TrainClassifier(Image, Samples));
    EXPECT_EQ(GroupColors[0], 0x00FF00);
}

TEST_F(ColourClassificationTest, TheClassifiedHalvesArePaintedAndCounted) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    Host.GridCells.clear();
    ASSERT_FALSE(ViewClassifiedImage(Image, Picture, {0, 0, 119, 39}));
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 120; ++X) ASSERT_EQ(PictureRgb(X, Y), X < 60 ? 0xFF0000u : 0x0000FFu) << X << "," << Y;
    EXPECT_EQ(Host.GridRowCounts[TResultGrid::Classification], 3);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("2400"));
    EXPECT_EQ(Cell(1, 2), QStringLiteral("2400"));
    double Sums[2][3] = {};
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 120; ++X) {
            const TRgb C = TwoHalves(X, Y);
            const int C3[] = {C.R, C.G, C.B};
            for (int Ch = 0; Ch < 3; ++Ch) Sums[X < 60 ? 0 : 1][Ch] += C3[Ch];
        }
    for (int K = 0; K < 2; ++K)
        for (int Ch = 0; Ch < 3; ++Ch)
            EXPECT_EQ(Cell(2 + Ch, K + 1), QString::asprintf("%.2f", Sums[K][Ch] / 2400.0));
    EXPECT_EQ(Cell(1, 0), GetDialogMessage(QStringLiteral("DMS30")));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG9"));
}

TEST_F(ColourClassificationTest, OnlyTheAnalysisAreaIsPaintedAndCounted) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    CircleSet = true;
    CircleX = 60;
    CircleY = 20;
    CircleR = 15;
    const QImage Before = Picture.Image().copy();
    ASSERT_FALSE(ViewClassifiedImage(Image, Picture, {0, 0, 119, 39}));
    HorizonRadius2 = std::pow(ZenithToRadius(90.0), 2);
    int Inside[2] = {};
    for (int Y = 0; Y < 40; ++Y)
        for (int X = 0; X < 120; ++X) {
            if (!InAnalysisArea(X, Y)) {
                ASSERT_EQ(Picture.Image().pixel(X, Y), Before.pixel(X, Y)) << X << "," << Y;
                continue;
            }
            ++Inside[X < 60 ? 0 : 1];
            ASSERT_EQ(PictureRgb(X, Y), X < 60 ? 0xFF0000u : 0x0000FFu) << X << "," << Y;
        }
    EXPECT_GT(Inside[0], 300);
    EXPECT_EQ(Cell(1, 1), QString::number(Inside[0]));
    EXPECT_EQ(Cell(1, 2), QString::number(Inside[1]));
}

TEST_F(ColourClassificationTest, AGroupWithoutPixelsShowsMeansOfZero) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    ASSERT_FALSE(ViewClassifiedImage(Image, Picture, {0, 0, 30, 39}));  // the left half only
    EXPECT_EQ(Cell(1, 2), QStringLiteral("0"));
    for (int Col = 2; Col <= 4; ++Col) EXPECT_EQ(Cell(Col, 2), QStringLiteral("0.00"));
}

TEST_F(ColourClassificationTest, AnAreaBeyondTheImageIsClippedToIt) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    ASSERT_FALSE(ViewClassifiedImage(Image, Picture, {-50, -50, 5000, 5000}));
    EXPECT_EQ(Cell(1, 1), QStringLiteral("2400"));
}

TEST_F(ColourClassificationTest, NoClassifiedImageWithoutAClassifier) {
    const QImage Before = Picture.Image().copy();
    EXPECT_TRUE(ViewClassifiedImage(Image, Picture, {0, 0, 119, 39}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR3"));
    EXPECT_EQ(Picture.Image(), Before);
}

TEST_F(ColourClassificationTest, RefusedTrainingsChangeNothing) {
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    DiscLastGroup = 1;
    const TClassCoefficients Disc = DiscCoefficients, Active = ClassCoefficients;
    const TTermFlags Used = ClassTermUsed;
    const auto Colors = GroupColors;
    std::vector<TSampleRow> Split = HalvesSamples();
    Split.push_back({QStringLiteral("1"), QString::number(kRed), QStringLiteral("7"), QStringLiteral("7")});
    std::vector<TSampleRow> Outside = HalvesSamples();
    Outside[3].X = QStringLiteral("120");
    std::vector<TSampleRow> BadColour = HalvesSamples();
    BadColour[0].Color = QStringLiteral("-1");
    std::vector<TSampleRow> Word = HalvesSamples();
    for (int I = 6; I < 12; ++I) Word[std::size_t(I)].Group = QStringLiteral("abc");
    const struct {
        const char* Name;
        std::vector<TSampleRow> Samples;
        QString File;
        const char* Status;
    } Cases[] = {
        {"an empty table", {}, Image, "ERR16"},
        {"groups 0 and 1", Rows({{0, kRed, 5, 5}, {0, kRed, 20, 30}, {0, kRed, 33, 12}, {1, kBlue, 65, 4},
                                  {1, kBlue, 80, 22}, {1, kBlue, 95, 35}}), Image, "ERR16"},
        {"a gap in the groups", Rows({{1, kRed, 5, 5}, {1, kRed, 20, 30}, {1, kRed, 33, 12}, {3, kBlue, 65, 4},
                                      {3, kBlue, 80, 22}, {3, kBlue, 95, 35}}), Image, "ERR16"},
        {"a group in two blocks", Split, Image, "ERR16"},
        {"one group", Rows({{1, kRed, 5, 5}, {1, kRed, 20, 30}, {1, kRed, 33, 12}, {1, kRed, 65, 4},
                            {1, kRed, 80, 22}, {1, kRed, 95, 35}}), Image, "ERR16"},
        {"a group that is no number", Word, Image, "ERR16"},
        {"a colour out of range", BadColour, Image, "ERR16"},
        {"a point outside the image", Outside, Image, "ERR16"},
        {"fewer samples than groups + 4", Rows({{1, kRed, 5, 5}, {1, kRed, 20, 30}, {2, kBlue, 65, 4},
                                                 {2, kBlue, 80, 22}, {2, kBlue, 95, 35}}), Image, "ERR16"},
        {"no variable enters", Rows({{1, kRed, 5, 5}, {1, kRed, 20, 30}, {1, kRed, 33, 12}, {1, kRed, 47, 25},
                                     {2, kBlue, 5, 5}, {2, kBlue, 20, 30}, {2, kBlue, 33, 12}, {2, kBlue, 47, 25}}),
         Image, "ERR16"},
        {"an image that cannot be read", HalvesSamples(), Folder.filePath(QStringLiteral("none.bmp")), "ERR14"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Host.GridCells.clear();
        EXPECT_TRUE(TrainClassifier(C.File, C.Samples));
        EXPECT_EQ(Host.LastStatus(), QLatin1String(C.Status));
        EXPECT_TRUE(Host.GridCells.empty());
        EXPECT_TRUE(ClassifyDone);
        EXPECT_EQ(DiscLastGroup, 1);
        EXPECT_EQ(GroupColors, Colors);
        EXPECT_EQ(DiscCoefficients, Disc);
        EXPECT_EQ(ClassCoefficients, Active);
        EXPECT_EQ(ClassTermUsed, Used);
    }
}

TEST_F(ColourClassificationTest, TheClassificationTargetIsTheRecognizedGroups) {
    BinarizeTarget = 3;
    ASSERT_FALSE(OpenAnalysisImage(Image));
    EXPECT_TRUE(PrepareClassification(false, {0, 0, 119, 39}));  // no classifier yet
    FreeAnalysisImage();
    ASSERT_FALSE(TrainClassifier(Image, HalvesSamples()));
    RecognizedGroups[1] = true;
    ASSERT_FALSE(OpenAnalysisImage(Image));
    ASSERT_FALSE(PrepareClassification(false, {0, 0, 119, 39}));
    for (int X : {0, 30, 59, 60, 90, 119}) {
        SCOPED_TRACE(X);
        EXPECT_EQ(IsTargetPixel(false, X, 20), X >= 60);
        EXPECT_EQ(ClassifyPixel(X, 20), X >= 60 ? 1 : 0);
    }
}

TEST_F(ColourClassificationTest, EqualScoresGoToTheLowerGroup) {
    ASSERT_FALSE(OpenAnalysisImage(Image));
    ClassifyDone = true;
    DiscLastGroup = 2;
    ClassTermUsed = {{true, true, false, false}};
    // Group 2 (index 1) and 3 score the same; group 1 lower.
    ClassCoefficients[0] = {0.0, -100.0, 5.0, 5.0};
    ClassCoefficients[1] = {0.0, 0.0, 1.0, 1.0};
    ClassCoefficients[2] = ClassCoefficients[3] = {0.0, 0.0, 0.0, 0.0};
    EXPECT_EQ(ClassifyPixel(10, 10), 1);
}

TEST_F(ColourClassificationTest, TheClassifierIsNeverReadPastItsColumns) {
    ASSERT_FALSE(OpenAnalysisImage(Image));
    ClassifyDone = true;
    DiscLastGroup = 5;  // more groups than the classifier has
    ClassTermUsed = {{true, false, false, false}};
    for (auto& Term : ClassCoefficients) Term = {0.0, 1.0, 2.0};
    EXPECT_EQ(ClassifyPixel(10, 10), 1);
    EXPECT_EQ(TClassifierScores::Active().LastGroup(), 1);
}

// Four groups of six samples on a real photograph: the leaf, the dark lid,
// the red square and the white background. Fisher's functions computed with
// numpy put 99.9 % of the square's box and all of the leaf's in their groups.
TEST_F(ColourClassificationTest, APhotographsRedSquareAndLeafFallInTheirGroups) {
    const QString Photo = QStringLiteral(TAM32_SHARED_DATA_DIR "/rosette-red-square.jpg");
    if (!QFile::exists(Photo)) GTEST_SKIP() << "shared photographs not found: " << Photo.toStdString();
    TPlugins Plugins;
    const int Centres[4][2] = {{1860, 820}, {1400, 800}, {700, 1000}, {2200, 320}};
    const int Offsets[6][2] = {{0, 0}, {12, 0}, {0, 12}, {-12, 0}, {0, -12}, {9, 9}};
    const TColor Colors[4] = {0x00FF00, 0x404040, kRed, 0xFFFFFF};
    std::vector<TSampleRow> Samples;
    for (int K = 0; K < 4; ++K)
        for (const auto& O : Offsets)
            Samples.push_back({QString::number(K + 1), QString::number(Colors[K]), QString::number(Centres[K][0] + O[0]),
                               QString::number(Centres[K][1] + O[1])});
    ASSERT_FALSE(TrainClassifier(Photo, Samples));
    const struct {
        const char* Name;
        TRect Box;
        int Group;
    } Boxes[] = {{"square", {600, 880, 920, 1180}, 2}, {"leaf", {1830, 790, 1890, 850}, 0}};
    for (const auto& B : Boxes) {
        SCOPED_TRACE(B.Name);
        TBitmap Shown;  // nothing to paint on: the counts are what matter
        ASSERT_FALSE(ViewClassifiedImage(Photo, Shown, B.Box));
        const double Pixels = double(B.Box.Right - B.Box.Left + 1) * (B.Box.Bottom - B.Box.Top + 1);
        EXPECT_GE(Cell(1, B.Group + 1).toDouble() / Pixels, 0.98);
    }
}

}  // namespace
}  // namespace tam32::test
