// The frame's save and load of the classifier file, from the menu items.
#include <QAction>
#include <QFileDialog>
#include <QTimer>

#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/frame_fixture.h"

namespace tam32::test {
namespace {

class ClassifierFileCommandsTest : public FrameTest {
protected:
    QString StatusOf(const char* Code) {
        TRecordingEngineHost host;
        ShowErrorMessage(QLatin1String(Code));
        return host.LastStatus();
    }
};

TEST_F(ClassifierFileCommandsTest, NothingHappensWithoutAnImageWindow) {
    SetClassifier();
    Frame->MenuItem("SaveDisc3Pars1")->trigger();
    Frame->MenuItem("ReLoadDisc3Pars1")->trigger();
    EXPECT_TRUE(Host.StatusTexts.empty());
    EXPECT_FALSE(Frame->SaveDialog->isVisible());
}

TEST_F(ClassifierFileCommandsTest, SavingNeedsAClassifierAndLoadingMakesTheSavedOneActive) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 10, 10), false);
    Frame->MenuItem("SaveDisc3Pars1")->trigger();
    EXPECT_EQ(Host.LastStatus(), StatusOf("ERR3"));

    SetClassifier();
    const QString file = Files.filePath(QStringLiteral("two.dis"));
    AnswerFile(Frame->SaveDialog, file);
    Frame->MenuItem("SaveDisc3Pars1")->trigger();
    ASSERT_TRUE(QFile::exists(file));

    ResetSettingsToDefaults(QDate(2024, 6, 21));
    AnswerFile(Frame->OpenDialog, file);
    Frame->MenuItem("ReLoadDisc3Pars1")->trigger();
    EXPECT_TRUE(ClassifyDone);
    EXPECT_EQ(DiscLastGroup, 1);
    EXPECT_EQ(ClassCoefficients[1][2], 0.5);
    EXPECT_EQ(GroupColors[1], 16711680);
    EXPECT_EQ(Host.ResultLines.back(), QStringLiteral("Group[2]= 3.000 0.500R"));
}

TEST_F(ClassifierFileCommandsTest, AFileThatIsNotAClassifierIsRefusedInABox) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 10, 10), false);
    SetClassifier();
    AnswerFile(Frame->OpenDialog, WritePicture(QStringLiteral("other.bmp"), 4, 4));
    Frame->MenuItem("ReLoadDisc3Pars1")->trigger();
    ASSERT_EQ(Host.Messages.size(), 1u);
    EXPECT_TRUE(Host.Messages[0].contains(QLatin1String("is not a classifier file")));
    EXPECT_EQ(ClassCoefficients[0][1], -12.5);
}

TEST_F(ClassifierFileCommandsTest, TheFileOfAnOpenWindowIsNotOverwritten) {
    const QString picture = WritePicture(QStringLiteral("photo.bmp"), 10, 10);
    Frame->CreateMDIChild(picture, false);
    SetClassifier();
    const QByteArray before = [&] {
        QFile f(picture);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    AnswerFile(Frame->SaveDialog, picture);
    Frame->MenuItem("SaveDisc3Pars1")->trigger();
    QFile after(picture);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.readAll(), before);
    EXPECT_EQ(Host.Messages.size(), 1u);
}

}  // namespace
}  // namespace tam32::test
