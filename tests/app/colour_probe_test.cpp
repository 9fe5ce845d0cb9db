// The colour analyses and the histogram window as "tam32-probe" prints them.
#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>

#include "common/probe_process.h"

namespace tam32 {
namespace {

class ColourProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Row y holds red = green = blue = y, but for a red pixel at (3, 2).
        QImage rows(256, 256, QImage::Format_RGB888);
        for (int y = 0; y < 256; ++y) std::fill_n(rows.scanLine(y), 256 * 3, uchar(y));
        rows.setPixelColor(3, 2, QColor(255, 0, 0));
        Image = Folder.filePath(QStringLiteral("rows.bmp"));
        ASSERT_TRUE(rows.save(Image));
    }
    // The lines printed, and the exit code in ExitCode.
    QStringList Probe(const QStringList& Args) {
        const test::TProbeRun run = test::RunProbe(Args, Folder.path());
        ExitCode = run.ExitCode;
        return run.Lines;
    }

    QTemporaryDir Folder;
    QString Image;
    int ExitCode = -1;
};

TEST_F(ColourProbeTest, RunPrintsTheProfileChartTheSearchCountAndTheClassResults) {
    QStringList lines = Probe({"run", "ColorLineProfile", Image, "--line", "1,2,4,2"});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.contains("SERIES Red: 0,2 1,2 2,255 3,2 4,2")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("AXIS left: Digital No"));

    lines = Probe({"run", "SearchColors", Image, "--set", "ColorSearchX=3", "--set", "ColorSearchY=2", "--set",
                   "ColorSearchPercent=0", "--print", "ColorSearchCount", "--print", "ColorSearchValue1"});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.contains("ColorSearchCount = 1")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("ColorSearchValue1 = 255"));
    EXPECT_EQ(lines.filter("MEMO:").size(), 1);

    lines = Probe({"run", "SepColorAnalysis", Image, "--area", "0,0,255,99", "--set", "BinarizeTarget=1", "--set",
                   "ThresholdCondition=0", "--set", "ThresholdMethod=2", "--set", "FixedThreshold=50", "--print",
                   "TargetPixelCount", "--print", "NonTargetPixelCount", "--print", "TargetRGBHistogram"});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.contains("TargetPixelCount = 12800")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("NonTargetPixelCount = 12800"));
    EXPECT_TRUE(lines.filter(QRegularExpression("^TargetRGBHistogram = (0 ){50}256 ")).size() == 1);
    EXPECT_EQ(lines.filter("MEMO:").size(), 11);
}

TEST_F(ColourProbeTest, HistogramPrintsTheTableAndTheCopyAndPicksAThreshold) {
    QStringList lines = Probe({"histogram", Image});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.contains("GRID StringGrid1 0 0: Level"));
    EXPECT_TRUE(lines.contains("GRID StringGrid1 4 1: 256")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("COLWIDTH 1: 24"));
    EXPECT_EQ(lines.filter("CLIP: ").size(), 257);
    EXPECT_TRUE(lines.contains("CLIP: 2, 255, 255, 255"));
    EXPECT_TRUE(lines.contains("CLIP: 255, 257, 256, 256"));
    EXPECT_TRUE(lines.contains("CLIPCRLF: all"));

    const QString out = Folder.filePath(QStringLiteral("pick.bmp"));
    lines = Probe({"histogram", Image, "--pick", "0,>=", "--spin", "200", "--ok", "--out", out});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.contains("FixedThreshold = 200")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.filter("CLIP").isEmpty());
    const QImage picked(out);
    ASSERT_EQ(picked.size(), QSize(256, 180));
    EXPECT_EQ(picked.pixelColor(199, 179), QColor(Qt::red));
    EXPECT_EQ(picked.pixelColor(200, 179), QColor(Qt::black));

    lines = Probe({"histogram", Image, "--window-file", Folder.filePath(QStringLiteral("other.bmp"))});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_TRUE(lines.filter("GRID").isEmpty());

    lines = Probe({"histogram", Folder.filePath(QStringLiteral("missing.bmp"))});
    EXPECT_EQ(ExitCode, 2);
    EXPECT_FALSE(lines.filter("STATUS: ").isEmpty());
}

}  // namespace
}  // namespace tam32
