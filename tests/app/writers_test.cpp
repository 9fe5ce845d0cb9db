// Every file the program writes, written on a full disk: the file it was to
// replace stays as it was, byte for byte and with its permissions, nothing
// is left beside it, and the user is told the file's name and the system's
// reason.
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/SettingsFilePlace.h"
#include "analysis/corrections/FilterKernel.h"
#include "app/LineProfViewer.h"
#include "app/TamApplication.h"
#include "app/frame_fixture.h"
#include "app/modal_answerer.h"
#include "common/save_fault.h"
#include "common/user_click.h"
#include "windows/LeafImageWindow.h"
#include "windows/TamOptionDialog.h"

namespace tam32::test {
namespace {

const QByteArray kOldBytes = "the file as it was";
constexpr QFileDevice::Permissions kPrivate = QFile::ReadOwner | QFile::WriteOwner;

class WritersTest : public FrameTest {
protected:
    // What the user is shown while Action runs with every save failing at
    // its first write: the engine host's boxes and the program's error box,
    // which is where a failure raised by a command ends up.
    QStringList ShownOnAFullDisk(const std::function<void()>& Action) {
        const TSaveFaultScope fullDisk(TSaveStep::Write, ENOSPC);
        QStringList shown;
        Host.Messages.clear();
        {
            const TModalAnswerer answerer([&](QDialog& dialog) {
                if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
                    shown << box->text();
                    box->accept();
                }
            });
            try {
                Action();
            } catch (const std::exception& e) {
                ShowException(e);
            }
        }
        for (const QString& message : Host.Messages) shown << message;
        return shown;
    }
    // An image window on the objects picture.
    TLeafImageWindow* OpenObjects() {
        return Frame->CreateMDIChild(WriteObjects(Pictures.filePath(QStringLiteral("objects.bmp"))), false);
    }

    QTemporaryDir Pictures;  // of the windows, away from the files written
};

TEST_F(WritersTest, AFullDiskKeepsTheOldFileLeavesNothingAndSaysWhichFileAndWhy) {
    struct TWriter {
        const char* What;
        const char* Target;
        std::function<void(const QString& Target)> Write;
    };
    const std::vector<TWriter> writers = {
        {"the picture as BMP", "saved.bmp",
         [&](const QString& target) {
             OpenObjects();
             Host.ConfirmAnswers = {true};
             AnswerFile(Frame->SaveDialog, target);
             Trigger("AnalyzedImageSave");
         }},
        {"the picture as JPEG", "saved.JPG",
         [&](const QString& target) {
             OpenObjects();
             Host.ConfirmAnswers = {true};
             Frame->SaveActiveImage(target);
         }},
        {"the classifier file", "groups.dis",
         [&](const QString& target) {
             OpenObjects();
             SetClassifier();
             Host.ConfirmAnswers = {true};
             AnswerFile(Frame->SaveDialog, target);
             Trigger("SaveDisc3Pars1");
         }},
        {"the settings file", "Options.Ini",
         [&](const QString& target) {
             TTamOptionDialog dialog;
             dialog.SettingsPlace = OneSettingsFile(target);
             dialog.Setup(QString(), 0, 0, 9, 9);
             dialog.show();
             test::UserClick(dialog.Button5);
         }},
        {"the outline vector file", "objectsvec",
         [&](const QString&) {
             OpenObjects();
             ThresholdMethod = 2;  // white is the target
             FixedThreshold = 128;
             CalcTraceLengthRatio = true;
             LabelTraceVectorize = true;
             LabelTraceVectorFolder = Files.path() + u'/';
             Trigger("DoLabellAnalysis1");
             EXPECT_FALSE(LabelTraceVectorize);  // later runs do not try again
         }},
        {"the filtered picture", "filtered.BMP",  // the frame names it so
         [&](const QString& target) {
             OpenObjects();
             StoreFilterKernel({3, std::vector<int32_t>(9, 1), 9});
             Host.ConfirmAnswers = {true};
             AnswerFile(Frame->SaveDialog, target);
             Trigger("DoFiltering");
         }},
        {"the chart as BMP", "chart.BMP",
         [&](const QString& target) {
             TLineProfViewer viewer;
             viewer.SaveAsBitmap(target);
         }},
        {"the chart as a metafile", "chart.WMF",
         [&](const QString& target) {
             TLineProfViewer viewer;
             viewer.SaveAsMetafile(target);
         }},
    };
    for (const TWriter& writer : writers) {
        SCOPED_TRACE(writer.What);
        const QString target = File(writer.Target);
        {
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write(kOldBytes);
        }
        ASSERT_TRUE(QFile::setPermissions(target, kPrivate));
        const QStringList before = QDir(Files.path()).entryList(QDir::Files | QDir::Hidden);
        const qsizetype windows = Frame->ImageWindows().size();

        const QStringList shown = ShownOnAFullDisk([&] { writer.Write(target); });

        QFile kept(target);
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), kOldBytes);
        EXPECT_EQ(kept.permissions() & 0x0FFF, QFile::ReadUser | QFile::WriteUser);
        EXPECT_EQ(QDir(Files.path()).entryList(QDir::Files | QDir::Hidden), before);
        EXPECT_LE(Frame->ImageWindows().size(), windows + 1);  // no window on a file that was not written
        ASSERT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
        EXPECT_TRUE(shown[0].contains(QDir::toNativeSeparators(target))) << shown[0].toStdString();
        EXPECT_TRUE(shown[0].contains(SystemReason(ENOSPC))) << shown[0].toStdString();

        for (TLeafImageWindow* window : Frame->ImageWindows()) window->parentWidget()->close();
        QCoreApplication::processEvents();
        ASSERT_TRUE(QFile::remove(target));
        ResetSettingsToDefaults(QDate(2024, 6, 21));
    }
}

TEST_F(WritersTest, APastedPictureThatCannotBeWrittenOpensNoWindowAndLeavesNothing) {
    QImage picture(30, 20, QImage::Format_RGB888);
    picture.fill(QColor(10, 200, 30));
    QGuiApplication::clipboard()->setImage(picture);
    const QString folder = Frame->TemporaryFolder();
    const QStringList shown = ShownOnAFullDisk([&] { Trigger("ImagePaste1"); });
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files | QDir::Hidden).isEmpty());
    ASSERT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
    EXPECT_TRUE(shown[0].contains(QDir::toNativeSeparators(folder + QStringLiteral("/TempImage0.bmp"))))
        << shown[0].toStdString();
    EXPECT_TRUE(shown[0].contains(SystemReason(ENOSPC))) << shown[0].toStdString();
}

}  // namespace
}  // namespace tam32::test
