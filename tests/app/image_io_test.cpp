// Opening, pasting, saving and copying the pictures of image windows.
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QTimer>
#include <functional>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/ExceptionText.h"
#include "analysis/core/Messages.h"
#include "app/frame_fixture.h"
#include "app/modal_answerer.h"
#include "platform/Exceptions.h"
#include "platform/IniFile.h"
#include "platform/PictureImage.h"
#include "windows/LeafImageWindow.h"

namespace tam32::test {
namespace {

using ImageIoTest = FrameTest;

QByteArray FileBytes(const QString& Name) {
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The text of the message box that Action shows, which is closed.
QString TextOfTheBoxShownBy(const std::function<void()>& Action) {
    QString shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->text();
            box->accept();
        }
    });
    closer.start(10);
    Action();
    return shown;
}

int BmpBitCount(const QString& Name) {
    const QByteArray bytes = FileBytes(Name);
    return bytes.size() > 29 ? static_cast<uint8_t>(bytes[28]) | static_cast<uint8_t>(bytes[29]) << 8 : -1;
}

TEST_F(ImageIoTest, OpenDialogOpensBmpAndJpegIntoWindows) {
    const QString bmp = WritePicture(QStringLiteral("a.bmp"), 64, 48);
    const QString jpg = WritePicture(QStringLiteral("b.jpg"), 30, 20);
    QTimer::singleShot(0, [&] {
        Frame->OpenDialog->setDirectory(Files.path());
        Frame->OpenDialog->selectFile(QStringLiteral("\"a.bmp\" \"b.jpg\""));
        static_cast<QDialog*>(Frame->OpenDialog)->accept();
    });
    Frame->FileOpenItemClick();
    const QList<TLeafImageWindow*> windows = Frame->ImageWindows();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_EQ(QFileInfo(windows[0]->FFileName), QFileInfo(bmp));
    EXPECT_EQ(QFileInfo(windows[1]->FWorkFileName), QFileInfo(jpg));
    EXPECT_FALSE(windows[1]->FIsTempImage);
    EXPECT_EQ(windows[1]->Picture().PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(Frame->ActiveImageWindow(), windows[1]);
    EXPECT_EQ(Frame->StatusPanel(0)->text(), QStringLiteral("30×20 pixels"));
}

TEST_F(ImageIoTest, AFailedCommandShowsItsErrorAndTheProgramCarriesOn) {
    const QString name = WritePicture(QStringLiteral("gone.bmp"), 8, 8);
    Frame->CreateMDIChild(name, false);
    ASSERT_TRUE(QFile::remove(name));
    const QString shown = TextOfTheBoxShownBy([this] { Frame->MenuItem("ImageViewOriginal1")->trigger(); });
    EXPECT_TRUE(shown.startsWith(QStringLiteral("EFOpenError: "))) << shown.toStdString();
    EXPECT_EQ(Frame->ImageWindows().size(), 1);
}

// The window holds the decoded pixels themselves; a picture-sized image is
// still made to save it as JPEG, and there memory may run out.
TEST_F(ImageIoTest, APictureThatFindsNoMemoryIsSaidSoAndLeavesTheWindowAndTheFileAsTheyWere) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 40, 30), false);
    const QImage shown = window->Picture().Image();
    const QString target = WritePicture(QStringLiteral("saved.jpg"), 4, 4);
    const QByteArray before = FileBytes(target);
    for (const char* locale : {"EN", "JP"}) {
        SCOPED_TRACE(locale);
        TIniFile(Messages.filePath(QStringLiteral("Tam32.msg"))).WriteString("LOCALE", "LOCALE", locale);
        QString boxText;
        {
            const TModalAnswerer answerer([&](QDialog& dialog) {
                if (auto* box = qobject_cast<QMessageBox*>(&dialog)) {
                    boxText = box->text();
                    box->accept();
                }
            });
            FailPictureImage(1);
            Host.ConfirmAnswers = {true};
            AnswerFile(Frame->SaveDialog, target);
            Frame->MenuItem("AnalyzedImageSave")->trigger();
            FailPictureImage(0);
        }
        EXPECT_EQ(boxText, FormatErrorMessage(QStringLiteral("ERR25"), {}));
        EXPECT_EQ(FileBytes(target), before);
        ASSERT_EQ(Frame->ImageWindows(), QList<TLeafImageWindow*>{window});
        EXPECT_EQ(window->Picture().Image(), shown);
    }
    EXPECT_TRUE(FormatErrorMessage(QStringLiteral("ERR25"), {}).contains(QStringLiteral("メモリが足りない")));
}

