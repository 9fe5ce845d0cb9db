// The host: one at a time, the folders it searches and in which order, which
// libraries it keeps, the extensions it registers and the candidates it
// offers for a file name.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "import/SPIExceptions.h"
#include "platform/PluginFolderSetting.h"
#include "platform/ProgramFolder.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

QStringList FileNamesOf(const TSPIs& Host) {
    QStringList names;
    for (int i = 0; i < Host.GetCount(); ++i) names.append(QFileInfo(Host.GetSPI(i)->FileName).fileName());
    return names;
}

QStringList FileNamesOf(const std::vector<TSPI*>& List) {
    QStringList names;
    for (const TSPI* spi : List) names.append(QFileInfo(spi->FileName).fileName());
    return names;
}

// Points the plug-in folder setting at a file of the test's own.
class FolderSettingTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        FSaved = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", Work.path().toLocal8Bit());
    }
    void TearDown() override {
        qputenv("XDG_CONFIG_HOME", FSaved);
        HostTest::TearDown();
    }
    void SetFolder(const QString& Folder) {
        QDir().mkpath(QFileInfo(PluginFolderSettingFile()).path());
        QSettings settings(PluginFolderSettingFile(), QSettings::IniFormat);
        settings.setValue(QStringLiteral("Plug-in/Path"), Folder);
    }

private:
    QByteArray FSaved;
};

}  // namespace

TEST_F(HostTest, ThereIsOneHostAtATime) {
    EXPECT_EQ(GetSPIs(), nullptr);
    TSPIs& host = MakeHost();
    EXPECT_EQ(GetSPIs(), &host);
    try {
        TSPIs second;
        FAIL() << "a second host";
    } catch (const ESPIDupCreateSPIs& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("TSPIs は複数生成できません"));
    }
    EXPECT_EQ(GetSPIs(), &host);
    Host.reset();
    EXPECT_EQ(GetSPIs(), nullptr);
}

TEST_F(HostTest, AFolderIsSearchedInNameOrderForVisibleLibrariesOnly) {
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("b.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("A.SPI"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral(".hidden.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("c.dll"));
    Plugins.Add(TestPluginPath(QStringLiteral("junk")), QStringLiteral("d.spi"));
    TSPIs& host = MakeHost();
    host.Search(Plugins.Mask());
    EXPECT_EQ(FileNamesOf(host), (QStringList{"A.SPI", "b.spi"}));
    // The same folder again adds nothing.
    host.Search(Plugins.Mask());
    EXPECT_EQ(host.GetCount(), 2);
}

TEST_F(HostTest, TheHandlersChooseWhatIsKept) {
    Plugins.Add(TestPluginPath(QStringLiteral("tst_archive")), QStringLiteral("a.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("b.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_xn")), QStringLiteral("c.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_nopreview")), QStringLiteral("d.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_bmp")), QStringLiteral("e.spi"));
    TSPIs& host = MakeHost();
    QStringList offered;
    host.OnSearching = [&](TObject*, const QString& FileName, bool& Accept) {
        offered.append(QFileInfo(FileName).fileName());
        Accept = !FileName.endsWith(QStringLiteral("d.spi"));
    };
    const auto frameOnSearch = host.OnSearch;
    host.OnSearch = [&](TObject* Sender, TSPI* SPI, bool& Accept) {
        // A failing handler costs only its own plug-in.
        if (SPI->FileName.endsWith(QStringLiteral("e.spi"))) throw Exception(QStringLiteral("refused"));
        frameOnSearch(Sender, SPI, Accept);
    };
    host.Search(Plugins.Mask());
    EXPECT_EQ(offered, (QStringList{"a.spi", "b.spi", "c.spi", "d.spi", "e.spi"}));
    EXPECT_EQ(FileNamesOf(host), QStringList{"b.spi"});
}

TEST_F(HostTest, AFaultyLibraryIsSkippedAndTheSearchGoesOn) {
    Plugins.Add(TestPluginPath(QStringLiteral("tst_nogetpicture")), QStringLiteral("a.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_noinfo")), QStringLiteral("b.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("c.spi"));
    TSPIs& host = MakeHost();
    host.Search(Plugins.Mask());
    EXPECT_EQ(FileNamesOf(host), QStringList{"c.spi"});
}

TEST_F(HostTest, ExtensionsAreRegisteredPatternByPatternLastFirst) {
    TSPIs& host = MakeHost();
    QStringList seen;
    host.OnPictureRegister = [&](TObject*, TInSPI*, const QString& Ext, const QString& Description,
                                 TGraphicClass& Class) {
        seen.append(Ext + QLatin1Char('=') + Description);
        EXPECT_EQ(Class, Ext == QLatin1String("ta") ? nullptr : &TSPIBitmap::ClassInfo);
        if (Ext == QLatin1String("tb")) Class = nullptr;  // kept for "ta" of the same mask
    };
    host.Add(CreateSPI(TestPluginPath(QStringLiteral("tst_in"))));
    EXPECT_EQ(seen, (QStringList{"tst=Test pictures", "tb=Two patterns", "ta=Two patterns", "plain=No period"}));
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral(".TST")), &TSPIBitmap::ClassInfo);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("plain")), &TSPIBitmap::ClassInfo);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("ta")), nullptr);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("tb")), nullptr);
}

TEST_F(HostTest, APluginWhoseRegistrationFailsStaysLoaded) {
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("a.spi"));
    Plugins.Add(TestPluginPath(QStringLiteral("tst_bmp")), QStringLiteral("b.spi"));
    TSPIs& host = MakeHost();
    host.OnPictureRegister = [](TObject*, TInSPI*, const QString& Ext, const QString&, TGraphicClass&) {
        if (Ext == QLatin1String("tb")) throw Exception(QStringLiteral("no"));
    };
    host.Search(Plugins.Mask());
    EXPECT_EQ(FileNamesOf(host), (QStringList{"a.spi", "b.spi"}));
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("tst")), &TSPIBitmap::ClassInfo);
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("ta")), nullptr);
}

