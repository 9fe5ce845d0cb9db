// The labelling analysis on masks written as pictures (target white on
// black): objects, outlines and centres against outside references, the area
// limits, objects cut by the analysis area, gap mode, the outline vector
// file, and the published areas of a leaf scan.
#include "analysis/objects/Labelling.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cmath>
#include <numbers>
#include <numeric>

#include "analysis/AnalysisFixture.h"
#include "analysis/SyntheticMasks.h"
#include "analysis/geometry/AnalysisArea.h"
#include "analysis/objects/LabelNumbers.h"
#include "analysis/objects/OutlineVectorFile.h"
#include "common/gui_app_env.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

class LabellingTest : public test::AnalysisFixture {
protected:
    void SetUp() override {
        test::RequireGuiApp();
        AnalysisFixture::SetUp();
        ThresholdMethod = 2;  // fixed: white is the target
        FixedThreshold = 128;
        ThresholdCondition = 0;
        ImageDPI = 25.4;  // a millimetre per pixel
        MinLabelledArea = 0;
        ShowLabelledNumber = false;
        LabelTraceVectorFolder = Folder.path() + QLatin1Char('/');
    }
    QString WriteMask(const QString& Name, const test::TMask& Mask) {
        return WriteImage(Name, Mask.Width, Mask.Height, [&](int X, int Y) {
            return Mask.At(X, Y) ? test::TRgb{255, 255, 255} : test::TRgb{};
        });
    }
    // Runs on File with its own picture; the report rows as fields.
    bool Run(const QString& File, const TRect& Area = {0, 0, 100000, 100000}) {
        Picture.SetImage(QImage(File));
        Host.ResultLines.clear();
        return LabellAnalysis(File, Picture, Area);
    }
    std::vector<QStringList> Rows() const {
        std::vector<QStringList> Rows;
        for (std::size_t I = 2; I < Host.ResultLines.size(); ++I) Rows.push_back(Host.ResultLines[I].split(u'\t'));
        return Rows;
    }
    std::vector<int64_t> Areas() const {
        std::vector<int64_t> Areas;
        for (const QStringList& Row : Rows()) Areas.push_back(Row[1].toLongLong());
        return Areas;
    }
    // The centre lines of the outline vector file of File.
    std::vector<TPoint> Centres(const QString& File) const {
        QFile Vectors(OutlineVectorFileName(File));
        EXPECT_TRUE(Vectors.open(QIODevice::ReadOnly));
        const QList<QByteArray> Lines = Vectors.readAll().split('\n');
        std::vector<TPoint> Centres;
        for (qsizetype I = 0; I + 1 < Lines.size(); ++I)
            if (Lines[I] == "-10 -10\r")
                Centres.push_back({Lines[I + 1].split(' ')[0].toInt(), Lines[I + 1].split(' ')[1].trimmed().toInt()});
        return Centres;
    }
    // Three squares of 900, 400 and 30 pixels.
    QString ThreeSquares() {
        return WriteImage(QStringLiteral("squares.bmp"), 120, 60, [](int X, int Y) {
            const bool In = (X >= 5 && X < 35 && Y >= 5 && Y < 35) || (X >= 50 && X < 70 && Y >= 10 && Y < 30) ||
                            (X >= 90 && X < 95 && Y >= 40 && Y < 46);
            return In ? test::TRgb{255, 255, 255} : test::TRgb{};
        });
    }

    TBitmap Picture;
};

