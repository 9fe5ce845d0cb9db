#pragma once
// A clean engine for each analysis test: built-in settings, the recording
// host, and synthetic BMP photographs written to a private folder.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <functional>

#include "RecordingEngineHost.h"
#include "analysis/core/AnalysisImage.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/DecodedImageCache.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/core/RowBlocks.h"
#include "import/SPIBitmap.h"
#include "import/SPIs.h"

namespace tam32::test {

struct TRgb {
    uint8_t R = 0, G = 0, B = 0;
};

// The image plug-ins beside the test program, as the program finds its own.
class TPlugins {
public:
    TPlugins() {
        RegisterSPIBitmap();
        FHost.OnSearch = KeepInputPlugins;
        FHost.Loaded();
    }
    ~TPlugins() { UnregisterSPIBitmap(); }

private:
    TSPIs FHost;
};

class AnalysisFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
        FreeAnalysisImage();
        ClearDecodedImageCache();
        ASSERT_TRUE(Folder.isValid());
        // Messages come back as their keys, so tests can see which one was shown.
        const QString Msg = Folder.filePath(QStringLiteral("Tam32.msg"));
        QFile File(Msg);
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        QByteArray Text = "[LOCALE]\r\nLOCALE=EN\r\n[ERROR_CODE_EN]\r\n";
        for (int I = 1; I <= 35; ++I) {
            Text += QByteArray("ERR") + QByteArray::number(I) + "=ERR" + QByteArray::number(I);
            if (I == 24) Text += " %s: %s";  // the file and the system's reason
            Text += "\r\n";
        }
        Text += "[INSTRUCTION_CODE_EN]\r\n";
        for (int I = 1; I <= 10; ++I) Text += QByteArray("MSG") + QByteArray::number(I) + "=MSG" + QByteArray::number(I) + "\r\n";
        File.write(Text);
        File.close();
        SetMessageFolder(Folder.path());
    }
    // Adds lines (CR LF each) to the end of the message file, e.g. a
    // [DIALOG_CODE_EN] section with the texts that a test reads.
    void AppendMessages(const QByteArray& Lines) {
        QFile File(Folder.filePath(QStringLiteral("Tam32.msg")));
        ASSERT_TRUE(File.open(QIODevice::Append));
        File.write(Lines);
    }
    void TearDown() override {
        FreeAnalysisImage();
        ClearDecodedImageCache();
        SetMessageFolder(QString());
        SetAnalysisThreads(0);
    }
    // Before each of several runs compared with one another: the settings and
    // state of a fresh test, then Setup's settings, Threads analysis threads
    // and none of the host's lines yet.
    void PrepareRun(const std::function<void()>& Setup, int Threads) {
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
        Setup();
        SetAnalysisThreads(Threads);
        Host.StatusTexts.clear();
        Host.ResultLines.clear();
        Host.Charts.clear();
    }

    // A file of Bytes in the private folder; its path.
    QString Write(const QString& Name, const QByteArray& Bytes) {
        const QString Path = Folder.filePath(Name);
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
        return Path;
    }

    // A W x H BMP whose pixel (x, y) is Paint(x, y).
    QString WriteImage(const QString& Name, int W, int H, const std::function<TRgb(int X, int Y)>& Paint) {
        QImage Image(W, H, QImage::Format_RGB888);
        for (int Y = 0; Y < H; ++Y) {
            uint8_t* Row = Image.scanLine(Y);
            for (int X = 0; X < W; ++X) {
                const TRgb C = Paint(X, Y);
                Row[X * 3] = C.R;
                Row[X * 3 + 1] = C.G;
                Row[X * 3 + 2] = C.B;
            }
        }
        const QString Path = Folder.filePath(Name);
        EXPECT_TRUE(Image.save(Path, "BMP"));
        return Path;
    }

    // A disc of colour Inside on black, centred on the corner (Cx, Cy)
    // (pixel centres within R of it are inside).
    QString WriteDisc(const QString& Name, int W, int H, double Cx, double Cy, double R, TRgb Inside) {
        return WriteImage(Name, W, H, [=](int X, int Y) {
            const double Dx = X + 0.5 - Cx, Dy = Y + 0.5 - Cy;
            return Dx * Dx + Dy * Dy <= R * R ? Inside : TRgb{};
        });
    }

    QTemporaryDir Folder;
    TRecordingEngineHost Host;
};

}  // namespace tam32::test
