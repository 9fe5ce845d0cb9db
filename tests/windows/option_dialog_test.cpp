// The options dialog offscreen: its controls' handlers, its two modes, and
// Load, Save and OK as a user meets them.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>
#include <tuple>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "common/refusal_box.h"
#include "common/stored_settings.h"
#include "common/user_click.h"
#include "common/widget_app_env.h"
#include "platform/qstring_printer.h"
#include "windows/HistgramWindow.h"
#include "windows/RadioGroup.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {
namespace {

const QDate kToday(2026, 12, 7);

class OptionDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(kToday);
        ResetAnalysisState();
        Photo = folder.filePath(QStringLiteral("photo.bmp"));
        QImage picture(10, 10, QImage::Format_RGB888);
        picture.fill(QColor(10, 20, 30));
        ASSERT_TRUE(picture.save(Photo));
    }
    void TearDown() override {
        dialog.reset();
        ResetSettingsToDefaults(kToday);
        ResetAnalysisState();
    }
    // The dialog shown in settings mode for Photo.
    TTamOptionDialog& Open() {
        dialog = std::make_unique<TTamOptionDialog>();
        dialog->SettingsPlace = OneSettingsFile(folder.filePath(QStringLiteral("Options.Ini")));
        dialog->Setup(Photo, 0, 0, 9, 9);
        dialog->show();
        return *dialog;
    }
    void WriteSettings(const QByteArray& Text) {
        QFile file(dialog->SettingsPlace.ProgramFile);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Text);
    }
    // Item Index chosen as a user does.
    static void Choose(TRadioGroup* Group, int Index) { Group->findChildren<QRadioButton*>().at(Index)->click(); }
    static void Choose(QComboBox* Box, int Index) {
        Box->setCurrentIndex(Index);
        emit Box->activated(Index);
    }

    QTemporaryDir folder;
    QString Photo;
    test::TRecordingEngineHost host;
    std::unique_ptr<TTamOptionDialog> dialog;
};