// Objects of DiscAndBlobsMask in listing order. Areas and centres (floored
// means of the pixels' columns and rows): scipy.ndimage.label with a 3 x 3
// structure, sorted stably by decreasing area. Outlines (straight and
// diagonal steps, polygon area): cv2.findContours of the object dilated by
// a 3 x 3 cross (CHAIN_APPROX_NONE, steps summed, cv2.contourArea); for the
// three objects marked, whose one-pixel notches the dilated contour cuts
// across, a Python port of the walk instead.
struct TReferenceObject {
    int64_t Area;
    int Cx, Cy, Straight, Diagonal;
    double OutlineArea;
};
// clang-format off
constexpr TReferenceObject kDiscAndBlobs[] = {
    {1257, 35, 60, 64, 52, 1314.0}, {155, 135, 65, 30, 34, 186.0}, {136, 110, 93, 40, 33, 171.5},
    {114, 90, 31, 24, 17, 133.5}, {106, 81, 10, 22, 26, 129.0}, {104, 134, 87, 26, 28, 130.0} /* walk */,
    {103, 118, 55, 20, 25, 124.5}, {100, 71, 67, 36, 19, 126.5}, {92, 97, 103, 22, 22, 113.0},
    {66, 126, 113, 20, 12, 81.0}, {63, 87, 50, 20, 10, 77.0}, {63, 151, 88, 16, 16, 78.0},
    {44, 98, 47, 12, 11, 54.5}, {38, 130, 35, 12, 10, 48.0}, {34, 148, 102, 14, 10, 45.0},
    {29, 144, 7, 12, 8, 38.0}, {23, 154, 19, 12, 10, 33.0} /* walk */, {20, 100, 4, 14, 10, 31.0} /* walk */,
    {19, 156, 44, 12, 7, 27.5}, {18, 87, 98, 6, 9, 24.5}, {15, 155, 57, 8, 8, 22.0},
    {14, 86, 116, 12, 6, 22.0}, {12, 134, 8, 6, 7, 17.5}, {12, 106, 12, 10, 7, 19.5},
    {9, 119, 81, 8, 5, 14.5}, {6, 137, 45, 6, 5, 10.5}, {5, 70, 52, 4, 5, 8.5},
    {2, 116, 115, 2, 4, 4.0}, {2, 138, 117, 2, 4, 4.0}, {1, 157, 105, 0, 4, 2.0},
};
// clang-format on

TEST_F(LabellingTest, ObjectsOutlinesAndCentresMatchTheOutsideReference) {
    CalcTraceLengthRatio = LabelTraceVectorize = true;
    MaxLabelBuffSize = 1;  // only the tables' starting size
    const QString File = WriteMask(QStringLiteral("discblobs.bmp"), test::DiscAndBlobsMask());
    ASSERT_FALSE(Run(File));
    const std::vector<QStringList> Rows = this->Rows();
    const std::vector<TPoint> Centres = this->Centres(File);
    ASSERT_EQ(Rows.size(), std::size(kDiscAndBlobs));
    ASSERT_EQ(Centres.size(), Rows.size());
    for (std::size_t I = 0; I < Rows.size(); ++I) {
        SCOPED_TRACE(I + 1);
        const TReferenceObject& Ref = kDiscAndBlobs[I];
        EXPECT_EQ(Rows[I][1].toLongLong(), Ref.Area);
        EXPECT_NEAR(Rows[I][3].toDouble(), Ref.Straight + Ref.Diagonal * std::numbers::sqrt2, 0.005);
        EXPECT_EQ(Rows[I][5].toDouble(), Ref.OutlineArea);
        EXPECT_EQ(Centres[I], (TPoint{Ref.Cx, Ref.Cy}));
    }
    EXPECT_EQ(Rows[0][0] + ' ' + Rows[0][2] + ' ' + Rows[0][4], QStringLiteral("1 1257.00 0.835"));
    EXPECT_EQ(LabelledObjectCount, 30);
}

// 4000 x 3000 canopies; references from scipy.ndimage.label (3 x 3
// structure): count, the three largest areas, sums over the listing (rank 1
// first, stable by decreasing area) of rank x area and of area squared, and
// sums of the floored centres.
TEST_F(LabellingTest, CanopyGapsMatchTheOutsideReference) {
    const struct {
        double Gap;
        int Count;
        int64_t Largest[3], RankAreaSum, AreaSquareSum, CentreXSum, CentreYSum;
    } Cases[] = {
        {0.2, 10366, {4403, 4010, 3817}, 4973204393, 1657098218, 20670693, 15557237},
        {0.5, 499, {1794206, 717814, 431002}, 108984747, 4354450052331, 995604, 726208},
    };
    CalcTraceLengthRatio = LabelTraceVectorize = true;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Gap);
        const QString File = WriteMask(QStringLiteral("canopy%1.bmp").arg(Case.Count), test::CanopyMask(Case.Gap));
        ASSERT_FALSE(Run(File));
        const std::vector<int64_t> Areas = this->Areas();
        ASSERT_EQ(int(Areas.size()), Case.Count);
        EXPECT_EQ(std::vector<int64_t>(Areas.begin(), Areas.begin() + 3),
                  std::vector<int64_t>(Case.Largest, Case.Largest + 3));
        int64_t RankArea = 0, AreaSquare = 0, CentreX = 0, CentreY = 0;
        for (std::size_t I = 0; I < Areas.size(); ++I) {
            RankArea += int64_t(I + 1) * Areas[I];
            AreaSquare += Areas[I] * Areas[I];
        }
        for (const TPoint& Centre : Centres(File)) {
            CentreX += Centre.X;
            CentreY += Centre.Y;
        }
        EXPECT_EQ(RankArea, Case.RankAreaSum);
        EXPECT_EQ(AreaSquare, Case.AreaSquareSum);
        EXPECT_EQ(CentreX, Case.CentreXSum);
        EXPECT_EQ(CentreY, Case.CentreYSum);
    }
}

