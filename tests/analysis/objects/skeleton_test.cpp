// The skeleton length analysis: reported lengths of simple shapes, the
// thinning against an outside thinning, regions wider than a byte of passes,
// and what it paints.
#include "analysis/objects/Skeleton.h"

#include <gtest/gtest.h>

#include <QImage>
#include <tuple>

#include "analysis/AnalysisFixture.h"
#include "analysis/SyntheticMasks.h"
#include "analysis/objects/LabelRuns.h"
#include "analysis/objects/SkeletonLength.h"
#include "platform/Bitmap.h"

namespace tam32 {
namespace {

using TShape = std::function<bool(int X, int Y)>;

bool Ring(int X, int Y) {
    const int D2 = (X - 50) * (X - 50) + (Y - 50) * (Y - 50);
    return D2 >= 28 * 28 && D2 <= 31 * 31;
}

// The skeleton of a shape over a W x H picture whose one-pixel frame is not thinned.
struct TThinned {
    int Passes = 0;
    int Pixels = 0, EndPoints = 0, Components = 0;
};
TThinned Thin(int W, int H, const TShape& Shape) {
    TSkeletonGrid Grid({1, 1, W - 2, H - 2});
    for (int Y = 0; Y < H; ++Y)
        for (int X = 0; X < W; ++X)
            if (Shape(X, Y)) Grid.SetTarget(X, Y);
    TThinned Result;
    Result.Passes = Grid.Thin();
    const TSkeletonClasses Classes(Grid);
    TLabelRuns Runs(1, 1);
    std::vector<uint8_t> Row(static_cast<std::size_t>(W));
    for (int Y = 1; Y <= H - 2; ++Y) {
        for (int X = 1; X <= W - 2; ++X) {
            Row[std::size_t(X)] = Grid.IsSkeleton(X, Y);
            Result.Pixels += Grid.IsSkeleton(X, Y);
            Result.EndPoints += Classes.At(X, Y) == 2;
        }
        Runs.AddRow(Row.data(), 1, W - 2);
    }
    Result.Components = Runs.Label();
    return Result;
}

TEST(SkeletonTest, ThinningKeepsTheTopologyOfAnOutsideThinning) {
    // skimage.morphology.thin of LeafBlobsMask(Seed, Fraction): skeleton
    // components and end points (pixels with one skeleton neighbour). This
    // thinning leaves fewer short spurs: summed over the masks its end
    // points are within 10 %.
    const struct {
        uint64_t Seed;
        double Fraction;
        int Components, EndPoints;
    } Cases[] = {{8, 0.2, 76, 174},  {8, 1.0 / 3.0, 62, 174},  {8, 0.5, 25, 120},
                 {9, 0.2, 66, 151},  {9, 1.0 / 3.0, 48, 131},  {9, 0.5, 15, 82},
                 {10, 0.2, 61, 146}, {10, 1.0 / 3.0, 50, 139}, {10, 0.5, 17, 84}};
    int EndPoints = 0, ReferenceEndPoints = 0;
    for (const auto& Case : Cases) {
        SCOPED_TRACE(testing::Message() << Case.Seed << " " << Case.Fraction);
        const test::TMask Blobs = test::LeafBlobsMask(Case.Seed, Case.Fraction);
        const TThinned Leaves = Thin(Blobs.Width, Blobs.Height, [&](int X, int Y) { return Blobs.At(X, Y) != 0; });
        EXPECT_EQ(Leaves.Components, Case.Components);
        EndPoints += Leaves.EndPoints;
        ReferenceEndPoints += Case.EndPoints;
        // A Python port of this thinning, run once: 3127 pixels, 151 end points, 25 passes.
        if (Case.Seed == 8 && Case.Fraction < 0.5 && Case.Fraction > 0.3) {
            EXPECT_EQ(std::tie(Leaves.Pixels, Leaves.EndPoints, Leaves.Passes), std::tuple(3127, 151, 25));
        }
    }
    EXPECT_NEAR(EndPoints, ReferenceEndPoints, 0.1 * ReferenceEndPoints);

    const TThinned Plus = Thin(60, 60, [](int X, int Y) {
        return (Y >= 29 && Y <= 31 && X >= 10 && X < 50) || (X >= 29 && X <= 31 && Y >= 10 && Y < 50);
    });
    EXPECT_EQ(Plus.EndPoints, 4);
    EXPECT_EQ(Plus.Components, 1);

    // Wider than 310 pixels: more passes than a byte counts from 100.
    const TThinned Wide = Thin(720, 520, [](int X, int Y) { return X >= 10 && X < 710 && Y >= 10 && Y < 510; });
    EXPECT_GT(Wide.Passes, 155);
    EXPECT_EQ(Wide.Components, 1);
}

class SkeletonLengthTest : public test::AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        ThresholdMethod = 2;  // fixed: white is the target
        FixedThreshold = 128;
        ThresholdCondition = 0;
    }
};