TEST_F(OptionDialogTest, ControlsActOnEachOtherAsTheUserChangesThem) {
    TTamOptionDialog& d = Open();
    EXPECT_EQ(d.PageControl1->currentWidget(), d.TabSheet5);
    EXPECT_EQ(d.PageControl1->tabText(0), QStringLiteral("Image"));
    EXPECT_EQ(d.ComboBox1->itemText(7), QStringLiteral("Normal Lens"));

    d.SpinEdit3->setValue(74);
    d.SpinEdit2->setValue(80);
    EXPECT_EQ(d.SpinEdit3->value(), 81);

    struct TLens {
        int Item;
        const char* ViewAngle;
        const char* Radius;
    };
    const TLens lenses[] = {{0, "90.0", "11.5"}, {1, "89.97", "11.5"}, {2, "90.0", "11.0"}, {3, "89.68", "11.0"},
                            {4, "89.68", "11.0"}, {5, "kept", "kept"},  {6, "90.0", "3.21"},  {7, "kept", "kept"}};
    for (const TLens& lens : lenses) {
        SCOPED_TRACE(lens.Item);
        d.Edit20->setText(QStringLiteral("kept"));
        d.Edit3->setText(QStringLiteral("kept"));
        Choose(d.ComboBox1, lens.Item);
        EXPECT_EQ(d.Edit20->text(), QLatin1String(lens.ViewAngle));
        EXPECT_EQ(d.Edit3->text(), QLatin1String(lens.Radius));
    }
    Choose(d.ComboBox1, 0);

    // Setup leaves the zenith threshold models shown; the user's NC choice decides.
    EXPECT_FALSE(d.FisheyeCorectGroupBox->isHidden());
    Choose(d.ComboBox2, 0);
    EXPECT_TRUE(d.FisheyeCorectGroupBox->isHidden());
    Choose(d.ComboBox2, 3);
    EXPECT_FALSE(d.FisheyeCorectGroupBox->isHidden());

    Choose(d.ColorGroup1, 3);
    EXPECT_FALSE(d.TargetGroup1->isEnabled());
    EXPECT_FALSE(d.JhokenGroup1->isEnabled());
    for (int target : {3, 4, 5}) {
        Choose(d.ColorGroup1, target);
        d.BitBtn1Click();
        EXPECT_TRUE(AnalysisFileName.isEmpty()) << "no histogram for target " << target;
    }
    Choose(d.ColorGroup1, 1);
    EXPECT_TRUE(d.TargetGroup1->isEnabled());

    d.Edit21->setText(QStringLiteral("300"));
    d.Edit22->setText(QStringLiteral("60"));
    test::UserClick(d.Button1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(AzimuthMaskAscending);
    EXPECT_EQ(NCEnd, 81);
    EXPECT_EQ(BinarizeTarget, 1);
}

TEST_F(OptionDialogTest, LoadSetsTheChoicesThatOkAppliesAndAMissingOneKeepsTheShownChoice) {
    ThresholdCondition = 3;  // the gap estimate's, which the list does not have
    TTamOptionDialog& d = Open();
    EXPECT_EQ(d.JhokenGroup1->ItemIndex(), -1);
    WriteSettings("[Threshold]\r\nColor=0\r\nType=1\r\nJhoken=0\r\n");
    test::UserClick(d.Button6);
    EXPECT_EQ(d.ColorGroup1->ItemIndex(), 0);
    WriteSettings("[Threshold]\r\nColor=9\r\n[LAI]\r\nNCEnd=70\r\n");
    test::UserClick(d.Button6);
    EXPECT_EQ(std::tuple(d.ColorGroup1->ItemIndex(), d.TargetGroup1->ItemIndex(), d.JhokenGroup1->ItemIndex()),
              std::tuple(0, 1, 0));
    test::UserClick(d.Button1);
    EXPECT_EQ(std::tuple(BinarizeTarget, ThresholdMethod, ThresholdCondition, NCEnd), std::tuple(0, 1, 0, 70));
}

// The refusal shows where the user looks: a box over the dialog naming the
// field, the field in view with the focus, "ERR22" in the status bar until
// OK goes through.
TEST_F(OptionDialogTest, OkThatRefusesAFieldNamesItShowsItKeepsTheDialogOpenAndChangesNothing) {
    TTamOptionDialog& d = Open();
    Choose(d.ColorGroup1, 0);
    d.Edit1->setText(QStringLiteral("300"));
    const QString refused = test::StatusOf(ShowErrorMessage, "ERR22");
    const struct {
        const char* Why;
        std::function<void()> Type, Mend;
        QWidget* Field;
        QString Caption;
    } cases[] = {
        {"τ", [&] { d.Edit14->setText(QStringLiteral("abc")); }, [&] { d.Edit14->setText(QStringLiteral("0.7")); },
         d.Edit14, QStringLiteral("τ")},
        {"view angle", [&] { d.Edit20->setText(QStringLiteral("0")); }, [&] { d.Edit20->setText(QStringLiteral("90")); },
         d.Edit20, QStringLiteral("Maximum View Angle")},
        {"time zone", [&] { d.Edit17->setText(QStringLiteral("20")); }, [&] { d.Edit17->setText(QStringLiteral("9")); },
         d.Edit17, QStringLiteral("Time Zone")},
        {"year", [&] { d.YearEdit->setValue(0); }, [&] { d.YearEdit->setValue(2026); }, d.YearEdit,
         GetDialogMessage(QStringLiteral("DMS90"))},
        // A field that only a loaded file fills comes into view.
        {"slope", [&] { WriteSettings("[FishEye]\r\nAzimthCorrection=abc\r\n"); test::UserClick(d.Button6); },
         [&] { d.Edit5->setText(QStringLiteral("0")); }, d.Edit5, QStringLiteral("β'")},
    };
    for (const auto& refusal : cases) {
        SCOPED_TRACE(refusal.Why);
        refusal.Type();
        host.Messages.clear();
        test::UserClick(d.Button1);
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(host.Messages, std::vector<QString>{test::RefusalBox(refusal.Caption)});
        EXPECT_EQ(host.LastStatus(), refused);
        EXPECT_EQ(d.focusWidget(), refusal.Field);
        EXPECT_TRUE(refusal.Field->isVisible());
        EXPECT_EQ(std::pair(BinarizeTarget, ImageDPI), std::pair(2, 100.0));
        refusal.Mend();
    }
    test::UserClick(d.Button1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(host.LastStatus(), QString());
    EXPECT_EQ(std::pair(BinarizeTarget, ImageDPI), std::pair(0, 300.0));
}

// The distortion parameter takes whole numbers: a decimal typed stays as
// typed, and OK refuses it rather than read it as another number.
TEST_F(OptionDialogTest, ADecimalTypedAsTheDistortionParameterIsRefused) {
    TTamOptionDialog& d = Open();
    d.activateWindow();
    QCoreApplication::processEvents();
    auto* typed = d.SpinEdit4->findChild<QLineEdit*>();
    d.SpinEdit4->setFocus();
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("0.5"));
    d.Edit1->setFocus();
    EXPECT_EQ(typed->text(), QStringLiteral("0.5"));
    host.Messages.clear();
    test::UserClick(d.Button1);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(host.Messages, std::vector<QString>{test::RefusalBox(d.GroupBox20->title())});
    EXPECT_EQ(d.focusWidget(), d.SpinEdit4);
    EXPECT_EQ(DistortParameter, 0.0);
    // Enter in the field presses OK, which refuses it again.
    QTest::keyClick(typed, Qt::Key_Return);
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(typed->text(), QStringLiteral("0.5"));
    typed->selectAll();
    QTest::keyClicks(typed, QStringLiteral("-5"));
    test::UserClick(d.Button1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(DistortParameter, -5.0);
}

TEST_F(OptionDialogTest, OkOnTheShownSettingsGivesEverySettingBack) {
    test::UseUncommonStoredSettings(folder.path() + u'/');
    // And those that only the dialog shows.
    ColorSearchPercent = true;
    ColorSearchToleranceR = 11;
    ColorSearchToleranceG = 12;
    ColorSearchToleranceB = 13;
    RingUse[2] = false;
    DiffuseRatio = 0.2;
    const auto Settings = [] {
        return std::tuple_cat(test::StoredSettings(),
                              std::tuple(ColorSearchPercent, ColorSearchToleranceR, ColorSearchToleranceG,
                                         ColorSearchToleranceB, RingUse[2], DiffuseRatio));
    };
    const auto Shown = Settings();
    TTamOptionDialog& d = Open();
    test::UserClick(d.Button1);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(Settings(), Shown);
}

TEST_F(OptionDialogTest, ThePickedThresholdFillsTheFieldAndOnlyOkAppliesIt) {
    TTamOptionDialog& d = Open();
    QTimer::singleShot(0, [] {
        auto* window = qobject_cast<THistgramWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->windowTitle(), QStringLiteral("PHOTO.BMP(Histgram)"));
        window->SpinEdit1->setValue(77);
        test::UserClick(window->Button1);
    });
    test::UserClick(d.BitBtn1);
    EXPECT_EQ(d.SpinEdit7->value(), 77);
    EXPECT_EQ(d.TargetGroup1->ItemIndex(), 2);
    EXPECT_EQ(FixedThreshold, 0);
    test::UserClick(d.Button1);
    EXPECT_EQ(std::pair(ThresholdMethod, FixedThreshold), std::pair(2, 77));
}

TEST_F(OptionDialogTest, TheOutlineFolderAppearsWithItsCheckBox) {
    TTamOptionDialog& d = Open();
    EXPECT_TRUE(d.VecFileName->isHidden());
    d.CheckBox4->click();
    EXPECT_TRUE(d.CheckBox3->isChecked());
    EXPECT_FALSE(d.VecFileName->isHidden());
    EXPECT_EQ(d.VecFileName->text(), folder.path() + u'/');

    LabelTraceVectorize = true;
    LabelTraceVectorFolder = QDir::tempPath() + u'/';
    TTamOptionDialog& again = Open();
    EXPECT_TRUE(again.VecFileName->isEnabled());
    EXPECT_EQ(again.VecFileName->text(), QDir::tempPath() + u'/');
}

TEST_F(OptionDialogTest, SaveTellsWhenTheFileCannotBeWritten) {
    TTamOptionDialog& d = Open();
    d.SettingsPlace = OneSettingsFile(folder.filePath(QStringLiteral("missing/Options.Ini")));
    test::UserClick(d.Button5);
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_TRUE(host.Messages[0].contains(d.SettingsPlace.ProgramFile));
}

TEST_F(OptionDialogTest, SaveAndLoadUseTheProgramsFolderWhenItIsWritableElseTheUsersAndShowTheFile) {
    TTamOptionDialog& d = Open();
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("program")));
    const QString programFile = folder.filePath(QStringLiteral("program/Options.Ini"));
    const QString userFile = folder.filePath(QStringLiteral("config/TAM32/Options.Ini"));
    bool writable = true;
    d.SettingsPlace = {programFile, userFile, [&](const QString& Folder) {
                           EXPECT_EQ(Folder, folder.filePath(QStringLiteral("program")));
                           return writable;
                       }};
    const auto saveWithTau = [&](const char* Tau) {
        d.Edit14->setText(QLatin1String(Tau));
        test::UserClick(d.Button5);
    };
    const auto loadedTau = [&] {
        d.Edit14->setText(QStringLiteral("none"));
        test::UserClick(d.Button6);
        return d.Edit14->text();
    };

    // Neither file yet: Load says so and changes nothing.
    EXPECT_EQ(loadedTau(), QStringLiteral("none"));
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_TRUE(host.Messages[0].contains(programFile) && host.Messages[0].contains(userFile));

    saveWithTau("0.5");
    EXPECT_TRUE(QFile::exists(programFile));
    EXPECT_FALSE(QDir(folder.filePath(QStringLiteral("config"))).exists());
    EXPECT_EQ(host.LastStatus(), programFile);
    EXPECT_EQ(loadedTau(), QStringLiteral("0.5"));
    EXPECT_EQ(host.LastStatus(), programFile);

    // A program folder without room for a file: the user's folder, made with its parents.
    writable = false;
    saveWithTau("0.7");
    EXPECT_EQ(host.LastStatus(), userFile);
    EXPECT_EQ(loadedTau(), QStringLiteral("0.7"));
    EXPECT_EQ(host.LastStatus(), userFile);
    // Load takes the other file when the one that Save would write is missing.
    ASSERT_TRUE(QFile::remove(userFile));
    EXPECT_EQ(loadedTau(), QStringLiteral("0.5"));
    EXPECT_EQ(host.LastStatus(), programFile);

    // A user's folder that cannot be made: Save says why and writes nothing.
    d.SettingsPlace.UserFile = programFile + QStringLiteral("/TAM32/Options.Ini");
    const QByteArray before = [&] {
        QFile file(programFile);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    saveWithTau("0.9");
    ASSERT_EQ(host.Messages.size(), 2u);
    EXPECT_TRUE(host.Messages[1].contains(programFile + QStringLiteral("/TAM32"))) << host.Messages[1].toStdString();
    EXPECT_TRUE(host.Messages[1].contains(QStringLiteral("directory"))) << host.Messages[1].toStdString();
    QFile file(programFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(OptionDialogTest, AFileTooLargeToBeASettingsFileIsNeitherLoadedNorWritten) {
    TTamOptionDialog& d = Open();
    WriteSettings("[Threshold]\r\nColor=0\r\n");
    const qint64 size = 16 * 1024 * 1024 + 1;
    ASSERT_TRUE(QFile::resize(d.SettingsPlace.ProgramFile, size));
    const int shown = d.ColorGroup1->ItemIndex();
    ASSERT_NE(shown, 0);
    test::UserClick(d.Button6);
    EXPECT_EQ(d.ColorGroup1->ItemIndex(), shown);
    test::UserClick(d.Button5);
    EXPECT_EQ(QFileInfo(d.SettingsPlace.ProgramFile).size(), size);
    ASSERT_EQ(host.Messages.size(), 2u);
    for (const QString& message : host.Messages) {
        EXPECT_TRUE(message.contains(d.SettingsPlace.ProgramFile)) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("16777216"))) << message.toStdString();
    }
}

