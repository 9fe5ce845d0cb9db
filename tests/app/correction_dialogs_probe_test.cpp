// The filter and the control-point correction as "tam32-probe" drives
// them: the kernel dialog, the filter routine, the control-point dialog and
// the control-point tool of the whole program.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <utility>
#include <vector>

namespace tam32 {
namespace {

class CorrectionDialogsProbeTest : public ::testing::Test {
protected:
    void SetUp() override {
        QImage grey(8, 6, QImage::Format_RGB888);
        grey.fill(QColor(90, 90, 90));
        Image = Path("grey.bmp");
        ASSERT_TRUE(grey.save(Image));
    }
    QString Path(const char* Name) const { return Folder.filePath(QLatin1String(Name)); }
    QString Write(const char* Name, const QByteArray& Text) const {
        QFile file(Path(Name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Text);
        return file.fileName();
    }
    // The lines printed, and the exit code in ExitCode.
    QStringList Probe(const QStringList& Args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), Folder.path());
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(QStringLiteral(TAM32_BIN_DIR "/tam32-probe"), Args);
        EXPECT_TRUE(probe.waitForFinished(60000));
        ExitCode = probe.exitCode();
        return QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir Folder;
    QString Image;
    int ExitCode = -1;
};

TEST_F(CorrectionDialogsProbeTest, KernelPrintsTheStoredKernelAndRunFiltersWithIt) {
    const QString kernel = Write("kernel.txt", "3\n0 1 2\n3 4 5\n6 7 8\n36\n");
    QStringList lines = Probe({"kernel", kernel});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_EQ(lines, (QStringList{"FilterDefined = 1", "FilterSize = 3", "FilterDivisor = 36",
                                  "FilterKernel[0] = 0 1 2", "FilterKernel[1] = 3 4 5", "FilterKernel[2] = 6 7 8"}));
    lines = Probe({"kernel", Write("even.txt", "4 1 1 1 1")});
    EXPECT_EQ(ExitCode, 2);
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].startsWith("BOX: ")) << lines[0].toStdString();

    lines = Probe({"run", "FilterImageFile", Image, "--kernel", kernel, "--dst", Path("out.bmp")});
    EXPECT_EQ(ExitCode, 0);
    const QImage filtered(Path("out.bmp"));
    // The top left pixel sums the weights of the offsets that lie inside: 4 + 5 + 7 + 8.
    EXPECT_EQ(qRed(filtered.pixel(0, 0)), 60);
    EXPECT_EQ(qRed(filtered.pixel(3, 3)), 90);
}

TEST_F(CorrectionDialogsProbeTest, GcpPrintsTheFitTheExtentAndTheSizeAndWritesTheCorrection) {
    const QString points = Write("points.txt", "0 0 1 1\n6 0 7 1\n0 4 1 5\n3 3\n");
    QStringList lines =
        Probe({"gcp", points, "--auto-size", "--pixel", "0.5", "--unit", "1", "--correct", Image, Path("gcp.bmp")});
    EXPECT_EQ(ExitCode, 0);
    // The coefficients of X and Y themselves come from the fit in centred
    // coordinates, to the last digits or so.
    ASSERT_EQ(lines.size(), 11);
    const auto Coefficients = [](const QString& Line) {
        std::vector<double> values;
        for (const QString& word : Line.section(QStringLiteral(" = "), 1).split(QLatin1Char(' ')))
            values.push_back(word.toDouble());
        return values;
    };
    for (const auto& [line, expected] : {std::pair(lines[4], std::vector<double>{1, 1, 0}),
                                         std::pair(lines[5], std::vector<double>{1, 0, 1})}) {
        SCOPED_TRACE(line.toStdString());
        const std::vector<double> got = Coefficients(line);
        ASSERT_EQ(got.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_NEAR(got[i], expected[i], 1e-14);
    }
    EXPECT_TRUE(lines[4].startsWith("CoefCol = ") && lines[5].startsWith("CoefRow = "));
    lines.remove(4, 2);
    EXPECT_EQ(lines, (QStringList{"GRID DataGrid 1 0: 0.000", "GRID DataGrid 2 0: 0.000", "GRID DataGrid 3 0: 0.000",
                                  "GRID DataGrid 4 0: ", "im_x0 = 0", "im_x1 = 6", "im_y0 = 0", "im_y1 = 4",
                                  "Image_Size = 12×8[5.08 dpi]"}));
    EXPECT_EQ(QImage(Path("gcp.bmp")).size(), QSize(12, 8));

    lines = Probe({"gcp", Write("four.txt", "0 0 1 1\n6 0 7 1\n0 4 1 5\n2 1 3 2\n"), "--order", "2"});
    EXPECT_EQ(ExitCode, 2);
    EXPECT_EQ(lines, QStringList{"BOX: Error: the fit cannot be solved!"});
    lines = Probe({"gcp", points, "--extent", "0,6,4,0", "--pixel", "1"});
    EXPECT_EQ(ExitCode, 2);
    ASSERT_GE(lines.size(), 2);
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("STATUS: ")) << lines.join('\n').toStdString();
    EXPECT_EQ(lines.last(), "BOX: " + lines[lines.size() - 2].mid(8) + " (Output extent Y1)");
}

TEST_F(CorrectionDialogsProbeTest, TheProgramsControlPointToolFillsTheDialogThatTheScriptTypesInto) {
    const QString script = Write("script.txt", QStringLiteral("open %1\n"
                                                              "tool StartGetGCP\n"
                                                              "click 1,1\nclick 7,1\nclick 1,5\n"
                                                              "gcp 1 0 0\ngcp 2 6 0\ngcp 3 0 4\n"
                                                              "gcp press Analyze\ngcp press Auto_Size\n"
                                                              "gcp type Pixel_Size 2\ngcp press Calc_IMS\n"
                                                              "command DoAfineTrans %2\n")
                                                   .arg(Image, Path("tool.bmp"))
                                                   .toUtf8());
    Probe({"gui", script});
    EXPECT_EQ(ExitCode, 0);
    EXPECT_EQ(QImage(Path("tool.bmp")).size(), QSize(3, 2));
}

}  // namespace
}  // namespace tam32