TEST_F(SkeletonLengthTest, LinesAreReportedOnceFromEndOrBranchPoint) {
    const struct {
        const char* Name;
        int W, H;
        TShape Shape;
        std::vector<QString> Lines;  // empty texts: only their number is known
        int MostPainted = -1;        // skeleton pixels painted, when bounded
    } Cases[] = {
        {"a line of 101 pixels",
         130,
         40,
         [](int X, int Y) { return Y == 20 && X >= 10 && X <= 110; },
         {"Length=2.54cm"}},
        {"its 45 degree diagonal",
         130,
         130,
         [](int X, int Y) { return X == Y && X >= 10 && X <= 110; },
         {"Length=3.59cm"}},
        {"a plus of 3-pixel bars",
         60,
         60,
         [](int X, int Y) {
             return (Y >= 29 && Y <= 31 && X >= 10 && X < 50) || (X >= 29 && X <= 31 && Y >= 10 && Y < 50);
         },
         {"", "", "", ""}},
        {"a lone pixel", 20, 20, [](int X, int Y) { return X == 10 && Y == 10; }, {}},
        {"a closed ring", 100, 100, Ring, {}},
        {"a ring with a spur",
         100,
         100,
         [](int X, int Y) { return Ring(X, Y) || (Y >= 49 && Y <= 51 && X >= 80 && X < 95); },
         {""}},
        {"a disc of radius 400",
         820,
         820,
         [](int X, int Y) { return (X - 410) * (X - 410) + (Y - 410) * (Y - 410) <= 400 * 400; },
         {},
         9},
    };
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        // A name of its own: the kept decoding of a file rewritten at once may look unchanged.
        const QString File =
            WriteImage(QString::fromLatin1(Case.Name) + QStringLiteral(".bmp"), Case.W, Case.H, [&](int X, int Y) {
                return Case.Shape(X, Y) ? test::TRgb{255, 255, 255} : test::TRgb{};
            });
        TBitmap Picture;
        QImage Grey(Case.W, Case.H, QImage::Format_BGR888);
        Grey.fill(QColor(50, 50, 50));
        Picture.SetImage(Grey);
        Host.ResultLines.clear();
        ASSERT_FALSE(TopoAnalysis(File, Picture, {0, 0, Case.W - 1, Case.H - 1}));
        ASSERT_EQ(Host.ResultLines.size(), Case.Lines.size());
        for (std::size_t I = 0; I < Case.Lines.size(); ++I)
            if (!Case.Lines[I].isEmpty()) { EXPECT_EQ(Host.ResultLines[I], Case.Lines[I]); }
        // The picture's frame is left alone; inside it only a skeleton is not black.
        int Skeleton = 0;
        for (int Y = 0; Y < Case.H; ++Y)
            for (int X = 0; X < Case.W; ++X) {
                const QColor C = Picture.Image().pixelColor(X, Y);
                if (X == 0 || Y == 0 || X == Case.W - 1 || Y == Case.H - 1)
                    ASSERT_EQ(C, QColor(50, 50, 50));
                else
                    Skeleton += C != QColor(Qt::black);
            }
        if (Case.MostPainted >= 0) { EXPECT_LE(Skeleton, Case.MostPainted); }
        EXPECT_EQ(Host.LastStatus(), QStringLiteral("MSG10"));
    }
}

TEST_F(SkeletonLengthTest, FailuresSayWhyAndLeaveNoImageLoaded) {
    const QString File = WriteImage(QStringLiteral("dark.bmp"), 20, 20, [](int, int) { return test::TRgb{}; });
    TBitmap Picture;
    EXPECT_TRUE(TopoAnalysis(Folder.filePath(QStringLiteral("missing.bmp")), Picture, {0, 0, 19, 19}));
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR14"));
    EXPECT_TRUE(TopoAnalysis(File, Picture, {30, 30, 40, 40}));  // a box beyond the image
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR31"));
    EXPECT_EQ(AnalysisImage, nullptr);
}

}  // namespace
}  // namespace tam32
