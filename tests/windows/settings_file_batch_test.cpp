// The leaf area index batch over a settings file: one row for each line that
// names an existing image, each with the target and thresholds of its line.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTimer>

#include "analysis/RecordingEngineHost.h"
#include "analysis/canopy/GapFraction.h"
#include "analysis/canopy/LAIReports.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/Exceptions.h"
#include "windows/image_window_fixture.h"

namespace tam32 {
namespace {

// A sky disc of radius 24 about (32, 32) whose colours spread over every
// level, so that each threshold and channel sees its own gaps.
QImage Sky(int Width, int Height) {
    QImage image(Width, Height, QImage::Format_RGB888);
    image.fill(Qt::black);
    for (int y = 0; y < Height; ++y)
        for (int x = 0; x < Width; ++x)
            if ((x - 32) * (x - 32) + (y - 32) * (y - 32) < 24 * 24)
                image.setPixelColor(x, y, QColor((x * 37 + y) % 256, (y * 29 + x) % 256, (x * y) % 256));
    return image;
}

class SettingsFileBatchTest : public test::ImageWindowTest {
protected:
    void SetUp() override {
        ImageWindowTest::SetUp();
        // The images lie beside the settings file, in a folder that is not the current one.
        ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("photos")));
        Photos = QDir(Folder.filePath(QStringLiteral("photos")));
        ASSERT_TRUE(Sky(64, 64).save(Photos.filePath(QStringLiteral("a01.bmp"))));
        ASSERT_TRUE(Sky(64, 64).mirrored().save(Photos.filePath(QStringLiteral("a 02.bmp"))));
        OpenWindow(Sky(64, 64), QStringLiteral("window.bmp"));
        Window->FCircleX = 32;
        Window->FCircleY = 32;
        Window->FCircleSet = true;
        Window->SetCircleDiameter(48);
    }
    void RunBatch(const QByteArray& Lines) {
        const QString file = Photos.filePath(QStringLiteral("batch.txt"));
        QFile settings(file);
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly | QIODevice::Truncate));
        settings.write(Lines);
        settings.close();
        Host.ResultLines.clear();
        Window->DoLAIEstimateUseSettingFile(file);
    }
    QDir Photos;
};

TEST_F(SettingsFileBatchTest, EachLineNamingAnImageGivesOneRowWithItsTargetAndThresholds) {
    RunBatch("a01.bmp,2,128\r\n\r\nmissing.bmp,2,128\r\n\"a 02.bmp\",5,120,130,140\r\nx.bmp\r\na01.bmp,abc\r\n");
    // Then the notes of the three lines passed over.
    ASSERT_EQ(Host.ResultLines.size(), 7u);
    EXPECT_EQ(Host.ResultLines[0], QStringLiteral("Cx=32,Cy=32,r=24"));
    EXPECT_EQ(Host.ResultLines[1], kBatchResultHeader);
    EXPECT_TRUE(Host.ResultLines[2].startsWith(QStringLiteral("a01.bmp,Blue,Fixed(128),"))) << Host.ResultLines[2].toStdString();
    EXPECT_TRUE(Host.ResultLines[3].startsWith(QStringLiteral("a 02.bmp,RGB,Fixed(121 131 141),")))
        << Host.ResultLines[3].toStdString();
    // Each line's settings last for its own row only.
    EXPECT_EQ(BinarizeTarget, 2);
    EXPECT_EQ(ThresholdMethod, 0);
    EXPECT_TRUE(Window->FAnalysed);
}

TEST_F(SettingsFileBatchTest, AnImageSmallerThanTheBoxAreaIsAnalysedWhole) {
    ASSERT_TRUE(Sky(50, 40).save(Photos.filePath(QStringLiteral("small.bmp"))));
    RunBatch("small.bmp,1,90\n");
    ASSERT_EQ(Host.ResultLines.size(), 3u);
    const QString batchRow = Host.ResultLines[2];

    Host.ResultLines.clear();
    BinarizeTarget = 1;
    ThresholdMethod = 2;
    FixedThreshold = 90;
    TBitmap picture;
    const QString small = Photos.filePath(QStringLiteral("small.bmp"));
    ASSERT_FALSE(GapFractionAnalysis(small, picture, {0, 0, 49, 39}));
    AddBatchResultLine(small);
    EXPECT_EQ(batchRow, Host.ResultLines.back());
}

TEST_F(SettingsFileBatchTest, ASkippedLineChangesNoSetting) {
    BinarizeTarget = 1;
    ThresholdMethod = 2;
    FixedThreshold = 77;
    SetRGBThresholds(5, 6, 7);
    const char* const skipped[] = {
        "a01.bmp,0,1,2",        // no threshold of its own under the fixed one in force
        "a01.bmp,3",            "a01.bmp,4", "a01.bmp,5,1,2", "a01.bmp,2,256", "a01.bmp,2,-3",
        "a01.bmp,5,1,2,255",    "a01.bmp,2,12.5", "a01.bmp,x7", "missing.bmp,2,128", "a01.bmp",
        "photos,2,128",  // a folder
        "a01.bmp,7",            "a01.bmp,-1",
    };
    for (const char* line : skipped) {
        SCOPED_TRACE(line);
        RunBatch(line);
        // The circle, the header and the note of the line passed over.
        EXPECT_EQ(Host.ResultLines.size(), 3u);
        EXPECT_EQ(BinarizeTarget, 1);
        EXPECT_EQ(ThresholdMethod, 2);
        EXPECT_EQ(FixedThreshold, 77);
        int r = 0, g = 0, b = 0;
        GetRGBThresholds(r, g, b);
        EXPECT_EQ(std::tuple(r, g, b), std::tuple(5, 6, 7));
    }
}

