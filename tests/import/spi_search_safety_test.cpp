// Which plug-in files the host is willing to load at all: nothing from the
// current folder, and no file that another user could have written. A
// refused library must not even be opened, since loading it runs its code.
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QSettings>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/PluginFolderSetting.h"
#include "platform/SharedLibrary.h"
#include "plugins/TestPicture.h"
#include "spi_test_util.h"

using namespace tam32;
using namespace tam32::test;

namespace {

class SearchSafetyTest : public HostTest {
protected:
    void SetUp() override {
        HostTest::SetUp();
        FSavedCurrent = QDir::currentPath();
        FSavedConfig = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", Work.filePath(QStringLiteral("config")).toLocal8Bit());
        qunsetenv(kTestTraceVariable);
    }
    void TearDown() override {
        QDir::setCurrent(FSavedCurrent);
        qputenv("XDG_CONFIG_HOME", FSavedConfig);
        qunsetenv(kTestTraceVariable);
        HostTest::TearDown();
    }
    int LoadedFrom(const QString& Folder) {
        Host.reset();
        TSPIs& host = MakeHost();
        host.Search(Folder + QStringLiteral("/*.spi"));
        return host.GetCount();
    }

private:
    QString FSavedCurrent;
    QByteArray FSavedConfig;
};

}  // namespace

TEST_F(SearchSafetyTest, APluginInTheCurrentFolderIsNeverLoaded) {
    const QString current = Work.filePath(QStringLiteral("current"));
    QDir().mkpath(current + QStringLiteral("/relative"));
    const QString trace = TestPluginPath(QStringLiteral("tst_trace"));
    ASSERT_TRUE(QFile::copy(trace, current + QStringLiteral("/trace.spi")));
    ASSERT_TRUE(QFile::copy(trace, current + QStringLiteral("/relative/trace.spi")));
    ASSERT_TRUE(QDir::setCurrent(current));
    // A relative plug-in folder would be read from the current folder too.
    QDir().mkpath(QFileInfo(PluginFolderSettingFile()).path());
    QSettings(PluginFolderSettingFile(), QSettings::IniFormat)
        .setValue(QStringLiteral("Plug-in/Path"), QStringLiteral("relative"));

    TSPIs& host = MakeHost();
    host.SearchOptions = {TSPISearchOption::spsSusieDir, TSPISearchOption::spsAppDir,
                          TSPISearchOption::spsCurrentDir};
    host.Loaded();
    EXPECT_GT(host.GetCount(), 0);  // the program's folder is searched
    EXPECT_FALSE(qEnvironmentVariableIsSet(kTestTraceVariable));

    // The same library leaves its trace once it is loaded from a searched folder.
    EXPECT_EQ(LoadedFrom(current), 1);
    EXPECT_TRUE(qEnvironmentVariableIsSet(kTestTraceVariable));
}

TEST_F(SearchSafetyTest, OnlyFilesNoOneButTheirOwnerCanWriteAreLoaded) {
    struct Case {
        const char* Name;
        mode_t Mode;
        bool Linked;  // searched through a link to the file
        bool Loaded;
    };
    // A link is refused whatever it points to: what it names may change.
    const Case cases[] = {
        {"owner-writable", 0755, false, true},     {"group-writable", 0775, false, false},
        {"world-writable", 0757, false, false},    {"link to an owner-writable file", 0755, true, false},
        {"link to a group-writable file", 0775, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrivateTemporaryDir searched, elsewhere;
        const QString file = (c.Linked ? elsewhere : searched).filePath(QStringLiteral("a.spi"));
        ASSERT_TRUE(QFile::copy(TestPluginPath(QStringLiteral("tst_in")), file));
        ASSERT_EQ(chmod(QFile::encodeName(file).constData(), c.Mode), 0);
        if (c.Linked) {
            ASSERT_TRUE(QFile::link(file, searched.filePath(QStringLiteral("link.spi"))));
        }
        EXPECT_EQ(LoadedFrom(searched.path()), c.Loaded ? 1 : 0);
        // Named directly, without a search, a file is judged the same; the
        // file a link names, by itself.
        EXPECT_EQ(CreateSPI(file) != nullptr, c.Mode == 0755);
        if (c.Linked) {
            EXPECT_EQ(CreateSPI(searched.filePath(QStringLiteral("link.spi"))), nullptr);
        }
    }
}

TEST_F(SearchSafetyTest, APluginBelowAFolderThatOthersMayChangeIsNotLoaded) {
    struct Case {
        const char* Name;
        mode_t Outer, Inner;  // the plug-in lies in Inner, which lies in Outer
        bool Loaded;
    };
    const Case cases[] = {
        {"folders only their owner may write", 0755, 0755, true},
        {"a group-writable folder", 0755, 0775, false},
        {"a world-writable sticky folder", 0755, 01777, false},
        {"a group-writable folder above", 0775, 0755, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        TPrivateTemporaryDir root;
        const QString inner = root.filePath(QStringLiteral("outer/inner"));
        ASSERT_TRUE(QDir().mkpath(inner));
        const QString file = inner + QStringLiteral("/a.spi");
        ASSERT_TRUE(QFile::copy(TestPluginPath(QStringLiteral("tst_in")), file));
        ASSERT_EQ(chmod(QFile::encodeName(root.filePath(QStringLiteral("outer"))).constData(), c.Outer), 0);
        ASSERT_EQ(chmod(QFile::encodeName(inner).constData(), c.Inner), 0);
        EXPECT_EQ(LoadedFrom(inner), c.Loaded ? 1 : 0);
        EXPECT_EQ(CreateSPI(file) != nullptr, c.Loaded);
        EXPECT_EQ(UntrustedLibraryReason(file).contains(QStringLiteral("folder")), !c.Loaded);
    }
    // The program's own folder passes: each folder above it belongs to root or the user.
    EXPECT_EQ(UntrustedLibraryReason(RealPluginPath(QStringLiteral("jpeg"))), QString());
}

TEST_F(SearchSafetyTest, APluginOwnedByAnotherUserIsNotLoaded) {
    if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
    const QString file = Plugins.Add(TestPluginPath(QStringLiteral("tst_in")), QStringLiteral("a.spi"));
    ASSERT_EQ(chown(QFile::encodeName(file).constData(), 65534, 65534), 0);
    EXPECT_EQ(LoadedFrom(Plugins.Path()), 0);
    // Nor one in a folder of another user.
    ASSERT_EQ(chown(QFile::encodeName(file).constData(), 0, 0), 0);
    ASSERT_EQ(chown(QFile::encodeName(Plugins.Path()).constData(), 65534, 65534), 0);
    EXPECT_EQ(LoadedFrom(Plugins.Path()), 0);
    EXPECT_TRUE(UntrustedLibraryReason(file).contains(QStringLiteral("another user")));
}