TEST_F(LabellingTest, ObjectsAreWholeAtTheAreasLastColumnAtTheCirclesEdgeAndAcrossAMaskedSector) {
    // Columns 0..9 of 12: a run up to the last column in the first row, a
    // lone pixel of that column in the last row; the outlines pass outside.
    const QString Edge = WriteImage(QStringLiteral("edge.bmp"), 12, 5, [](int X, int Y) {
        return (Y == 0 && X >= 6) || (Y == 4 && X == 9) ? test::TRgb{255, 255, 255} : test::TRgb{};
    });
    CalcTraceLengthRatio = true;
    ASSERT_FALSE(Run(Edge, {0, 0, 9, 4}));
    EXPECT_EQ(Areas(), (std::vector<int64_t>{4, 1}));
    EXPECT_EQ(Rows().back()[3], QStringLiteral(" 5.66"));
    CalcTraceLengthRatio = false;

    // A band through a circle, a sector of it masked: every pixel of the
    // area, and none beyond it, is counted.
    const QString Band = WriteImage(QStringLiteral("band.bmp"), 100, 80, [](int, int Y) {
        return Y >= 30 && Y <= 50 ? test::TRgb{255, 255, 255} : test::TRgb{};
    });
    CircleSet = true;
    CircleX = 50;
    CircleY = 40;
    CircleR = 30;
    AzimuthMaskUse = true;
    AzimuthMaskFrom = 30.0;
    AzimuthMaskTo = 150.0;
    ASSERT_FALSE(Run(Band));
    const auto BandPixelsInside = [] {
        int64_t Inside = 0;
        for (int Y = 30; Y <= 50; ++Y)
            for (int X = 0; X < 100; ++X) Inside += InAnalysisArea(X, Y) ? 1 : 0;
        return Inside;
    };
    const std::vector<int64_t> Areas = this->Areas();
    EXPECT_EQ(std::accumulate(Areas.begin(), Areas.end(), int64_t{0}), BandPixelsInside());
    AzimuthMaskUse = false;
    EXPECT_LT(std::accumulate(Areas.begin(), Areas.end(), int64_t{0}), BandPixelsInside());
}

TEST_F(LabellingTest, AThreeAndAHalfMillionPixelObjectIsMeasuredExactly) {
    CalcTraceLengthRatio = LabelTraceVectorize = true;
    const QString File = WriteImage(QStringLiteral("big.bmp"), 2100, 1900, [](int X, int Y) {
        return X >= 50 && X < 2050 && Y >= 40 && Y < 1840 ? test::TRgb{255, 255, 255} : test::TRgb{};
    });
    ASSERT_FALSE(Run(File));
    // Perimeter 2 (w - 1) + 2 (h - 1) + 4 sqrt(2); outline (w + 1)(h + 1) - 2.
    EXPECT_EQ(Host.ResultLines.at(2), QStringLiteral("1\t3600000\t3600000.00\t7601.66\t0.783\t3603799.00"));
    EXPECT_EQ(Centres(File), (std::vector<TPoint>{{1049, 939}}));
}

