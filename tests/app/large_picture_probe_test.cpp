// "tam32-probe" reads the pictures of its routines as the program's window
// reads them, so a photograph over Qt's own reading limit (128 MB decoded)
// is analysed as the program analyses it.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "common/probe_process.h"
#include "import/picture_writers.h"

namespace tam32 {
namespace {

TEST(LargePictureProbeTest, LabelsA48MegapixelJpeg) {
    QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("squares.jpg"));
    // 8000 x 6000 pixels, black but for a white square in each 1000-pixel cell.
    const std::vector<uint8_t> jpeg = test::WriteJpeg({.Width = 8000, .Height = 6000, .Pixel = [](int X, int Y, int) {
        const bool inSquare = X % 1000 >= 400 && X % 1000 < 600 && Y % 1000 >= 400 && Y % 1000 < 600;
        return uint8_t(inSquare ? 255 : 0);
    }});
    QFile file(picture);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(reinterpret_cast<const char*>(jpeg.data()), qint64(jpeg.size()));
    file.close();
    const test::TProbeRun run =
        test::RunProbe({"run", "LabellAnalysis", picture, "--set", "ThresholdCondition=0", "--set", "ThresholdMethod=2",
                        "--set", "FixedThreshold=128", "--print", "LabelledObjectCount"},
                       folder.path());
    EXPECT_EQ(run.ExitCode, 0) << run.Lines.join('\n').toStdString();
    EXPECT_TRUE(run.Lines.contains(QStringLiteral("LabelledObjectCount = 48"))) << run.Lines.join('\n').toStdString();
}

}  // namespace
}  // namespace tam32
