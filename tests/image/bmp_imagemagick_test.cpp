// Files written by another encoder (ImageMagick) at every depth it writes
// in the 40-byte header format: the model's 24-bit decoding must equal
// ImageMagick's own decoding pixel for pixel. Skipped when ImageMagick is
// not installed.
#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "image/PxDIB.h"

using namespace tam32;

namespace {

QString ImageMagick() {
    for (const char* name : {"convert-im6.q16", "convert-im6", "magick"}) {
        const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!path.isEmpty()) return path;
    }
    return {};
}

QByteArray RunTool(const QString& Program, const QStringList& Args) {
    QProcess process;
    process.start(Program, Args);
    process.waitForFinished(60000);
    return process.readAllStandardOutput();
}

}  // namespace

TEST(BmpFromImageMagick, EveryDepthDecodesLikeImageMagick) {
    const QString magick = ImageMagick();
    if (magick.isEmpty()) GTEST_FAIL() << "ImageMagick's convert is missing: install the Debian package imagemagick";
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("in.ppm"));
    RunTool(magick, {QStringLiteral("-size"), QStringLiteral("37x23"), QStringLiteral("gradient:red-blue"),
                 QStringLiteral("-fx"), QStringLiteral("u + 0.3*sin(i/3)*j/23"), source});
    const std::vector<std::pair<const char*, QStringList>> variants = {
        {"t24.bmp", {QStringLiteral("-type"), QStringLiteral("TrueColor")}},
        {"t8.bmp", {QStringLiteral("-colors"), QStringLiteral("200"), QStringLiteral("-type"), QStringLiteral("Palette"),
                    QStringLiteral("-compress"), QStringLiteral("None")}},
        {"t8rle.bmp", {QStringLiteral("-colors"), QStringLiteral("200"), QStringLiteral("-type"),
                       QStringLiteral("Palette"), QStringLiteral("-compress"), QStringLiteral("RLE")}},
        {"t4.bmp", {QStringLiteral("-colors"), QStringLiteral("16"), QStringLiteral("-type"), QStringLiteral("Palette"),
                    QStringLiteral("-compress"), QStringLiteral("None")}},
        {"t1.bmp", {QStringLiteral("-monochrome")}},
    };
    for (const auto& [name, options] : variants) {
        SCOPED_TRACE(name);
        const QString file = dir.filePath(QString::fromLatin1(name));
        RunTool(magick, QStringList{source} + options + QStringList{QStringLiteral("BMP3:") + file});
        const QByteArray expected =
            RunTool(magick, {file, QStringLiteral("-depth"), QStringLiteral("8"), QStringLiteral("rgb:-")});
        ASSERT_EQ(expected.size(), 37 * 23 * 3);

        TPxDIB dib;
        dib.LoadFromFile(file);
        dib.SetPixelFormat(pxPf24Bit);
        ASSERT_EQ(dib.Width(), 37);
        ASSERT_EQ(dib.Height(), 23);
        int mismatches = 0;
        for (int y = 0; y < 23; ++y) {
            const uint8_t* row = dib.GetScanLine(y);
            for (int x = 0; x < 37; ++x) {
                const auto* rgb = reinterpret_cast<const uint8_t*>(expected.constData()) + (y * 37 + x) * 3;
                if (row[3 * x + 2] != rgb[0] || row[3 * x + 1] != rgb[1] || row[3 * x] != rgb[2]) ++mismatches;
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}
