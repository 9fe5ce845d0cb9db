// The batch commands' result row.
#include <gtest/gtest.h>

#include "LAIReportFixture.h"
#include "SyntheticCanopy.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/AnalysisImage.h"

using namespace tam32;
using test::LAIReportTest;

using LAIBatchRowTest = LAIReportTest;

TEST_F(LAIBatchRowTest, BlueIntermeansRowOfAKnownCanopy) {
    test::MakeSyntheticCanopy(3.0, 1.0);
    BinarizeTarget = 2;
    ThresholdMethod = 0;
    LastThreshold = 117;
    SkyFactor = 7.25;
    AddBatchResultLine("/photos/site 1/a01.bmp");
    ASSERT_EQ(Host.ResultLines.size(), 1u);
    const QStringList Fields = Host.ResultLines[0].split(',');
    ASSERT_EQ(Fields.size(), 10);
    EXPECT_EQ(Fields.mid(0, 3), (QStringList{"a01.bmp", "Blue", "Intermeans(117)"}));
    EXPECT_EQ(Fields[4], "   7.250");
    EXPECT_EQ(Fields[5], "   0.000");
    EXPECT_NEAR(Fields[6].toDouble(), 3.0, 0.06 * 3.0);
    EXPECT_NEAR(Fields[7].toDouble(), 3.0, 0.02);
    EXPECT_NEAR(Fields[8].toDouble(), 1.0, 0.02);
    EXPECT_EQ(Fields[9].size(), 8);
}

TEST_F(LAIBatchRowTest, TargetAndThresholdFields) {
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 10, 5);
    BinarizeTarget = 5;
    ThresholdMethod = 3;
    SetRGBThresholds(7, 120, 255);
    AddBatchResultLine("b.jpg");
    EXPECT_TRUE(Host.ResultLines.back().startsWith("b.jpg,RGB,KL(Variance)(  7 120 255),  50.000,"));
    BinarizeTarget = 3;
    AddBatchResultLine("c.jpg");
    EXPECT_TRUE(Host.ResultLines.back().startsWith("c.jpg,KL(Variance),  50.000,"));
}

TEST_F(LAIBatchRowTest, ClosedRingsAndBandsGiveDashes) {
    // A closed zenith: the five-ring index has no finite value and the band
    // list ends at the first band, leaving nothing to fit.
    for (int Band = 0; Band < 90; ++Band) test::SetBandCounts(Band, 10, Band < 15 ? 0 : 5);
    AddBatchResultLine("d.bmp");
    EXPECT_TRUE(Host.ResultLines.back().endsWith(",---,---,---,---")) << Host.ResultLines.back().toStdString();
}

TEST_F(LAIBatchRowTest, BandListEndsAtTheFirstClosedBand) {
    test::MakeSyntheticCanopy(2.0, 1.0);
    const QString Full = [&] {
        AddBatchResultLine("e.bmp");
        return Host.ResultLines.back();
    }();
    // Closing band 40 cuts the fit to bands 0..39, which still fit the canopy,
    // whereas skipping would have used all 74.
    test::SetBandCounts(40, 0, 0);
    ZenithCounts[0][40] = 10;
    AddBatchResultLine("e.bmp");
    const QStringList Cut = Host.ResultLines.back().split(',');
    EXPECT_NE(Host.ResultLines.back(), Full);
    EXPECT_NEAR(Cut[7].toDouble(), 2.0, 0.02);
}

TEST_F(LAIBatchRowTest, BandsWithoutPixelsDoNotEndTheList) {
    // A small circle leaves the bands round the zenith empty.
    test::MakeSyntheticCanopy(2.0, 1.0);
    for (int Band = 0; Band < 3; ++Band) test::SetBandCounts(Band, 0, 0);
    AddBatchResultLine("g.bmp");
    EXPECT_NEAR(Host.ResultLines.back().split(',').at(7).toDouble(), 2.0, 0.02);
}

TEST_F(LAIBatchRowTest, EmptyBandRangeFitsNothing) {
    test::MakeSyntheticCanopy(2.0, 1.0);
    NCStart = 50;
    NCEnd = 40;
    AddBatchResultLine("f.bmp");
    EXPECT_TRUE(Host.ResultLines.back().endsWith(",---,---,---"));
    EXPECT_FALSE(Host.ResultLines.back().contains("nan"));
}