TEST_F(OptionDialogTest, GroupSelectionMarksTheGroupsLeftInTheTargetList) {
    DiscLastGroup = 11;
    dialog = std::make_unique<TTamOptionDialog>();
    TTamOptionDialog& d = *dialog;
    d.SetupGroupSelection();
    d.show();
    EXPECT_EQ(d.PageControl1->currentWidget(), d.TabSheet3);
    EXPECT_EQ(d.Label7->text(), QStringLiteral("Excluded Groups"));
    EXPECT_FALSE(d.Button5->isVisible());
    for (const char* moved : {"2", "10"}) {
        d.ListBox1->setCurrentItem(d.ListBox1->findItems(QLatin1String(moved), Qt::MatchExactly).at(0));
        test::UserClick(d.Button3);
    }
    EXPECT_EQ(d.ListBox2->item(0)->text(), QStringLiteral("10"));
    test::UserClick(d.Button1);
    const bool expected[21] = {true, false, true, true, true, true, true, true, true, false, true, true};
    for (int group = 0; group < 21; ++group) EXPECT_EQ(RecognizedGroups[group], expected[group]) << group;

    d.SetupGroupSelection();
    d.show();
    test::UserClick(d.Button2);
    EXPECT_TRUE(OptionsCancelled);
}

}  // namespace
}  // namespace tam32
