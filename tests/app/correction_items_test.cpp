// The frame's items for corrected pictures: the distortion-corrected file
// and view, the slope-corrected file and the panorama.
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <string>
#include <tuple>
#include <vector>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/corrections/FilterKernel.h"
#include "app/frame_fixture.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"

namespace tam32::test {
namespace {

class CorrectionItemsTest : public FrameTest {
protected:
    QString StatusOf(const char* Code) {
        const std::size_t shown = Host.StatusTexts.size();
        ShowErrorMessage(QLatin1String(Code));
        const QString text = Host.LastStatus();
        Host.StatusTexts.resize(shown);
        return text;
    }
    // Answers the save dialog with Name (or cancels it), noting the name it offered.
    void AnswerSaveDialog(const QString& Name) {
        QTimer::singleShot(0, [this, Name] {
            Offered = QFileInfo(Frame->SaveDialog->selectedFiles().value(0)).fileName();
            if (Name.isEmpty()) {
                Frame->SaveDialog->reject();
                return;
            }
            Frame->SaveDialog->selectFile(Name);
            static_cast<QDialog*>(Frame->SaveDialog)->accept();
        });
    }
    // Types Name into the next save dialog's name box in Folder and saves,
    // as a user would once the box has the focus.
    void TypeIntoSaveDialog(const QString& Folder, const QString& Name) {
        QTimer::singleShot(0, [this, Folder, Name] {
            Frame->SaveDialog->setDirectory(Folder);
            Frame->SaveDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(Name);
            static_cast<QDialog*>(Frame->SaveDialog)->accept();
        });
    }
    QString Offered;
};

TEST_F(CorrectionItemsTest, DistortionItemsWantAParameterOfATenthWhateverItsSign) {
    DistortParameter = 0.09;
    Frame->MenuItem("MakeCLDFile0")->trigger();  // also without a window
    EXPECT_EQ(Host.LastStatus(), StatusOf("ERR4"));
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 40, 30), false);
    const QImage before = window->Picture().Image().copy();
    Host.StatusTexts.clear();
    Frame->MenuItem("ViewCLDImage0")->trigger();
    EXPECT_EQ(Host.LastStatus(), StatusOf("ERR4"));
    EXPECT_EQ(window->Picture().Image(), before);
    DistortParameter = -0.5;
    CLDFullImage = true;
    Frame->MenuItem("ViewCLDImage1")->trigger();
    EXPECT_FALSE(CLDFullImage);
    EXPECT_NE(window->Picture().Image(), before);
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
}

TEST_F(CorrectionItemsTest, TheDistortionCorrectedFileIsWrittenWhereChosenAndOpened) {
    const QString photo = WritePicture(QStringLiteral("photo.bmp"), 40, 30);
    Frame->CreateMDIChild(photo, false);
    DistortParameter = 20;
    const QString target = Files.filePath(QStringLiteral("corrected.bmp"));
    AnswerSaveDialog(target);
    Frame->MenuItem("MakeCLDFile0")->trigger();
    EXPECT_EQ(Offered, QStringLiteral("photo.BMP"));
    EXPECT_TRUE(CLDFullImage);
    ASSERT_EQ(Frame->ImageWindows().size(), 2);
    EXPECT_EQ(QFileInfo(Frame->ActiveImageWindow()->FFileName), QFileInfo(target));
    EXPECT_EQ(QImage(target).size(), QSize(40, 30));
}

TEST_F(CorrectionItemsTest, TheShownPhotographIsNeverWrittenOverAndCancelWritesNothing) {
    const QString photo = WritePicture(QStringLiteral("photo.bmp"), 40, 30);
    Frame->CreateMDIChild(photo, false);
    const QByteArray original = [&] {
        QFile file(photo);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    DistortParameter = 20;
    AnswerSaveDialog(photo);
    Frame->MenuItem("MakeCLDFile1")->trigger();
    EXPECT_EQ(Host.Messages.size(), 1u);  // the shown file is not written over
    AnswerSaveDialog(QString());
    Frame->MenuItem("MakeCLDFile1")->trigger();
    QFile file(photo);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), original);
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
}

TEST_F(CorrectionItemsTest, TheSlopeCorrectedFileIsOfferedOnlyWithTheSlopeOnAndOtherwiseTheSlopeIsAskedFor) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("sky.bmp"), 80, 80), false);
    window->SetCircleArea(40, 40, 30, 0);
    const QString target = Files.filePath(QStringLiteral("level.bmp"));
    Frame->MenuItem("ViewCorrectedHemiImage")->trigger();  // no dialog: the slope is off
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
    EXPECT_EQ(Host.LastStatus(), StatusOf("ERR28"));
    SlopeCorrection = true;
    SlopeInclination = 10.0;
    AnswerSaveDialog(target);
    Frame->MenuItem("ViewCorrectedHemiImage")->trigger();
    EXPECT_EQ(Offered, QStringLiteral("sky.BMP"));
    ASSERT_EQ(Frame->ImageWindows().size(), 2);
    EXPECT_EQ(QFileInfo(Frame->ActiveImageWindow()->FFileName), QFileInfo(target));
}