TEST_F(ImageIoTest, APictureCutShortIsShownByNameAndReasonInTheInterfaceLanguage) {
    const QString name = WritePicture(QStringLiteral("cut.jpg"), 64, 48);
    Frame->CreateMDIChild(name, false);
    QFile file(name);
    ASSERT_TRUE(file.resize(file.size() / 2));
    for (const auto& [locale, reason] : {std::pair{"EN", " ends early or is damaged."},
                                         std::pair{"JP", " は途中で切れているか壊れています"}}) {
        TIniFile(Messages.filePath(QStringLiteral("Tam32.msg")))
            .WriteString(QStringLiteral("LOCALE"), QStringLiteral("LOCALE"), QLatin1String(locale));
        const QString shown = TextOfTheBoxShownBy([this] { Frame->MenuItem("ImageViewOriginal1")->trigger(); });
        EXPECT_EQ(shown, QDir::toNativeSeparators(name) + QString::fromUtf8(reason)) << locale;
        EXPECT_EQ(Frame->ImageWindows().size(), 1);
    }
}

TEST_F(ImageIoTest, CancelledOpenAndUnreadableFilesOpenNoWindow) {
    QTimer::singleShot(0, [&] { Frame->OpenDialog->reject(); });
    Frame->FileOpenItemClick();
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    QFile broken(Files.filePath(QStringLiteral("broken.bmp")));
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("BM?");
    broken.close();
    EXPECT_ANY_THROW(Frame->CreateMDIChild(broken.fileName(), false));
    EXPECT_THROW(Frame->CreateMDIChild(Files.filePath(QStringLiteral("a.xyz")), false), EInvalidGraphic);
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
}

TEST_F(ImageIoTest, JpegPhotographOpensThroughThePlugIn) {
    const QString photo = QStringLiteral(TAM32_SHARED_DATA_DIR "/fisheye-coolpix5700-fce9.jpg");
    if (!QFile::exists(photo)) GTEST_SKIP() << "shared photographs not present";
    TLeafImageWindow* window = Frame->CreateMDIChild(photo, false);
    EXPECT_GT(window->FPictureWidth, 1000);
    EXPECT_EQ(Frame->StatusPanel(0)->text(), QStringLiteral("2560×1920 pixels"));

    // Detection finds the circle published with the photograph, (1276, 980)
    // radius 756, or refuses it with a message; a typed diameter sets it then.
    LensType = 0;
    Frame->MenuItem("AutoDetectCircleArea1")->trigger();
    if (window->FCircleSet) {
        EXPECT_NEAR(window->FCircleX, 1276, 30);
        EXPECT_NEAR(window->FCircleY, 980, 30);
        EXPECT_NEAR(window->FCircleR, 756, 30);
    } else {
        EXPECT_EQ(Host.Messages, std::vector<QString>{QStringLiteral("Error")});
        Host.InputAnswers = {QStringLiteral("1512")};
        Frame->MenuItem("CircleAreaRadiusPixel1")->trigger();
        EXPECT_EQ(window->FCircleR, 756);
    }
    ResetSettingsToDefaults();
    EXPECT_TRUE(window->FCircleSet);
    EXPECT_TRUE(Frame->MenuItem("CircleAreaCenter1")->isChecked());
    EXPECT_TRUE(Frame->MenuItem("DoLAIEstimate1")->isEnabled());
}