// The numbers are stamped from glyphs drawn once; each must come out as the
// canvas itself writes "No.n" and draws the circle, also where the picture
// cuts them, and over whatever was there before.
TEST_F(LabellingTest, NumbersAreThePixelsThatTheCanvasDraws) {
    const auto Prepared = [](TBitmap& Picture) {
        QImage Background(263, 91, QImage::Format_BGR888);
        for (int Y = 0; Y < Background.height(); ++Y)
            for (int X = 0; X < Background.width(); ++X) Background.setPixel(X, Y, qRgb(X, Y, (X * Y) % 256));
        Picture.SetImage(Background);
        Picture.Canvas().Pen.Color = clBlack;
        Picture.Canvas().Brush.Color = clWhite;
    };
    TBitmap Stamped, Drawn;
    Prepared(Stamped);
    Prepared(Drawn);
    const TPoint Places[] = {{0, 0}, {1, 2}, {130, 40}, {250, 88}, {262, 90}, {3, 85}, {240, 0}, {60, 77}};
    TLabelNumbers Numbers(Stamped);
    for (int Number = 1; Number <= 2100; Number += Number < 200 ? 1 : 37) {
        const TPoint At = Places[std::size_t(Number) % std::size(Places)];
        SCOPED_TRACE(Number);
        Numbers.Draw(At, Number);
        Drawn.Canvas().TextOut(At.X, At.Y, QStringLiteral("No.%1").arg(Number));
        Drawn.Canvas().Ellipse(At.X - 3, At.Y - 3, At.X + 3, At.Y + 3);
        ASSERT_EQ(Stamped.Image(), Drawn.Image());
    }
    for (const int Number : {99999, 123456789, 2147483647}) {
        Numbers.Draw({20, 30}, Number);
        Drawn.Canvas().TextOut(20, 30, QStringLiteral("No.%1").arg(Number));
        Drawn.Canvas().Ellipse(17, 27, 23, 33);
        ASSERT_EQ(Stamped.Image(), Drawn.Image()) << Number;
    }
}

// The outline measures need the centres, and where they are found the
// numbers and circles are drawn, asked for or not.
TEST_F(LabellingTest, OutlineMeasuresDrawTheNumbersToo) {
    CalcTraceLengthRatio = ShowLabelledNumber = true;
    ASSERT_FALSE(Run(ThreeSquares()));
    const QImage Numbered = Picture.Image();
    ShowLabelledNumber = false;
    ASSERT_FALSE(Run(ThreeSquares()));
    EXPECT_EQ(Picture.Image(), Numbered);
    CalcTraceLengthRatio = false;
    ASSERT_FALSE(Run(ThreeSquares()));
    EXPECT_NE(Picture.Image(), Numbered);
}

TEST_F(LabellingTest, AreaLimitsChooseTheListedObjectsEverywhere) {
    const struct {
        int Min, Max;
        std::vector<int64_t> Areas;
    } Cases[] = {{50, 500, {400}}, {0, -1, {900, 400, 30}}, {0, 20, {}}, {1000, -1, {}}};
    CalcTraceLengthRatio = LabelTraceVectorize = true;
    const QString File = ThreeSquares();
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Min << ".." << Case.Max);
        MinLabelledArea = Case.Min;
        MaxLabelledArea = Case.Max;
        ASSERT_FALSE(Run(File));
        EXPECT_EQ(Host.ResultLines.size(), 2 + Case.Areas.size());
        EXPECT_EQ(Areas(), Case.Areas);
        EXPECT_EQ(Centres(File).size(), Case.Areas.size());
        // Without the outline measures no numbers cover the objects' red.
        CalcTraceLengthRatio = false;
        ASSERT_FALSE(Run(File));
        CalcTraceLengthRatio = true;
        int64_t Red = 0;
        for (int Y = 0; Y < Picture.Height(); ++Y)
            for (int X = 0; X < Picture.Width(); ++X) Red += Picture.Image().pixelColor(X, Y) == QColor(Qt::red);
        EXPECT_EQ(Red, std::accumulate(Case.Areas.begin(), Case.Areas.end(), int64_t{0}));
    }
}