TEST_F(HostTest, APluginDeclaringBmpTakesPrecedenceInTheRegistry) {
    PictureFormats::RegisterFileFormat(QStringLiteral("bmp"), QStringLiteral("Bitmaps"), &TBitmap::ClassInfo);
    HostWith({"tst_bmp"});
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("bmp")), &TSPIBitmap::ClassInfo);
    UnregisterSPIBitmap();
    EXPECT_EQ(PictureFormats::FindFileFormat(QStringLiteral("bmp")), &TBitmap::ClassInfo);
    PictureFormats::UnregisterGraphicClass(&TBitmap::ClassInfo);
}

TEST_F(HostTest, CandidatesNamingTheExtensionComeFirstLatestLoadedFirst) {
    TSPIs& host = HostWith({"tst_in", "tst_bmp", "tst_nopreview"});
    const TSPIClass inputs[] = {&TInSPI::ClassInfo};
    const auto candidates = [&](const char* FileName) {
        std::vector<TSPI*> list;
        host.GetSupportedSPIs(inputs, QLatin1String(FileName), list);
        return FileNamesOf(list);
    };
    EXPECT_EQ(candidates("x.TST"), (QStringList{"ctst_nopreview.spi", "atst_in.spi", "btst_bmp.spi"}));
    EXPECT_EQ(candidates("dir.tst/x.bmp"), (QStringList{"btst_bmp.spi", "atst_in.spi", "ctst_nopreview.spi"}));
    // Only the last pattern of a mask counts, and no extension prefers nobody.
    EXPECT_EQ(candidates("x.ta"), (QStringList{"atst_in.spi", "btst_bmp.spi", "ctst_nopreview.spi"}));
    EXPECT_EQ(candidates("photo"), (QStringList{"atst_in.spi", "btst_bmp.spi", "ctst_nopreview.spi"}));

    const TSPIClass archives[] = {&TAmSPI::ClassInfo};
    std::vector<TSPI*> none;
    host.GetSupportedSPIs(archives, QStringLiteral("x.tst"), none);
    EXPECT_TRUE(none.empty());
}

TEST_F(HostTest, TheListOwnsItsPlugins) {
    TSPIs& host = HostWith({"tst_in", "tst_bmp"});
    const QString link = Work.filePath(QStringLiteral("link.spi"));
    ASSERT_TRUE(QFile::link(Plugins.File(QStringLiteral("btst_bmp.spi")), link));
    EXPECT_EQ(host.IndexOfFileName(link), 1);
    EXPECT_EQ(host.IndexOfFileName(Plugins.Path() + QStringLiteral("/./atst_in.spi")), 0);
    EXPECT_EQ(host.IndexOfFileName(QStringLiteral("/nonexistent.spi")), -1);
    EXPECT_THROW(host.Insert(5, CreateSPI(TestPluginPath(QStringLiteral("tst_in")))), ERangeError);
    host.Delete(0);
    EXPECT_EQ(FileNamesOf(host), QStringList{"btst_bmp.spi"});
    host.Clear();
    EXPECT_EQ(host.GetCount(), 0);
}

TEST_F(FolderSettingTest, TheSettingFolderAndTheProgramFolderLoadEachLibraryOnce) {
    SetFolder(ProgramFolder());
    TSPIs& host = MakeHost();
    host.Loaded();
    EXPECT_EQ(FileNamesOf(host), (QStringList{"bmp.spi", "jpeg.spi", "png.spi", "tiff.spi"}));
}

TEST_F(FolderSettingTest, TheSettingFolderIsSearchedFirst) {
    Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("z.spi"));
    SetFolder(Plugins.Path());
    EXPECT_EQ(ReadPluginFolderSetting(), Plugins.Path());
    TSPIs& host = MakeHost();
    host.Loaded();
    EXPECT_EQ(FileNamesOf(host), (QStringList{"z.spi", "bmp.spi", "jpeg.spi", "png.spi", "tiff.spi"}));
}

TEST_F(FolderSettingTest, WithoutASettingTheSearchStartsInTheProgramFolder) {
    TSPIs& host = MakeHost();
    host.Loaded();
    EXPECT_EQ(FileNamesOf(host), (QStringList{"bmp.spi", "jpeg.spi", "png.spi", "tiff.spi"}));
    // Reading the setting never makes its file.
    EXPECT_FALSE(QFileInfo::exists(PluginFolderSettingFile()));
    EXPECT_FALSE(QFileInfo::exists(QFileInfo(PluginFolderSettingFile()).path()));

    SetFolder(QString());
    Host.reset();
    TSPIs& again = MakeHost();
    again.Loaded();
    EXPECT_EQ(FileNamesOf(again), (QStringList{"bmp.spi", "jpeg.spi", "png.spi", "tiff.spi"}));

    Host.reset();
    TSPIs& manual = MakeHost();
    manual.AutoSearch = false;
    manual.Loaded();
    EXPECT_EQ(manual.GetCount(), 0);
}

TEST(PluginFolderSetting, AValueWithCommasIsReadAsWritten) {
    QTemporaryDir config;
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QDir().mkpath(config.filePath(QStringLiteral("Morvalen")));
    QFile file(PluginFolderSettingFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Plug-in]\nPath=/opt/a,b/plug-ins\n");
    file.close();
    EXPECT_EQ(ReadPluginFolderSetting(), QStringLiteral("/opt/a,b/plug-ins"));
    qputenv("XDG_CONFIG_HOME", saved);
}