// Every corrected picture is a BMP file, written under a name that says so:
// ".BMP" added to a name without an extension, ".bmp" in any case kept as
// typed, any other extension replaced, except that of another picture
// format, which is refused; the question before replacing a file names the
// file really written.
TEST_F(CorrectionItemsTest, CorrectedPicturesAreBMPFilesUnderTheNamesAskedFor) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("sky.bmp"), 80, 80), false);
    window->SetCircleArea(40, 40, 30, 0);
    DistortParameter = 20;
    SlopeCorrection = true;
    SlopeInclination = 10.0;
    StoreFilterKernel({3, std::vector<int32_t>(9, 1), 9});
    Frame->MenuItem("GetGCP")->trigger();
    TAfinDlg* gcp = window->AfinDlg();
    ASSERT_NE(gcp, nullptr);
    for (const auto& [col, row, x, y] : {std::tuple(10, 5, "0", "0"), {30, 5, "10", "0"}, {10, 25, "0", "10"}}) {
        window->Image1MouseDown(Qt::LeftButton, col, row);
        gcp->SetCell(1, gcp->GCPCount, QLatin1String(x));
        gcp->SetCell(2, gcp->GCPCount, QLatin1String(y));
    }
    gcp->Analyze->click();
    gcp->Auto_Size->click();
    gcp->Calc_IMS->click();
    const struct {
        const char* Typed;
        const char* Written;  // nullptr: refused
    } names[] = {{"photo", "photo.BMP"},   {"photo.bmp", "photo.bmp"}, {"photo.Bmp", "photo.Bmp"},
                 {"out.txt", "out.BMP"},   {"photo.JPG", nullptr},     {"photo.png", nullptr}};
    int folders = 0;
    for (const char* item : {"MakeCLDFile0", "ViewCorrectedHemiImage", "DoFiltering", "AfineTrans"})
        for (const auto& name : names) {
            SCOPED_TRACE(std::string(item) + " " + name.Typed);
            const QDir folder(Files.filePath(QString::number(++folders)));
            ASSERT_TRUE(folder.mkpath(QStringLiteral(".")));
            const QString typed = folder.filePath(QLatin1String(name.Typed));
            Host.Messages.clear();
            TypeIntoSaveDialog(folder.path(), QLatin1String(name.Typed));
            Frame->MenuItem(item)->trigger();
            if (name.Written == nullptr) {
                EXPECT_EQ(Host.Messages, std::vector<QString>{FormatDialogMessage(
                                             QStringLiteral("DMS116"), {QDir::toNativeSeparators(typed)})});
                EXPECT_TRUE(folder.entryList(QDir::Files).isEmpty());
                EXPECT_EQ(Frame->ImageWindows().size(), 1);
                continue;
            }
            EXPECT_EQ(folder.entryList(QDir::Files), QStringList{QLatin1String(name.Written)});
            ASSERT_EQ(Frame->ImageWindows().size(), 2);
            EXPECT_EQ(Frame->ActiveImageWindow()->FFileName, folder.filePath(QLatin1String(name.Written)));
            Frame->MenuItem("FileCloseItem")->trigger();
            QCoreApplication::processEvents();
            ASSERT_EQ(Frame->ActiveImageWindow(), window);
        }
    // Asked about the file that would be written over, and declined.
    const QString kept = WritePicture(QStringLiteral("kept.BMP"), 5, 5);
    Host.ConfirmAnswers = {false};
    TypeIntoSaveDialog(Files.path(), QStringLiteral("kept.txt"));
    Frame->MenuItem("DoFiltering")->trigger();
    ASSERT_FALSE(Host.Questions.empty());
    EXPECT_EQ(Host.Questions.back(), FormatDialogMessage(QStringLiteral("DMS85"), {QDir::toNativeSeparators(kept)}));
    EXPECT_EQ(QImage(kept).size(), QSize(5, 5));
}

TEST_F(CorrectionItemsTest, TheBasalAreaItemUnrollsTheActiveWindowsCircle) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("sky.bmp"), 80, 80), false);
    LensType = 0;
    window->SetCircleArea(40, 40, 30, 0);
    Frame->MenuItem("BAMeasurement")->trigger();
    EXPECT_EQ(window->Picture().Height(), 1257);
    EXPECT_EQ(window->Picture().Width(), 190);  // 2 pi x 30 + 0.5 to the nearest integer, plus one
}

}  // namespace
}  // namespace tam32::test