TEST_F(LabellingTest, GapModeMeasuresTheChosenObjectAndFailsWithoutIt) {
    GapEstimateMode = CalcTraceLengthRatio = true;
    GapObjectNo = 2;
    ASSERT_FALSE(Run(ThreeSquares(), {0, 0, 10, 10}));  // the whole picture all the same
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_EQ(GapObjectArea, 400.0f);
    EXPECT_EQ(GapObjectOutlineArea, 21.0f * 21.0f - 2.0f);
    EXPECT_EQ(LabelImageWidth, 120.0f);

    GapObjectNo = 4;
    EXPECT_TRUE(Run(ThreeSquares()));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR20"));
    EXPECT_EQ(GapObjectArea, 0.0f);
    EXPECT_EQ(GapObjectOutlineArea, 0.0f);
}

TEST_F(LabellingTest, OutlineFileHoldsEachTracedObjectInLinesEndedByCrLf) {
    CalcTraceLengthRatio = LabelTraceVectorize = true;
    const QString File = WriteImage(QStringLiteral("square.bmp"), 12, 12, [](int X, int Y) {
        return X >= 5 && X < 8 && Y >= 5 && Y < 8 ? test::TRgb{255, 255, 255} : test::TRgb{};
    });
    ASSERT_FALSE(Run(File));
    QFile Vectors(Folder.filePath(QStringLiteral("squarevec")));
    ASSERT_TRUE(Vectors.open(QIODevice::ReadOnly));
    EXPECT_EQ(Vectors.readAll(),
              QByteArray("No.1\r\n4 5\r\n4 6\r\n4 7\r\n5 8\r\n6 8\r\n7 8\r\n8 7\r\n8 6\r\n8 5\r\n7 4\r\n"
                         "6 4\r\n5 4\r\n4 5\r\n-10 -10\r\n6 6\r\n"));

    // A folder that is not there turns the file off; the analysis goes on.
    LabelTraceVectorFolder = Folder.filePath(QStringLiteral("missing/"));
    EXPECT_FALSE(Run(File));
    EXPECT_FALSE(LabelTraceVectorize);
}

TEST_F(LabellingTest, FailuresSayWhyAndLeaveNoImageLoaded) {
    const QString Dark = WriteImage(QStringLiteral("dark.bmp"), 20, 20, [](int, int) { return test::TRgb{}; });
    const struct {
        const char* Message;
        int BufferSize;
        QString File;
        TRect Area;
    } Cases[] = {
        {"ERR18", kMaxLabelBuffSize + 1, Dark, {0, 0, 19, 19}},
        {"ERR14", 20000, Folder.filePath(QStringLiteral("missing.bmp")), {0, 0, 19, 19}},
        {"ERR31", 20000, Dark, {30, 30, 40, 40}},  // a box beyond the image
        {"ERR20", 20000, Dark, {0, 0, 19, 19}},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Message);
        MaxLabelBuffSize = Case.BufferSize;
        EXPECT_TRUE(LabellAnalysis(Case.File, Picture, Case.Area));
        EXPECT_EQ(Host.LastStatus(), QLatin1String(Case.Message));
        EXPECT_EQ(AnalysisImage, nullptr);
    }
}

// Published with the scan: 124.1 and 116.8 cm2 (scipy: 192,338 and 181,052
// pixels at 100 dpi).
TEST_F(LabellingTest, LeafScanGivesThePublishedLeafAreas) {
    const QString Scan = QStringLiteral(TAM32_SHARED_DATA_DIR "/leaves-scan-100dpi.jpeg");
    if (!QFile::exists(Scan)) GTEST_SKIP() << "shared photographs not present: " << Scan.toStdString();
    const test::TPlugins Plugins;
    // As shipped (blue, Intermeans, "<="), then at fixed thresholds.
    ResetSettingsToDefaults(QDate(2024, 6, 21));
    for (int Threshold = 109; Threshold <= 145; ++Threshold) {
        SCOPED_TRACE(Threshold);
        if (Threshold >= 110) {
            ThresholdMethod = 2;
            FixedThreshold = Threshold;
        }
        ASSERT_FALSE(LabellAnalysis(Scan, Picture, {10, 10, 812, 1158}));
        const std::vector<QStringList> Rows = this->Rows();
        ASSERT_GE(Rows.size(), 2u);
        EXPECT_NEAR(Rows[0][2].toDouble(), 12409.0, 124.0);
        EXPECT_NEAR(Rows[1][2].toDouble(), 11681.0, 117.0);
        Host.ResultLines.clear();
    }
}

}  // namespace
}  // namespace tam32
