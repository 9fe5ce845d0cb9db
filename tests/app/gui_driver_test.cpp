// The whole program driven from outside through "tam32-probe gui": scripts of
// a user's steps, what the program shows, and how it ends.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace tam32 {
namespace {

const QString kPhoto = QStringLiteral(TAM32_SHARED_DATA_DIR "/fisheye-coolpix5700-fce9.jpg");
const QString kRosette = QStringLiteral(TAM32_SHARED_DATA_DIR "/rosette-red-square.jpg");

class GuiDriverTest : public ::testing::Test {
protected:
    struct TRun {
        int ExitCode = -1;
        QStringList Lines;
        QString Errors;
        bool Has(const QString& Line) const { return Lines.contains(Line); }
    };

    // Runs Script with its own temporary folder, where the program puts its
    // private folder of pasted pictures.
    TRun Run(const QStringList& Script, const QStringList& Options = {}) {
        const QString scriptFile = Work.filePath(QStringLiteral("script.txt"));
        QFile file(scriptFile);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Script.join(QLatin1Char('\n')).toUtf8());
        file.close();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TMPDIR"), Temp.path());
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Work.path());
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(TAM32_BIN_DIR "/tam32-probe"), QStringList{QStringLiteral("gui"), scriptFile} + Options);
        TRun run;
        if (!probe.waitForFinished(60000)) {
            probe.kill();
            ADD_FAILURE() << "the program did not end";
            return run;
        }
        run.ExitCode = probe.exitStatus() == QProcess::NormalExit ? probe.exitCode() : -1;
        run.Lines = QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        run.Errors = QString::fromUtf8(probe.readAllStandardError());
        return run;
    }

    // A grey picture with a bright disc, written as a BMP.
    QString Picture() {
        QImage image(120, 90, QImage::Format_RGB888);
        image.fill(QColor(40, 60, 40));
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                if ((x - 60) * (x - 60) + (y - 45) * (y - 45) < 30 * 30) image.setPixelColor(x, y, Qt::white);
        const QString name = Work.filePath(QStringLiteral("disc.bmp"));
        EXPECT_TRUE(image.save(name));
        return name;
    }

    QStringList TemporaryFolders() const { return QDir(Temp.path()).entryList({QStringLiteral("tam32-*")}, QDir::Dirs); }

    QTemporaryDir Work;
    QTemporaryDir Temp;
};