TEST_F(ImageIoTest, PastesGoToThePrivateFolderAsTwentyFourBitFiles) {
    QImage indexed = QImage(30, 20, QImage::Format_RGB888);
    indexed.fill(QColor(10, 200, 30));
    QGuiApplication::clipboard()->setImage(indexed.convertToFormat(QImage::Format_Indexed8));
    const QString userFile = WritePicture(QStringLiteral("TempImage0.bmp"), 4, 4);
    const QByteArray userBytes = FileBytes(userFile);

    ASSERT_FALSE(Frame->PasteImageFromClipboard());
    ASSERT_FALSE(Frame->PasteImageFromClipboard());
    const QString folder = Frame->TemporaryFolder();
    const QString first = folder + QStringLiteral("/TempImage0.bmp");
    const QString second = folder + QStringLiteral("/TempImage1.bmp");
    EXPECT_NE(QFileInfo(folder).canonicalFilePath(), QDir::current().canonicalPath());
    EXPECT_EQ(BmpBitCount(first), 24);
    EXPECT_EQ(Frame->ImageCounter, 2);
    const QList<TLeafImageWindow*> windows = Frame->ImageWindows();
    ASSERT_EQ(windows.size(), 2);
    EXPECT_TRUE(windows[0]->FIsTempImage);
    EXPECT_EQ(windows[0]->Picture().Image().pixelColor(5, 5), QColor(10, 200, 30));

    // Closing a pasted window removes its own file and nothing else.
    Frame->MdiArea->subWindowList(QMdiArea::CreationOrder).first()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
    EXPECT_EQ(FileBytes(userFile), userBytes);
}

TEST_F(ImageIoTest, ExitRemovesTheTemporaryFilesOfWindowsStillOpen) {
    QGuiApplication::clipboard()->setImage(QImage(5, 5, QImage::Format_RGB888));
    ASSERT_FALSE(Frame->PasteImageFromClipboard());
    const QString folder = Frame->TemporaryFolder();
    ASSERT_TRUE(QFile::exists(folder + QStringLiteral("/TempImage0.bmp")));
    Frame->MenuItem("FileExitItem")->trigger();
    Frame.reset();
    EXPECT_FALSE(QFileInfo::exists(folder));
}

TEST_F(ImageIoTest, PasteWithoutAPictureOpensNothing) {
    QGuiApplication::clipboard()->setText(QStringLiteral("no picture"));
    EXPECT_TRUE(Frame->PasteImageFromClipboard());
    Frame->ImagePaste1Click();
    EXPECT_EQ(Host.StatusTexts.size(), 1u);
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    EXPECT_EQ(Frame->ImageCounter, 0);
}

TEST_F(ImageIoTest, CopyPutsTheWindowPictureOnTheClipboard) {
    TLeafImageWindow* window = Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 12, 9), false);
    Frame->CopyEditedImageClick();
    ASSERT_FALSE(Frame->PasteImageFromClipboard());
    const TLeafImageWindow* pasted = Frame->ActiveImageWindow();
    ASSERT_NE(pasted, window);
    EXPECT_EQ(pasted->Picture().Image().convertToFormat(QImage::Format_RGB888),
              window->Picture().Image().convertToFormat(QImage::Format_RGB888));
}

TEST_F(ImageIoTest, SavesBmpOrJpegByTheUpperCasedExtensionAndReopens) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("a.bmp"), 40, 30), false);
    const QString jpg = Files.filePath(QStringLiteral("result.JpG"));
    const QString png = Files.filePath(QStringLiteral("result.png"));
    ASSERT_TRUE(Frame->SaveActiveImage(jpg));
    ASSERT_TRUE(Frame->SaveActiveImage(png));
    EXPECT_TRUE(FileBytes(jpg).startsWith("\xFF\xD8"));
    EXPECT_TRUE(FileBytes(png).startsWith("BM"));
    const QString bmp = Files.filePath(QStringLiteral("copy.bmp"));
    ASSERT_TRUE(Frame->SaveActiveImage(bmp));
    TLeafImageWindow* reopened = Frame->CreateMDIChild(bmp, false);
    EXPECT_EQ(reopened->FPictureWidth, 40);
    EXPECT_EQ(reopened->Picture().Image().pixelColor(3, 2), QColor(21, 10, 90));
    EXPECT_EQ(Frame->CreateMDIChild(jpg, false)->FPictureHeight, 30);
}