TEST_F(SettingsFileBatchTest, AMissingClassifierOrColourOrAFailedRunEndsTheBatch) {
    struct TCase {
        const char* Lines;
        const char* Error;
    };
    const TCase cases[] = {
        {"a01.bmp,3\na01.bmp,2,128\n", "ERR6"},
        {"a01.bmp,4\na01.bmp,2,128\n", "ERR6"},
        {"a01.bmp,2,128\na01.bmp,2,128\n", "ERR7"},  // a box beyond the image
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Lines);
        ThresholdMethod = 0;
        Window->FTagArea = c.Error == std::string("ERR7") ? QRect(100, 100, 10, 10) : QRect(0, 0, 64, 64);
        RunBatch(c.Lines);
        EXPECT_EQ(Host.ResultLines.size(), 2u);
        EXPECT_EQ(Host.LastStatus(), test::StatusOf(ShowErrorMessage, c.Error));
    }
}

TEST_F(SettingsFileBatchTest, WithoutACircleTheBatchSaysSoInTheStatusBarAndInItsReport) {
    Window->FCircleSet = false;
    RunBatch("a01.bmp,2,128\n");
    const QString noCircle = test::StatusOf(ShowErrorMessage, "ERR10");
    EXPECT_EQ(Host.LastStatus(), noCircle);
    EXPECT_EQ(Host.ResultLines, std::vector<QString>{noCircle});
}

// A line that names no image file or a target beyond 0..5, whose file is
// missing or does not load, or that has no thresholds under the fixed
// method, has no row: the report says so at the end, with its line number
// (empty lines count but are not noted), its file as written and why; a
// picture that does not load shows no message of its own.
TEST_F(SettingsFileBatchTest, TheLinesPassedOverAreReportedAtTheEndWithTheirReasons) {
    QFile broken(Photos.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM not a picture");
    broken.close();
    RunBatch("a01.bmp,2,128\r\n"
             "\r\n"
             "missing.bmp,2,128\r\n"
             "\"a 02.bmp\",7\r\n"
             "broken.bmp,2,128\r\n"
             "a01.bmp,abc\r\n"
             "   \r\n"
             "a 02.bmp,1\r\n"
             "a01.bmp,1,90\r\n");
    ASSERT_EQ(Host.ResultLines.size(), 9u);
    EXPECT_TRUE(Host.ResultLines[2].startsWith(QStringLiteral("a01.bmp,Blue,Fixed(128),")));
    EXPECT_TRUE(Host.ResultLines[3].startsWith(QStringLiteral("a01.bmp,Green,Fixed( 90),")));
    const auto Note = [](int Line, const char* File, const QString& Why) {
        return FormatDialogMessage(QStringLiteral("DMS110"), {Line, QString::fromUtf8(File), Why});
    };
    const QString notALine = GetDialogMessage(QStringLiteral("DMS111"));
    EXPECT_EQ(Host.ResultLines[4], Note(3, "missing.bmp", GetDialogMessage(QStringLiteral("DMS112"))));
    EXPECT_EQ(Host.ResultLines[5], Note(4, "a 02.bmp", notALine));
    const QString unloaded = Note(5, "broken.bmp", FormatDialogMessage(QStringLiteral("DMS113"), {QString()}));
    EXPECT_TRUE(Host.ResultLines[6].startsWith(unloaded.left(unloaded.indexOf(QLatin1Char('(')) + 1)))
        << Host.ResultLines[6].toStdString();
    EXPECT_GT(Host.ResultLines[6].size(), unloaded.size());  // with the loader's reason
    EXPECT_EQ(Host.ResultLines[7], Note(6, "a01.bmp", notALine));
    EXPECT_EQ(Host.ResultLines[8], Note(8, "a", notALine));  // a name with a blank needs quotes
    EXPECT_TRUE(Host.Messages.empty());
    for (const QString& line : Host.ResultLines) EXPECT_FALSE(line.contains(QLatin1String("ERROR")));

    ThresholdMethod = 2;
    RunBatch("a01.bmp,1\n");
    ASSERT_EQ(Host.ResultLines.size(), 3u);
    EXPECT_EQ(Host.ResultLines[2], Note(1, "a01.bmp", GetDialogMessage(QStringLiteral("DMS114"))));
}

TEST_F(SettingsFileBatchTest, AClassificationLineAsksForItsGroupsAndCancellingEndsTheBatch) {
    ClassifyDone = true;
    DiscLastGroup = 1;
    QString asked;
    QTimer::singleShot(0, [&asked] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            asked = QString::fromLatin1(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    RunBatch("a01.bmp,3\na01.bmp,2,128\n");
    EXPECT_EQ(asked, QStringLiteral("tam32::TTamOptionDialog"));
    EXPECT_EQ(Host.ResultLines.size(), 2u);
    EXPECT_TRUE(OptionsCancelled);
}

TEST_F(SettingsFileBatchTest, AFileThatCannotBeReadOrAMethodWithoutANameWritesNothing) {
    EXPECT_THROW(Window->DoLAIEstimateUseSettingFile(Photos.filePath(QStringLiteral("none.txt"))), EFOpenError);
    EXPECT_TRUE(Host.ResultLines.empty());
    ThresholdMethod = 9;  // from a settings file edited by hand
    RunBatch("a01.bmp,2\n");
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_EQ(Host.LastStatus(), test::StatusOf(ShowErrorMessage, "ERR22"));
}

}  // namespace
}  // namespace tam32