TEST_F(GuiDriverTest, ThreePointsOnThePhotographsEdgeGiveItsCircleAndTheLaiReport) {
    if (!QFile::exists(kPhoto)) GTEST_SKIP() << "shared photographs not present: " << kPhoto.toStdString();
    const TRun run = Run({QStringLiteral("open ") + kPhoto, "tool StartCircleAreaBy3Points", "click 520,980",
                          "click 1276,224", "click 2032,980", "print Circle", "menu DoLAIEstimate1"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("Circle = 1276 980 756")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("MEMO: Circle centre: (1276,980)"));
    const auto lai = std::find_if(run.Lines.begin(), run.Lines.end(),
                                  [](const QString& Line) { return Line.startsWith("MEMO: LAI(PCA):"); });
    ASSERT_NE(lai, run.Lines.end());
    EXPECT_GT(lai->section(':', 2).trimmed().toDouble(), 0.5);
    EXPECT_TRUE(run.Has("STATUS: Finished."));
    EXPECT_TRUE(run.Has("CHART: Gap fraction by zenith angle"));
}

TEST_F(GuiDriverTest, PromptsTakeTheQueuedAnswersInOrderAndStopTheScriptWithoutOne) {
    const QString picture = Picture();
    TRun run = Run({"open " + picture, "answer text:50", "command SetCircleAreaDiameter", "print Circle",
                    "answer no", "menu ImageViewOriginal1", "print FCircleSet"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("PROMPT input: Diameter of the image circle (pixels): => text:50"));
    EXPECT_TRUE(run.Has("Circle = 60 45 25")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("PROMPT confirm: Keep the image circle on the reloaded image? => no"));
    EXPECT_TRUE(run.Has("FCircleSet = 0"));

    run = Run({"open " + picture, "command SetCircleAreaDiameter", "print Circle"});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_TRUE(run.Has("PROMPT input: Diameter of the image circle (pixels): => none"));
    EXPECT_FALSE(run.Lines.join('\n').contains("Circle ="));

    EXPECT_EQ(Run({"open " + picture, "frobnicate"}).ExitCode, 3);
}

TEST_F(GuiDriverTest, EachFileDialogTakesItsOwnAnswer) {
    const QString first = Picture();
    const QString second = Work.filePath(QStringLiteral("second.bmp"));
    ASSERT_TRUE(QFile::copy(first, second));
    const TRun run = Run({"answer file:" + first, "menu FileOpenItem", "answer file:" + second, "menu FileOpenItem",
                          "windows"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("WINDOW 1: " + first)) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("WINDOW 2: " + second));
}

TEST_F(GuiDriverTest, MouseStepsLandOnTheImagePixelsAtAnyZoom) {
    // A dragged diameter from S to P: the centre halfway, the radius from the
    // pixel before the centre to S, here Round(sqrt(29² + 1²)) = 29.
    const QString picture = Picture();
    const TRun run = Run({"open " + picture, "zoom out", "tool StartMouseDetectCircleArea", "drag 30,44 90,44",
                          "print Circle", "zoom in", "zoom in", "tool StartMouseDetectCircleArea",
                          "drag 31,45 91,45", "print Circle"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("Circle = 60 44 29")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("Circle = 61 45 29")) << run.Lines.join('\n').toStdString();
}

// Closing the frame ends the program: the results window is one of its
// child windows, and the private folder of pasted pictures goes with it.
TEST_F(GuiDriverTest, TheProgramEndsWhenTheFrameCloses) {
    const QString picture = Picture();
    for (const char* ending : {"menu FileExitItem", "close"}) {
        SCOPED_TRACE(ending);
        const TRun run = Run({"open " + picture, "menu CopyEditedImage", "menu ImagePaste1", "windows",
                              QString::fromLatin1(ending), "windows"});
        EXPECT_EQ(run.ExitCode, 0);
        EXPECT_EQ(run.Lines.count(QStringLiteral("WINDOW 1: ") + picture), 1) << run.Lines.join('\n').toStdString();
        EXPECT_TRUE(run.Lines.filter("WINDOW 2: ").size() == 1);
        EXPECT_TRUE(TemporaryFolders().isEmpty()) << TemporaryFolders().join(' ').toStdString();
    }
}

TEST_F(GuiDriverTest, TheColourToolsAndCommandsRunFromTheirMenuItemsAndSelectors) {
    const QString picture = Picture();
    const TRun run = Run({"open " + picture, "tool StartLineProfile", "drag 10,45 30,45", "menu LineProfile1",
                          "drag 60,10 60,20", "tool StartSearchColors", "answer no", "click 60,45",
                          "print FColorSampled", "menu DoSearchColors1", "answer yes", "click 60,45",
                          "print FColorSampled", "answer cancel", "menu ViewHistgram1", "menu DoSepColorAnalysis1",
                          "menu CalcScaleByArea1", "answer yes", "answer text:4", "answer yes", "drag 20,10 100,80",
                          "print ImageDPI"},
                         {"--set", "BinarizeTarget=0", "--set", "ThresholdCondition=0", "--set", "ThresholdMethod=2",
                          "--set", "FixedThreshold=128"});
    const QString all = run.Lines.join('\n');
    EXPECT_EQ(run.ExitCode, 0) << all.toStdString();
    EXPECT_EQ(run.Lines.count("CHART: Line profile"), 2);
    // Down the disc's column from y = 10: the disc starts at y = 16.
    EXPECT_TRUE(run.Has("SERIES Red: 0,40 1,40 2,40 3,40 4,40 5,40 6,255 7,255 8,255 9,255 10,255"))
        << all.toStdString();
    EXPECT_TRUE(run.Has("FColorSampled = 0"));
    EXPECT_TRUE(run.Has("FColorSampled = 1"));
    EXPECT_TRUE(all.contains(QRegularExpression("PROMPT dialog: DISC.BMP\\(Histgram\\) => cancel")));
    EXPECT_TRUE(run.Has("STATUS: Analysis finished: see the results window.")) << all.toStdString();
    const qsizetype dpi = run.Lines.indexOf(QRegularExpression("ImageDPI = .*"));
    ASSERT_GE(dpi, 0);
    EXPECT_NEAR(run.Lines[dpi].section('=', 1).toDouble(), 67.3, 0.5);
}

TEST_F(GuiDriverTest, SamplesFromTheTableTrainTheClassifierThatPaintsTheImage) {
    QImage image(120, 40, QImage::Format_RGB888);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            image.setPixelColor(x, y, x < 60 ? QColor(40 + x % 5, 120 + y % 3, 30) : QColor(150, 180 + y % 5, 230 - x % 4));
    const QString picture = Work.filePath(QStringLiteral("halves.bmp"));
    ASSERT_TRUE(image.save(picture));
    QStringList script{"open " + picture, "answer colour:$000000FF", "menu StartGetPoints1"};
    for (int i = 0; i < 6; ++i) script << QStringLiteral("click %1,%2").arg(4 + i * 9).arg(3 + i * 6);
    script << "answer colour:$00FF0000" << "table add-group";
    for (int i = 0; i < 6; ++i) script << QStringLiteral("click %1,%2").arg(64 + i * 9).arg(5 + i * 6);
    script << "table run" << "print ClassifyDone" << "menu ViewClassifiedImage1" << "table delete-group 8"
           << "table run" << "print DiscLastGroup";
    const TRun run = Run(script);
    const QString all = run.Lines.join('\n');
    EXPECT_EQ(run.ExitCode, 0) << all.toStdString();
    EXPECT_TRUE(run.Has("PROMPT colour: Select Color => colour:$00FF0000")) << all.toStdString();
    EXPECT_TRUE(run.Has("ClassifyDone = 1")) << all.toStdString();
    EXPECT_TRUE(run.Has("GRID Classification 1 1: 2400"));
    EXPECT_TRUE(run.Has("GRID Classification 2 1: 2400"));
    EXPECT_TRUE(run.Has("STATUS: The classified image is shown."));
    // One group left: the training is refused and the classifier stays.
    EXPECT_TRUE(run.Has("DiscLastGroup = 1"));
}

// Only the buttons a user can click, by the caption they read ("&" not
// read); any other ends the script and says which and why.
TEST_F(GuiDriverTest, ButtonClicksWhereAUserCanAndSaysWhyNotElsewhere) {
    const QString picture = Picture();
    const struct {
        const char* Line;
        const char* Refusal;
    } refused[] = {
        {"button Frobnicate", "missing"},
        // Offscreen the frame is narrower than its tool bar.
        {"button Set North", "in the tool bar's overflow"},
        // On the control-point dialog's other page.
        {"button Calc Image Size", "hidden"},
    };
    for (const auto& refusal : refused) {
        SCOPED_TRACE(refusal.Line);
        const TRun run = Run({"open " + picture, "menu GetGCP", QLatin1String(refusal.Line), "print Circle"});
        EXPECT_EQ(run.ExitCode, 3);
        EXPECT_TRUE(run.Errors.contains(QString::fromLatin1(refusal.Line).section(' ', 1))) << run.Errors.toStdString();
        EXPECT_TRUE(run.Errors.contains(QLatin1String(refusal.Refusal))) << run.Errors.toStdString();
        EXPECT_FALSE(run.Lines.join('\n').contains("Circle ="));
    }
    // A tool bar button by its hint; the file dialog's "&Open" takes no click
    // before a file is chosen.
    const TRun run = Run({"open " + picture, "button LAI Estimate", "answer button Open", "button Open"});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_TRUE(run.Has("STATUS: No image circle has been set.")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("PROMPT file: Open => button Open"));
    EXPECT_TRUE(run.Errors.contains("button \"Open\" in \"Open\": disabled")) << run.Errors.toStdString();
}

// A dialog answered with its own buttons: the filter dialog's OK, not the
// one of the file dialog it holds; one that stays open after a button
// takes the next answer, and one that refuses OK ends the script.
TEST_F(GuiDriverTest, ADialogTakesAnswersUntilItClosesAndOneThatRefusesOkEndsTheScript) {
    const QString picture = Picture();
    TRun run = Run({"open " + picture, "answer ok", "menu SelectFilter", "print FilterDefined"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("FilterDefined = 1")) << run.Lines.join('\n').toStdString();

    QFile kernel(Work.filePath(QStringLiteral("kernel.txt")));
    ASSERT_TRUE(kernel.open(QIODevice::WriteOnly));
    kernel.write("3\n1 2 1\n2 4 2\n1 2 1\n0\n");  // a divisor of 0
    kernel.close();
    run = Run({"open " + picture, "answer button <Load>", "answer file:" + kernel.fileName(), "answer ok",
               "menu SelectFilter", "print FilterDefined"});
    EXPECT_EQ(run.ExitCode, 3);
    EXPECT_TRUE(run.Has("PROMPT dialog: Spatial Filter => ok")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("BOX: Invalid value in the options. (Filter×1/)")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Errors.contains("\"Spatial Filter\" refused ok and stayed open: Invalid value in the options. (Filter×1/)"))
        << run.Errors.toStdString();
    EXPECT_FALSE(run.Lines.join('\n').contains("FilterDefined ="));
}

// The sample table's buttons as a user clicks them train a classifier of
// three colours: the leaves, the red square and the dark lid.
TEST_F(GuiDriverTest, ThreeColoursSampledOnThePhotographTrainByTheTablesButtonsAndPaintTheirClasses) {
    if (!QFile::exists(kRosette)) GTEST_SKIP() << "shared photographs not present: " << kRosette.toStdString();
    const struct {
        const char* Colour;
        QColor Painted;
        std::vector<QPoint> Samples, Others;
    } classes[] = {
        {"$0000FF00", Qt::green, {{1860, 820}, {1540, 860}, {1940, 1100}, {1820, 1200}, {1560, 1180}}, {{1750, 1000}}},
        {"$000000FF", Qt::red, {{700, 950}, {800, 1000}, {850, 1100}, {650, 1150}, {900, 900}}, {{750, 1050}}},
        {"$00FF0000", Qt::blue, {{1360, 720}, {1320, 1200}, {1920, 680}, {1680, 1320}, {1400, 900}}, {{2050, 900}}},
    };
    const QString painted = Work.filePath(QStringLiteral("classified.bmp"));
    QStringList script{"open " + kRosette};
    for (const auto& group : classes) {
        script << QStringLiteral("answer colour:") + QLatin1String(group.Colour);
        script << (&group == classes ? QStringLiteral("menu StartGetPoints1") : QStringLiteral("button Add Group"));
        for (const QPoint& p : group.Samples) script << QStringLiteral("click %1,%2").arg(p.x()).arg(p.y());
    }
    script << "button Discriminate" << "print ClassifyDone" << "menu ViewClassifiedImage1" << "save " + painted;
    const TRun run = Run(script);
    EXPECT_EQ(run.ExitCode, 0) << run.Errors.toStdString();
    EXPECT_TRUE(run.Has("ClassifyDone = 1"));
    EXPECT_TRUE(run.Has("STATUS: The classified image is shown."));
    const QImage image(painted);
    ASSERT_FALSE(image.isNull());
    for (const auto& group : classes)
        for (const std::vector<QPoint>* points : {&group.Samples, &group.Others})
            for (const QPoint& p : *points) EXPECT_EQ(image.pixelColor(p), group.Painted) << p.x() << "," << p.y();
}

TEST_F(GuiDriverTest, TheSettingsFileBatchAndTheGapEstimateRunFromAScript) {
    const QString picture = Picture();
    QFile batch(Work.filePath(QStringLiteral("batch.txt")));
    ASSERT_TRUE(batch.open(QIODevice::WriteOnly));
    batch.write("disc.bmp,1,200\n");
    batch.close();
    TRun run = Run({"open " + picture, "circle 60,45,40", "command DoLAIEstimateUseSettingFile " + batch.fileName()});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("MEMO: Cx=60,Cy=45,r=40")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(std::any_of(run.Lines.begin(), run.Lines.end(),
                            [](const QString& Line) { return Line.startsWith("MEMO: disc.bmp,Green,Fixed(200),"); }));

    const QStringList inputs{"--set", "GapImageFile1=" + picture, "--set", "GapImageFile2=" + picture,
                             "--set", "GapCameraHeight1=1500",    "--set", "GapCameraHeight2=1200",
                             "--set", "GapObjectNo2=3"};
    run = Run({"answer ok", "menu SpeedButton19", "print GapBaseDistance", "print GapObjectNo2", "windows"}, inputs);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_TRUE(run.Has("PROMPT dialog: Setting => ok")) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Has("GapBaseDistance = 0.3"));  // a float, in its own width
    EXPECT_TRUE(run.Has("GapObjectNo2 = 3"));
    EXPECT_TRUE(run.Has("STATUS: Area estimation (labelling) failed."));
    EXPECT_TRUE(run.Has("WINDOW 2: " + picture));

    run = Run({"answer cancel", "menu DoGapEstimate2D", "windows"}, inputs);
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_FALSE(run.Lines.join('\n').contains("WINDOW"));
}

}  // namespace
}  // namespace tam32
