#pragma once
// "tam32-probe" run from outside as a test program, offscreen, with its own
// runtime folder: the lines it prints and its exit code.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace tam32::test {

struct TProbeRun {
    int ExitCode = -1;
    QStringList Lines;
};

inline TProbeRun RunProbe(const QStringList& Args, const QString& RuntimeFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), RuntimeFolder);
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start(QStringLiteral(TAM32_BIN_DIR "/tam32-probe"), Args);
    EXPECT_TRUE(probe.waitForFinished(30000));
    return {probe.exitCode(), QString::fromUtf8(probe.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)};
}

}  // namespace tam32::test
