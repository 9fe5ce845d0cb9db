// The options dialog from the frame's menu item and tool button, and the
// settings file through "tam32-probe" from outside.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include "analysis/core/GlobalSettings.h"
#include "app/frame_fixture.h"
#include "common/probe_process.h"
#include "common/user_click.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {
namespace {

class OptionsFrameTest : public test::FrameTest {
protected:
    void TearDown() override {
        FrameTest::TearDown();
        ResetSettingsToDefaults();
    }
    // Runs Trigger while the user types Tau into the options dialog and
    // presses Button; False when no dialog opened.
    bool AnswerOptions(QAction* Trigger, const QString& Tau, const char* Button) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<TTamOptionDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            opened = true;
            dialog->Edit14->setText(Tau);
            test::UserClick(dialog->findChild<QPushButton*>(QLatin1String(Button)));
        });
        Trigger->trigger();
        QCoreApplication::processEvents();
        return opened;
    }
};

TEST_F(OptionsFrameTest, MenuItemAndButtonOpenTheDialogOfTheActiveWindowWhoseOkAppliesAndCancelChangesNothing) {
    EXPECT_FALSE(AnswerOptions(Frame->MenuItem("ProcOptionSetting1"), QStringLiteral("0.35"), "Button1"));
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 20, 20), false);
    EXPECT_TRUE(AnswerOptions(Frame->MenuItem("ProcOptionSetting1"), QStringLiteral("0.35"), "Button1"));
    EXPECT_EQ(Tau, 0.35);
    EXPECT_TRUE(AnswerOptions(Frame->ToolButton("SpeedButton17"), QStringLiteral("0.9"), "Button2"));
    EXPECT_EQ(Tau, 0.35);
}

TEST_F(OptionsFrameTest, ProbeSavesAndLoadsTheSettingsFileAndReportsWhatItRefuses) {
    const QString file = Files.filePath(QStringLiteral("Options.Ini"));
    const auto probe = [this](const QStringList& Args) { return test::RunProbe(Args, Files.path()); };
    // Save and Load show the file they wrote or read.
    const QString shown = QStringLiteral("STATUS: ") + file;
    test::TProbeRun run = probe({"options", "save", file, "--set", "TimeZone=-5", "--set", "LensType=6"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Lines, QStringList{shown});
    run = probe({"options", "load", file, "--print", "TimeZone", "--print", "LensType"});
    EXPECT_EQ(run.ExitCode, 0);
    EXPECT_EQ(run.Lines, QStringList({shown, "TimeZone = -5", "LensType = 6"}));

    run = probe({"options", "load", file, "--edit", "YearEdit=0", "--print", "TargetYear"});
    EXPECT_EQ(run.ExitCode, 2);
    ASSERT_EQ(run.Lines.size(), 4);
    EXPECT_EQ(run.Lines[0], shown);
    EXPECT_TRUE(run.Lines[1].startsWith("STATUS: "));
    EXPECT_EQ(run.Lines[2], "MESSAGE: " + run.Lines[1].mid(8) + " (Target date)");
    EXPECT_EQ(run.Lines[3], QStringLiteral("TargetYear = %1").arg(QDate::currentDate().year()));

    const QString unwritable = Files.filePath(QStringLiteral("missing/Options.Ini"));
    run = probe({"options", "save", unwritable});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Lines, QStringList({"MESSAGE: " + unwritable +
                                      " could not be written (No such file or directory); the file is left as it was."}));
    EXPECT_FALSE(QFile::exists(Files.filePath(QStringLiteral("missing"))));

    QFile bad(Files.filePath(QStringLiteral("bad.ini")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write("[ScanDpi]\r\nDpi=0\r\n");
    bad.close();
    run = probe({"run", "GapFractionAnalysis", file, "--ini", bad.fileName(), "--print", "ImageDPI"});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Lines.size(), 1);
}

}  // namespace
}  // namespace tam32
