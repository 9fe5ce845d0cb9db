#pragma once
// Helpers of the plug-in host tests: plug-in folders made of chosen test
// plug-ins, a host that searches only them, progress recording, files and
// pixels.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "common/private_dir.h"
#include "import/SPIBitmap.h"
#include "import/SPIPxDIB.h"
#include "import/SPIs.h"
#include "import/UnreadablePicture.h"
#include "platform/MemoryHandle.h"
#include "platform/Stream.h"

namespace tam32::test {

inline QString TestPluginPath(const QString& Name) {
    return QStringLiteral(TAM32_TEST_PLUGIN_DIR "/") + Name + QStringLiteral(".spi");
}
inline QString RealPluginPath(const QString& Name) {
    return QStringLiteral(TAM32_BIN_DIR "/") + Name + QStringLiteral(".spi");
}

inline std::vector<uint8_t> ReadBytes(const QString& FileName) {
    QFile file(FileName);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << FileName.toStdString();
    const QByteArray bytes = file.readAll();
    return {bytes.begin(), bytes.end()};
}

inline void WriteBytes(const QString& FileName, const std::vector<uint8_t>& Bytes) {
    QFile file(FileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << FileName.toStdString();
    file.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<qint64>(Bytes.size()));
}

// A temporary folder of plug-in files copied under names of the test's choice.
class PluginFolder {
public:
    QString Path() const { return FDir.path(); }
    QString File(const QString& Name) const { return FDir.filePath(Name); }
    QString Add(const QString& Source, const QString& Name) {
        const QString target = File(Name);
        EXPECT_TRUE(QFile::copy(Source, target)) << Source.toStdString();
        return target;
    }
    QString Mask() const { return Path() + QStringLiteral("/*.spi"); }

private:
    TPrivateTemporaryDir FDir;
};

// The host as the frame sets it up: image-input plug-ins only, registered
// with the plug-in bitmap. Everything it registered goes with it.
class HostTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterSPIBitmap(); }
    void TearDown() override {
        Host.reset();
        UnregisterSPIBitmap();
        TSPIs::SetDefaultGraphicClass(nullptr);
        OverrideLowColorScreen(std::nullopt);
    }
    TSPIs& MakeHost() {
        Host = std::make_unique<TSPIs>();
        Host->OnSearch = KeepInputPlugins;
        return *Host;
    }
    // A host that loaded Names (test plug-ins) in this order.
    TSPIs& HostWith(std::initializer_list<const char*> Names) {
        TSPIs& host = MakeHost();
        char prefix = 'a';
        for (const char* name : Names)
            Plugins.Add(TestPluginPath(QLatin1String(name)), QString(QLatin1Char(prefix++)) + QLatin1String(name) +
                                                                QStringLiteral(".spi"));
        host.Search(Plugins.Mask());
        return host;
    }

    PluginFolder Plugins;
    TPrivateTemporaryDir Work;
    std::unique_ptr<TSPIs> Host;
};

// The host with the program's own plug-ins, found as the program finds them.
class OwnPluginsTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        MakeHost().Search(QStringLiteral(TAM32_BIN_DIR "/*.spi"));
        ASSERT_EQ(Host->GetCount(), 4);
    }
    QString Path(const char* Name) const { return Work.filePath(QLatin1String(Name)); }
};

struct ProgressReport {
    TObject* Sender;
    TProgressStage Stage;
    int Percent;
    bool RedrawNow;
    TRect R;
    QString Msg;
};

inline TProgressEvent RecordProgress(std::vector<ProgressReport>& Log) {
    return [&Log](TObject* Sender, TProgressStage Stage, uint8_t Percent, bool Redraw, const TRect& R,
                  const QString& Msg) { Log.push_back({Sender, Stage, Percent, Redraw, R, Msg}); };
}

// The colour at (X, Y) of a picture converted to 24 bits, as blue, green, red.
inline RGBTRIPLE ColorAt(TPxDIB& Dib, int X, int Y) {
    Dib.SetPixelFormat(pxPf24Bit);
    const TColor c = Dib.GetPixels(X, Y);
    return {GetBValue(c), GetGValue(c), GetRValue(c)};
}

inline bool operator==(const RGBTRIPLE& A, const RGBTRIPLE& B) {
    return A.rgbtBlue == B.rgbtBlue && A.rgbtGreen == B.rgbtGreen && A.rgbtRed == B.rgbtRed;
}

// Blue, green, red of the pixel at (X, Y), Y counted from the top.
using PixelFn = std::function<RGBTRIPLE(int X, int Y)>;

inline void ExpectPixels(TSPIPxDIB& Dib, int W, int H, const PixelFn& Expected) {
    ASSERT_EQ(Dib.Width(), W);
    ASSERT_EQ(Dib.Height(), H);
    Dib.SetPixelFormat(pxPf24Bit);
    for (int y = 0; y < H; ++y) {
        const uint8_t* row = Dib.GetScanLine(y);
        for (int x = 0; x < W; ++x) {
            const RGBTRIPLE e = Expected(x, y);
            ASSERT_TRUE((RGBTRIPLE{row[3 * x], row[3 * x + 1], row[3 * x + 2]}) == e)
                << "at " << x << "," << y << ": " << int(row[3 * x + 2]) << " " << int(row[3 * x + 1]) << " "
                << int(row[3 * x]) << " expected " << int(e.rgbtRed) << " " << int(e.rgbtGreen) << " "
                << int(e.rgbtBlue);
        }
    }
}

// Loads the file as the analysis image does, by file name and from memory;
// both must give Expected everywhere.
inline void ExpectDecoded(const QString& FileName, int W, int H, const PixelFn& Expected) {
    TSPIPxDIB byName;
    byName.LoadFromFile(FileName);
    ExpectPixels(byName, W, H, Expected);
    TMemoryStream memory;
    memory.LoadFromFile(FileName);
    TSPIPxDIB fromMemory;
    fromMemory.LoadFromStreamWithName(memory, FileName);
    ExpectPixels(fromMemory, W, H, Expected);
}

// Loads FileName as the analysis image does and expects it refused for
// Fault, naming the file.
inline void ExpectRefused(const QString& FileName, TPictureFault Fault) {
    TSPIPxDIB dib;
    try {
        dib.LoadFromFile(FileName);
        ADD_FAILURE() << "decoded";
    } catch (const EPictureUnreadable& e) {
        EXPECT_EQ(e.Fault(), Fault);
        EXPECT_EQ(e.FileName(), FileName);
    }
}

}  // namespace tam32::test
