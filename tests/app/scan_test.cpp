// Scanning into a temporary image window through the source manager, with
// SANE's test backend as the only scanner.
#include <QDialog>
#include <QListWidget>
#include <QTimer>
#include <functional>

#include "app/frame_fixture.h"
#include "import/AcquireImage.h"
#include "windows/LeafImageWindow.h"

namespace tam32::test {
namespace {

// Answers every dialog of that name as soon as it shows.
class DialogAnswer {
public:
    DialogAnswer(const QString& Name, std::function<void(QDialog&)> Answer) {
        QObject::connect(&FTimer, &QTimer::timeout, [this, Name, Answer] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                if (dialog->objectName() == Name) {
                    ++Answered;
                    Answer(*dialog);
                }
        });
        FTimer.start(10);
    }
    int Answered = 0;

private:
    QTimer FTimer;
};

class ScanTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        // Without a trailing colon SANE reads this folder only.
        qputenv("SANE_CONFIG_DIR", QFile::encodeName(Sane.path()));
        Write(QStringLiteral("dll.conf"), "test\n");
        Write(QStringLiteral("test.conf"), "mode Color\nresolution 50\nbr_x 20\nbr_y 20\n");
    }
    void Write(const QString& Name, const QByteArray& Bytes) {
        QFile file(Sane.filePath(Name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Bytes);
    }
    QTemporaryDir Sane;
};

TEST_F(ScanTest, AScanOpensATemporaryWindowNamedAfterTheCounter) {
    Frame->ImageCounter = 2;
    DialogAnswer choose(QStringLiteral("SelectSourceDialog"), [](QDialog& Dialog) {
        Dialog.findChild<QListWidget*>()->setCurrentRow(0);
        Dialog.accept();
    });
    DialogAnswer scan(QStringLiteral("SourceSettingsDialog"), [](QDialog& Dialog) { Dialog.accept(); });
    Frame->TWAINImageInputClick();
    TLeafImageWindow* window = Frame->ActiveImageWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->FFileName, Frame->TemporaryFolder() + QStringLiteral("/Image2.bmp"));
    EXPECT_TRUE(window->FIsTempImage);
    EXPECT_GT(window->FPictureWidth, 0);
    EXPECT_EQ(Frame->ImageCounter, 3);
}

TEST_F(ScanTest, ACancelledSourceChoiceAsksOnceAndScansNothing) {
    DialogAnswer cancel(QStringLiteral("SelectSourceDialog"), [](QDialog& Dialog) { Dialog.reject(); });
    DialogAnswer scan(QStringLiteral("SourceSettingsDialog"), [](QDialog& Dialog) { Dialog.accept(); });
    Frame->TWAINImageInputClick();
    EXPECT_EQ(cancel.Answered, 1);
    EXPECT_EQ(scan.Answered, 0);
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
    EXPECT_EQ(Frame->ImageCounter, 0);
}

TEST_F(ScanTest, WithoutADeviceTheScanSaysSo) {
    Write(QStringLiteral("dll.conf"), "");
    DialogAnswer choose(QStringLiteral("SelectSourceDialog"), [](QDialog& Dialog) { Dialog.reject(); });
    Frame->TWAINImageInputClick();
    EXPECT_EQ(choose.Answered, 0);
    EXPECT_EQ(Host.LastStatus(), GetDialogMessage(QStringLiteral("DMS109")));
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
}

TEST_F(ScanTest, AMissingSourceManagerShowsErr1) {
    Frame->AcquireImage1->LibraryFileName = Sane.filePath(QStringLiteral("missing.so"));
    Frame->TWAINImageInputClick();
    EXPECT_EQ(Host.StatusTexts.size(), 1u);
    EXPECT_TRUE(Frame->ImageWindows().isEmpty());
}

}  // namespace
}  // namespace tam32::test
