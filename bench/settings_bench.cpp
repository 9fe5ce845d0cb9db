// Reading the settings file into the options' fields, for a file of 1 MB and
// one of 15 MB whose sections hold long runs of other keys: the reading
// passes over the file once, so the second costs about 15 times the first.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QString>
#include <cstdio>
#include <string>

#include "BenchTempFile.h"
#include "analysis/core/OptionFields.h"
#include "analysis/core/SettingsFile.h"

using namespace tam32;

namespace {

// A settings file of about Megabytes MB; none of the keys the options read is in it.
QString SettingsFileOf(int Megabytes) {
    const QString name =
        QString::fromStdString(bench::TempFileName("settings-" + std::to_string(Megabytes), ".ini"));
    QFile file(name);
    if (!file.open(QIODevice::WriteOnly)) return name;
    const char* const sections[] = {"Threshold", "Area", "ScanDpi", "FishEye", "LAI", "PAR", "Distort"};
    const int linesPerSection = Megabytes * 1024 * 1024 / 7 / 14;
    int key = 0;
    for (const char* section : sections) {
        file.write(QByteArray("[") + section + "]\r\n");
        for (int i = 0; i < linesPerSection; ++i, ++key)
            file.write(QByteArray("J") + QByteArray::number(key).rightJustified(7, '0') + "=1\r\n");
    }
    return name;
}

void BM_ReadSettingsFile(benchmark::State& State) {
    const QString name = SettingsFileOf(int(State.range(0)));
    for (auto _ : State) {
        TOptionFields fields = OptionFieldsFromSettings(QString());
        ReadSettingsFile(name, fields, QString());
        benchmark::DoNotOptimize(fields);
    }
    std::remove(name.toLocal8Bit().constData());
}
BENCHMARK(BM_ReadSettingsFile)->Arg(1)->Arg(15)->Unit(benchmark::kMillisecond);

}  // namespace
