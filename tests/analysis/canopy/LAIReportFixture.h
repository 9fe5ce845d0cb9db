#pragma once
// Settings reset, a recording host and message texts of our own for the
// report tests, so that shipped texts can change without touching them.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "platform/qstring_printer.h"

namespace tam32::test {

class LAIReportTest : public testing::Test {
protected:
    void SetUp() override {
        ResetSettingsToDefaults(QDate(2020, 6, 1));
        QFile Msg(FDir.filePath("Tam32.msg"));
        ASSERT_TRUE(Msg.open(QIODevice::WriteOnly));
        Msg.write("[LOCALE]\r\nLOCALE=EN\r\n[DIALOG_CODE_EN]\r\nDMS25=Rings\r\nDMS26=Gap chart\r\n"
                  "DMS27=Zenith\r\nDMS28=Gap fraction\r\n");
        Msg.close();
        SetMessageFolder(FDir.path());
    }
    void TearDown() override { SetMessageFolder(QString()); }

    // The recorded lines from the one that equals First, Count of them.
    std::vector<QString> LinesFrom(const QString& First, size_t Count) const {
        const auto& L = Host.ResultLines;
        const auto It = std::find(L.begin(), L.end(), First);
        if (It == L.end() || size_t(L.end() - It) < Count) return {};
        return {It, It + Count};
    }

    QTemporaryDir FDir;
    TRecordingEngineHost Host;
};

}  // namespace tam32::test
