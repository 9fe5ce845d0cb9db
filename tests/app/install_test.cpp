// The program installed under a prefix: its files, the desktop's menu entry,
// and a start from there that finds its plug-ins in its own folder.
#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "common/private_dir.h"

namespace tam32 {
namespace {

QString FileText(const QString& Name) {
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(InstallTest, InstallsTheProgramWithItsFilesAndADesktopEntryThatStartsIt) {
    // Plug-ins load only from below folders that no one else may write.
    test::TPrivateTemporaryDir prefix;
    QProcess install;
    install.start(QStringLiteral(TAM32_CMAKE), {"--install", TAM32_BUILD_DIR, "--prefix", prefix.path()});
    ASSERT_TRUE(install.waitForFinished(60000));
    ASSERT_EQ(install.exitCode(), 0) << install.readAllStandardError().toStdString();

    const QString program = prefix.filePath(QStringLiteral("bin/tam32"));
    const QFileInfo programInfo(program);
    ASSERT_TRUE(programInfo.isExecutable());
    const QDir folder = QFileInfo(programInfo.canonicalFilePath()).dir();
    for (const char* name : {"Tam32.msg", "menu.msg", "bmp.spi", "jpeg.spi", "png.spi", "tiff.spi", "twain_32.so"})
        EXPECT_TRUE(folder.exists(QString::fromLatin1(name))) << name;
    const QString entry = FileText(prefix.filePath(QStringLiteral("share/applications/tam32.desktop")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=") + program + QLatin1Char('\n'))) << entry.toStdString();
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=tam32\n")));
    EXPECT_TRUE(QFile::exists(prefix.filePath(QStringLiteral("share/icons/hicolor/scalable/apps/tam32.svg"))));

    // Started from elsewhere, as the desktop's menu starts it.
    QTemporaryDir elsewhere;
    QProcess running;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), elsewhere.path());
    running.setProcessEnvironment(env);
    running.setWorkingDirectory(elsewhere.path());
    running.start(program);
    ASSERT_TRUE(running.waitForStarted(10000));
    const QString maps = QStringLiteral("/proc/%1/maps").arg(running.processId());
    const QString plugIn = folder.filePath(QStringLiteral("jpeg.spi"));
    QElapsedTimer waited;
    waited.start();
    while (!FileText(maps).contains(plugIn) && running.state() == QProcess::Running && waited.elapsed() < 20000)
        QThread::msleep(50);
    EXPECT_TRUE(FileText(maps).contains(plugIn)) << "the installed program did not load its plug-ins";
    EXPECT_EQ(running.state(), QProcess::Running) << running.readAllStandardError().toStdString();
    running.terminate();
    running.waitForFinished(10000);
}

}  // namespace
}  // namespace tam32