TEST_F(ImageIoTest, SaveNeverWritesOverAnOpenWindowsFileAndAsksBeforeReplacing) {
    const QString shown = WritePicture(QStringLiteral("shown.bmp"), 10, 10);
    const QString other = WritePicture(QStringLiteral("other.bmp"), 3, 3);
    const QByteArray shownBytes = FileBytes(shown);
    const QByteArray otherBytes = FileBytes(other);
    Frame->CreateMDIChild(shown, false);

    Host.ConfirmAnswers = {true};
    EXPECT_FALSE(Frame->SaveActiveImage(Files.path() + QStringLiteral("/./shown.bmp")));
    EXPECT_EQ(FileBytes(shown), shownBytes);
    EXPECT_EQ(Host.Messages.size(), 1u);
    EXPECT_TRUE(Host.Questions.empty());

    Host.ConfirmAnswers = {false};
    EXPECT_FALSE(Frame->SaveActiveImage(other));
    EXPECT_EQ(FileBytes(other), otherBytes);
    Host.ConfirmAnswers = {true};
    EXPECT_TRUE(Frame->SaveActiveImage(other));
    EXPECT_NE(FileBytes(other), otherBytes);
    EXPECT_EQ(Host.Questions.size(), 2u);
}

TEST_F(ImageIoTest, SaveRefusalsAndQuestionsSpeakTheLanguageOfTheMessageFile) {
    const QString shown = WritePicture(QStringLiteral("shown.bmp"), 10, 10);
    const QString other = WritePicture(QStringLiteral("other.bmp"), 3, 3);
    Frame->CreateMDIChild(shown, false);
    for (const char* locale : {"EN", "JP"}) {
        SCOPED_TRACE(locale);
        TIniFile(Messages.filePath(QStringLiteral("Tam32.msg"))).WriteString("LOCALE", "LOCALE", locale);
        Host.Messages.clear();
        Host.Questions.clear();
        Frame->SaveActiveImage(shown);
        Frame->SaveActiveImage(other);
        const QString native = QDir::toNativeSeparators(shown);
        ASSERT_EQ(Host.Messages.size(), 1u);
        EXPECT_EQ(Host.Messages[0], FormatDialogMessage(QStringLiteral("DMS86"), {native}));
        ASSERT_EQ(Host.Questions.size(), 1u);
        EXPECT_EQ(Host.Questions[0], FormatDialogMessage(QStringLiteral("DMS85"), {QDir::toNativeSeparators(other)}));
        EXPECT_TRUE(Host.Questions[0].startsWith(QDir::toNativeSeparators(other) + QLatin1Char(' ')));
    }
    EXPECT_TRUE(Host.Questions[0].contains(QStringLiteral("既に存在します")));
}

TEST_F(ImageIoTest, SaveDialogOffersTheWorkFileAsBmpAndIsClearedAfterwards) {
    Frame->CreateMDIChild(WritePicture(QStringLiteral("photo.bmp"), 10, 10), false);
    const QString target = Files.filePath(QStringLiteral("saved.jpg"));
    QString offered;
    QTimer::singleShot(0, [&] {
        offered = QFileInfo(Frame->SaveDialog->selectedFiles().value(0)).fileName();
        Frame->SaveDialog->selectFile(target);
        static_cast<QDialog*>(Frame->SaveDialog)->accept();
    });
    Frame->AnalyzedImageSaveClick();
    EXPECT_EQ(offered, QStringLiteral("photo.BMP"));
    EXPECT_TRUE(FileBytes(target).startsWith("\xFF\xD8"));
}

}  // namespace
}  // namespace tam32::test
