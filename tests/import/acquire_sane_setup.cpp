#include "import/acquire_sane_setup.h"

#include <dlfcn.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

// The test backend's reader can be stopped by sane_cancel while it still
// holds its buffer; that loss is SANE's, not ours.
extern "C" __attribute__((visibility("default"))) const char* __lsan_default_suppressions() {
    return "leak:libsane-test.so\n";
}

namespace tam32::test {

namespace {

// SANE's "test" backend, in the "sane" folder beside SANE's library; empty
// without SANE.
QString TestBackend() {
    void* sane = dlopen("libsane.so.1", RTLD_NOW | RTLD_NODELETE);
    Dl_info info{};
    if (sane == nullptr || dladdr(dlsym(sane, "sane_init"), &info) == 0) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath() + QStringLiteral("/sane/libsane-test.so.1");
}

void KeepSaneLoaded() {
    const QString backend = TestBackend();
    if (!backend.isEmpty()) dlopen(QFile::encodeName(backend).constData(), RTLD_NOW | RTLD_NODELETE);
}

// Made once, before SANE first reads it; removed when the program ends.
const QTemporaryDir& ConfigFolder() {
    static const QTemporaryDir folder = [] {
        QTemporaryDir made;
        // Without a trailing colon SANE reads this folder only, never the system's.
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(made.path()));
        KeepSaneLoaded();
        return made;
    }();
    return folder;
}

bool Write(const QString& Path, const QByteArray& Bytes) {
    QFile file(Path);
    return file.open(QIODevice::WriteOnly) && file.write(Bytes) == Bytes.size();
}

}  // namespace

bool SetUpSane(const SaneTestPicture& P) {
    const QByteArray conf = "mode " + P.Mode + "\ndepth " + QByteArray::number(P.Depth) + "\nresolution " +
                            QByteArray::number(P.Resolution) + "\ntest-picture \"" + P.Picture + "\"\nbr_x " +
                            QByteArray::number(P.WidthMm) + "\nbr_y " + QByteArray::number(P.HeightMm) +
                            "\nthree-pass " + (P.ThreePass ? "true" : "false") + "\nthree-pass-order " +
                            P.ThreePassOrder + "\nhand-scanner " + (P.HandScanner ? "true" : "false") +
                            "\nppl-loss " + QByteArray::number(P.PixelsLostPerLine) + "\nread-status-code \"" +
                            P.ReadStatus + "\"\n";
    const QTemporaryDir& folder = ConfigFolder();
    return folder.isValid() && Write(folder.filePath("dll.conf"), P.WithBackend ? "test\n" : "") &&
           Write(folder.filePath("test.conf"), conf);
}

bool TestBackendInstalled() {
    const QString backend = TestBackend();
    return !backend.isEmpty() && QFile::exists(backend);
}

// SANE's test backend now and then deadlocks when its reader thread stops,
// in the frontend as in our probe: a hung attempt is killed and made again.
QImage ScannedByFrontend() {
    for (int attempt = 0; attempt < 3; ++attempt) {
        QProcess process;
        process.start(QStringLiteral("scanimage"),
                      {QStringLiteral("-d"), QStringLiteral("test:0"), QStringLiteral("--format=pnm")});
        if (process.waitForFinished(30000))
            return process.exitCode() == 0 ? QImage::fromData(process.readAllStandardOutput(), "PNM") : QImage();
        process.kill();
        process.waitForFinished();
    }
    return {};
}

}  // namespace tam32::test
