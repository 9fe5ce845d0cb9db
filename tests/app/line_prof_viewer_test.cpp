// The chart viewer: file names, saving as bitmap and metafile, printing and
// copying its data.
#include <gtest/gtest.h>

#include <QChart>
#include <QClipboard>
#include <QFile>
#include <QImage>
#include <QLineSeries>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include "app/LineProfViewer.h"
#include "common/required_tool.h"
#include "common/widget_app_env.h"
#include "platform/qstring_printer.h"

using namespace tam32;

namespace {

TChartData GapChart() {
    TChartData Chart;
    Chart.Caption = "Gap fraction by zenith angle";
    Chart.BottomAxisTitle = "Zenith angle";
    Chart.LeftAxisTitle = "Gap fraction";
    const char* Titles[] = {"Red", "Green", "Blue", "Gap"};
    const TColor Colors[] = {0x0000FF, 0x008000, 0xFF0000, clBlack};
    for (int S = 0; S < 4; ++S) {
        Chart.Series[S].Title = Titles[S];
        Chart.Series[S].DateTimeX = false;
        for (int B = 0; B < 90; ++B) Chart.Series[S].Points.push_back({double(B), (B + 10 * S) / 140.0, Colors[S]});
    }
    return Chart;
}

class LineProfViewerTest : public testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        Viewer.SetChart(GapChart());
    }
    QTemporaryDir Dir;
    TLineProfViewer Viewer;
};

}  // namespace

TEST(ChartFileName, AppendsTheExtensionUnlessPresentInAnyCase) {
    EXPECT_EQ(ChartFileName("prof", ".BMP"), "prof.BMP");
    EXPECT_EQ(ChartFileName("prof.bmp", ".BMP"), "prof.bmp");
    EXPECT_EQ(ChartFileName("/d/prof.Wmf", ".WMF"), "/d/prof.Wmf");
    EXPECT_EQ(ChartFileName("prof.png", ".BMP"), "prof.png.BMP");
}

TEST_F(LineProfViewerTest, ShowsTheCallersSeriesAndTitles) {
    EXPECT_EQ(Viewer.windowTitle(), "Gap fraction by zenith angle");
    const auto Series = Viewer.Chart1->series();
    ASSERT_EQ(Series.size(), 4);
    auto* Red = qobject_cast<QLineSeries*>(Series[0]);
    ASSERT_NE(Red, nullptr);
    EXPECT_EQ(Red->name(), "Red");
    EXPECT_EQ(Red->count(), 90);
    EXPECT_EQ(Red->pen().color(), QColor(Qt::red));
    EXPECT_EQ(qobject_cast<QLineSeries*>(Series[3])->pen().color(), QColor(Qt::black));
    TChartData Removed = GapChart();
    Removed.Series[3].Active = false;
    Viewer.SetChart(Removed);
    EXPECT_EQ(Viewer.Chart1->series().size(), 3);
}

TEST_F(LineProfViewerTest, SavesA24BitBitmapOfTheChart) {
    const QString Name = Dir.filePath("prof.BMP");
    Viewer.SaveAsBitmap(Name);
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    const QByteArray Head = File.read(30);
    ASSERT_EQ(Head.left(2), "BM");
    EXPECT_EQ(uint8_t(Head[28]), 24);
    const QImage Image(Name);
    ASSERT_FALSE(Image.isNull());
    EXPECT_EQ(Image.size(), Viewer.Chart1->size().toSize());
    // The red line is on the picture.
    bool Red = false;
    for (int Y = 0; Y < Image.height() && !Red; ++Y)
        for (int X = 0; X < Image.width() && !Red; ++X) {
            const QColor C = Image.pixelColor(X, Y);
            Red = C.red() > 200 && C.green() < 80 && C.blue() < 80;
        }
    EXPECT_TRUE(Red);
}

TEST_F(LineProfViewerTest, SavesAMetafileThatAnotherReaderDraws) {
    const QString Name = Dir.filePath("prof.WMF");
    Viewer.SaveAsMetafile(Name);
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    EXPECT_EQ(File.read(4), QByteArray("\xD7\xCD\xC6\x9A", 4));
    File.close();
    // wmf2svg needs the fonts that its package only recommends.
    TAM32_REQUIRE_TOOL("/usr/bin/wmf2svg", "libwmf-bin");
    TAM32_REQUIRE_TOOL("/usr/share/fonts/type1/urw-base35/NimbusSans-Regular.t1", "fonts-urw-base35");
    const QString Svg = Dir.filePath("prof.svg");
    QProcess Convert;
    Convert.start("/usr/bin/wmf2svg", {"-o", Svg, Name});
    ASSERT_TRUE(Convert.waitForFinished(30000));
    ASSERT_EQ(Convert.exitCode(), 0) << Convert.readAllStandardError().toStdString();
    QFile SvgFile(Svg);
    ASSERT_TRUE(SvgFile.open(QIODevice::ReadOnly));
    const QByteArray Text = SvgFile.readAll();
    EXPECT_TRUE(Text.contains("<polyline")) << Text.left(500).toStdString();
    EXPECT_TRUE(Text.contains("Zenith angle"));
    EXPECT_TRUE(Text.contains("Red"));
    // The red series' stroke.
    EXPECT_TRUE(Text.contains("stroke:red"));
    // The left axis title stands upright along the axis.
    const qsizetype Title = Text.indexOf(">Gap fraction</text>");
    ASSERT_GE(Title, 0);
    const qsizetype Start = Text.lastIndexOf("<text", Title);
    EXPECT_TRUE(Text.mid(Start, Title - Start).contains("matrix(0.000000 -1.000000"));
}

TEST_F(LineProfViewerTest, PrintsToAPdfFile) {
    QPrinter Printer(QPrinter::HighResolution);
    Printer.setOutputFormat(QPrinter::PdfFormat);
    const QString Name = Dir.filePath("chart.pdf");
    Printer.setOutputFileName(Name);
    Viewer.PrintChart(Printer);
    QFile File(Name);
    ASSERT_TRUE(File.open(QIODevice::ReadOnly));
    EXPECT_EQ(File.read(5), "%PDF-");
    EXPECT_GT(File.size(), 2000);
}

TEST_F(LineProfViewerTest, SaveDataPutsTheTableOnTheClipboard) {
    Viewer.SaveDataClick();
    const QStringList Lines = QGuiApplication::clipboard()->text().split("\r\n");
    ASSERT_EQ(Lines.size(), 1 + 90 + 1);
    EXPECT_EQ(Lines[0], "Zenith angle Red Green Blue Gap");
    EXPECT_EQ(Lines[1], "0.00 0.00 0.07 0.14 0.21");
}
