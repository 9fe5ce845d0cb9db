// The object commands from the frame: the labelling's menu item and tool
// button, and the hidden skeleton item, each on the active image window; and
// the same through "tam32-probe" from outside.
#include <gtest/gtest.h>

#include <QPainter>
#include <QProcess>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/frame_fixture.h"
#include "windows/LeafImageWindow.h"

namespace tam32 {
namespace {

class LabellingFrameTest : public test::FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ThresholdMethod = 2;  // white is the target
        FixedThreshold = 128;
        ThresholdCondition = 0;
        MinLabelledArea = 0;
        ShowLabelledNumber = false;
    }
    void TearDown() override {
        FrameTest::TearDown();
        ResetSettingsToDefaults();
    }
};

// The status text that a message of Code shows.
QString StatusOf(void (*Show)(const QString&), const char* Code) {
    test::TRecordingEngineHost host;
    Show(QLatin1String(Code));
    return host.LastStatus();
}

TEST_F(LabellingFrameTest, MenuItemAndButtonLabelTheActiveWindowAndTheHiddenItemMeasuresLines) {
    Frame->MenuItem("DoLabellAnalysis1")->trigger();  // no window: nothing
    EXPECT_TRUE(Host.ResultLines.empty());

    const QString file = test::WriteObjects(Files.filePath(QStringLiteral("objects.bmp")));
    Frame->CreateMDIChild(file, false);
    TLeafImageWindow* window = Frame->ActiveImageWindow();
    BinarizeTarget = 4;  // a colour search without a picked colour
    Frame->MenuItem("DoLabellAnalysis1")->trigger();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR6"));
    BinarizeTarget = 2;

    Frame->MenuItem("DoLabellAnalysis1")->trigger();
    const std::vector<QString> report{QStringLiteral("Area estimation (labelling)"),
                                      QStringLiteral("No.\tPixels\tArea(mm^2)"), QStringLiteral("1\t16\t 1.03"),
                                      QStringLiteral("2\t11\t 0.71")};
    EXPECT_EQ(Host.ResultLines, report);
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowInstructionMessage, "MSG1"));
    EXPECT_TRUE(window->FAnalysed);
    EXPECT_EQ(window->Picture().Image().pixelColor(4, 4), QColor(Qt::red));
    EXPECT_EQ(window->Picture().Image().pixelColor(20, 20), QColor(Qt::white));
    // With the numbers: black text and circles on the white.
    ShowLabelledNumber = true;
    Host.ResultLines.clear();
    Frame->ToolButton("SpeedButton9")->trigger();
    EXPECT_EQ(Host.ResultLines, report);
    int black = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) black += window->Picture().Image().pixelColor(x, y) == QColor(Qt::black);
    EXPECT_GT(black, 10);

    Host.ResultLines.clear();
    EXPECT_FALSE(Frame->MenuItem("DoTopoAnalysis1")->isVisible());
    window->FTagArea = QRect(QPoint(24, 12), QPoint(38, 18));
    Frame->MenuItem("DoTopoAnalysis1")->trigger();
    EXPECT_EQ(Host.ResultLines, std::vector<QString>{QStringLiteral("Length=0.25cm")});
    EXPECT_EQ(window->Picture().Image().pixelColor(30, 15), QColor(100, 100, 0));  // traced
    EXPECT_EQ(window->Picture().Image().pixelColor(30, 14), QColor(Qt::black));

    ASSERT_TRUE(QFile::remove(file));
    Frame->MenuItem("DoLabellAnalysis1")->trigger();
    EXPECT_EQ(Host.LastStatus(), StatusOf(ShowErrorMessage, "ERR5"));
}

TEST(LabellingProbeTest, RunPrintsTheReportAndItsFileAndPaintsTheMaskAndGuiReachesTheItem) {
    QTemporaryDir folder;
    const QString image = test::WriteObjects(folder.filePath(QStringLiteral("objects.bmp")));
    const QString out = folder.filePath(QStringLiteral("out.bmp"));
    const QStringList fixed{"--set", "ThresholdMethod=2",    "--set", "FixedThreshold=128",
                            "--set", "ThresholdCondition=0", "--set", "MinLabelledArea=0"};
    const auto probe = [&](const QStringList& Args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), folder.path());
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TAM32_BIN_DIR "/tam32-probe"), Args + fixed);
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        return QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    QStringList lines = probe({"run", "LabellAnalysis", image, "--set", "ShowLabelledNumber=0", "--set",
                               "LabelTraceVectorize=1", "--set", "LabelTraceVectorFolder=" + folder.path() + "/",
                               "--print", "LabelledObjectCount", "--out", out});
    EXPECT_TRUE(lines.contains("MEMO: 2\t11\t 0.71")) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines.contains("FILE: " + folder.filePath(QStringLiteral("objectsvec"))));
    EXPECT_TRUE(lines.contains("LabelledObjectCount = 2"));
    // Every target pixel red, the rest of the area white.
    const QImage source(image), painted(out);
    for (int y = 0; y < source.height(); ++y)
        for (int x = 0; x < source.width(); ++x)
            ASSERT_EQ(painted.pixelColor(x, y),
                      source.pixelColor(x, y) == QColor(Qt::white) ? QColor(Qt::red) : QColor(Qt::white));

    lines = probe({"run", "TopoAnalysis", image, "--area", "24,12,38,18"});
    EXPECT_TRUE(lines.contains("MEMO: Length=0.25cm")) << lines.join('\n').toStdString();

    const QString script = folder.filePath(QStringLiteral("script.txt"));
    QFile file(script);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(("open " + image + "\nmenu DoLabellAnalysis1\n").toUtf8());
    file.close();
    lines = probe({"gui", script});
    EXPECT_TRUE(lines.contains("MEMO: 1\t16\t 1.03")) << lines.join('\n').toStdString();
}

}  // namespace
}  // namespace tam32
