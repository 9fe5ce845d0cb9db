// The source manager's dialogs, answered as a user would.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QSpinBox>
#include <QTimer>
#include <functional>

#include "import/AcquireImage.h"
#include "common/widget_app_env.h"
#include "import/acquire_dib_view.h"
#include "import/acquire_sane_setup.h"
#include "platform/Bitmap.h"

namespace tam32::test {
namespace {

using Errors = std::vector<std::pair<int, int>>;

// Answers every dialog of that name as soon as it shows.
class DialogAnswer {
public:
    DialogAnswer(const QString& Name, std::function<void(QDialog&)> Answer) {
        QObject::connect(&FTimer, &QTimer::timeout, [this, Name, Answer] {
            for (QWidget* widget : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QDialog*>(widget);
                    dialog != nullptr && dialog->isVisible() && dialog->objectName() == Name) {
                    ++Answered;
                    Answer(*dialog);
                    return;
                }
        });
        FTimer.start(10);
    }
    int Answered = 0;

private:
    QTimer FTimer;
};

class AcquireDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        FLive = LiveMemoryHandleCount();
        ASSERT_TRUE(SetUpSane({.WidthMm = 20, .HeightMm = 20}));
        Client.OnTwainError = [this](TObject*, int State, int Error) { Reported.emplace_back(State, Error); };
        ASSERT_TRUE(Client.LoadSourceManager());
        ASSERT_EQ(Client.OpenSourceManager(), TWRC_SUCCESS);
    }
    void TearDown() override {
        GlobalFree(Dib);
        EXPECT_EQ(Client.CloseSource(), TWRC_SUCCESS);
        EXPECT_TRUE(Client.UnloadSourceManager());
        EXPECT_EQ(LiveMemoryHandleCount(), FLive) << "a memory handle was leaked";
    }

    TAcquireImage Client;
    Errors Reported;
    HGLOBAL Dib = nullptr;

private:
    size_t FLive = 0;
};

// The frame selects twice when the user cancels; nothing may be scanned then.
TEST_F(AcquireDialogTest, ACancelledSelectionAcquiresNothing) {
    DialogAnswer cancel("SelectSourceDialog", [](QDialog& Dialog) { Dialog.reject(); });
    QString name;
    Client.SelectSource(false, name);
    EXPECT_TRUE(name.isEmpty());
    Client.SelectSourceByName(name);
    Client.OpenSource();
    std::unique_ptr<TBitmap> bitmap;
    EXPECT_NE(Client.AcquireBitmap(bitmap), TWRC_SUCCESS);
    EXPECT_EQ(bitmap, nullptr);
    EXPECT_EQ(cancel.Answered, 2);
    EXPECT_EQ(Reported,
              (Errors{{3, TWRC_CANCEL}, {3, TWRC_CANCEL}, {4, TWRC_CANCEL}, {5, 0x8000 + TWCC_BADDEST}}));
}

TEST_F(AcquireDialogTest, TheChosenSourceIsSelected) {
    DialogAnswer choose("SelectSourceDialog", [](QDialog& Dialog) {
        Dialog.findChild<QListWidget*>()->setCurrentRow(1);
        Dialog.accept();
    });
    QString name;
    Client.SelectSource(false, name);
    EXPECT_EQ(name, "test:1");
    EXPECT_EQ(Client.SelectSourceByName(name), TWRC_SUCCESS);
    EXPECT_EQ(Client.OpenSource(), TWRC_SUCCESS);
    EXPECT_EQ(TW_UINT32(Client.SourceIdentity.Id), 2u);
}

TEST_F(AcquireDialogTest, CancellingOrClosingTheSourcesInterfaceGivesResultThree) {
    using Answer = std::function<void(QDialog&)>;
    for (const Answer& answer : {Answer(&QDialog::reject), Answer([](QDialog& D) { D.close(); })}) {
        DialogAnswer cancel("SourceSettingsDialog", answer);
        EXPECT_EQ(Client.SelectSourceByName("test:0"), TWRC_SUCCESS);
        EXPECT_EQ(Client.OpenSource(), TWRC_SUCCESS);
        EXPECT_EQ(Client.AcquireNative(Dib), TWRC_CANCEL);
        EXPECT_EQ(Dib, nullptr);
        EXPECT_EQ(cancel.Answered, 1);
        EXPECT_EQ(Client.CloseSource(), TWRC_SUCCESS);
        EXPECT_EQ(Client.OpenSourceManager(), TWRC_SUCCESS);
    }
    EXPECT_EQ(Reported, (Errors{{5, TWRC_CANCEL}, {5, TWRC_CANCEL}}));
}

TEST_F(AcquireDialogTest, TheSourcesInterfaceSetsModeAndResolution) {
    DialogAnswer scan("SourceSettingsDialog", [](QDialog& Dialog) {
        Dialog.findChild<QComboBox*>()->setCurrentText("Color");
        Dialog.findChild<QSpinBox*>()->setValue(100);
        Dialog.accept();
    });
    EXPECT_EQ(Client.SelectSourceByName("test:0"), TWRC_SUCCESS);
    EXPECT_EQ(Client.OpenSource(), TWRC_SUCCESS);
    ASSERT_EQ(Client.AcquireNative(Dib), TWRC_SUCCESS);
    const DibView view = ViewOf(Dib);
    EXPECT_EQ(view.Header.biBitCount, 24);
    EXPECT_EQ(view.Header.biXPelsPerMeter, 3937);  // 100 dpi
    EXPECT_EQ(view.Width(), 78);                   // 20 mm, as the backend counts it
}

}  // namespace
}  // namespace tam32::test
