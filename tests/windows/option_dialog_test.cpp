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
#include <QTimer>
#include <QToolButton>
#include <memory>
#include <tuple>

#include "analysis/AnalysisState.h"
#include "analysis/Classifier.h"
#include "analysis/GlobalSettings.h"
#include "analysis/RecordingEngineHost.h"
#include "common/stored_settings.h"
#include "common/widget_app_env.h"
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
        dialog->SettingsFile = folder.filePath(QStringLiteral("Options.Ini"));
        dialog->Setup(Photo, 0, 0, 9, 9);
        dialog->show();
        return *dialog;
    }
    void WriteSettings(const QByteArray& Text) {
        QFile file(dialog->SettingsFile);
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
    d.Button1->click();
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
    d.Button6->click();
    EXPECT_EQ(d.ColorGroup1->ItemIndex(), 0);
    WriteSettings("[Threshold]\r\nColor=9\r\n[LAI]\r\nNCEnd=70\r\n");
    d.Button6->click();
    EXPECT_EQ(std::tuple(d.ColorGroup1->ItemIndex(), d.TargetGroup1->ItemIndex(), d.JhokenGroup1->ItemIndex()),
              std::tuple(0, 1, 0));
    d.Button1->click();
    EXPECT_EQ(std::tuple(BinarizeTarget, ThresholdMethod, ThresholdCondition, NCEnd), std::tuple(0, 1, 0, 70));
}

TEST_F(OptionDialogTest, OkThatRefusesAFieldShowsItKeepsTheDialogOpenAndChangesNothing) {
    TTamOptionDialog& d = Open();
    Choose(d.ColorGroup1, 0);
    d.Edit1->setText(QStringLiteral("300"));
    d.Edit14->setText(QStringLiteral("abc"));
    d.Button1->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_FALSE(host.StatusTexts.empty());
    EXPECT_EQ(d.PageControl1->currentWidget(), d.TabSheet4);
    EXPECT_EQ(d.focusWidget(), d.Edit14);
    EXPECT_EQ(std::pair(BinarizeTarget, ImageDPI), std::pair(2, 100.0));
    // A field that only a loaded file fills comes into view.
    d.Edit14->setText(QStringLiteral("0.7"));
    WriteSettings("[FishEye]\r\nAzimthCorrection=abc\r\n");
    d.Button6->click();
    ASSERT_FALSE(d.Edit5->isVisible());
    d.Button1->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.focusWidget(), d.Edit5);
    EXPECT_TRUE(d.Edit5->isVisible());
    d.Button2->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(std::pair(BinarizeTarget, ImageDPI), std::pair(2, 100.0));
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
    d.Button1->click();
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
        window->Button1->click();
    });
    d.BitBtn1->click();
    EXPECT_EQ(d.SpinEdit7->value(), 77);
    EXPECT_EQ(d.TargetGroup1->ItemIndex(), 2);
    EXPECT_EQ(FixedThreshold, 0);
    d.Button1->click();
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
    d.SettingsFile = folder.filePath(QStringLiteral("missing/Options.Ini"));
    d.Button5->click();
    ASSERT_EQ(host.Messages.size(), 1u);
    EXPECT_TRUE(host.Messages[0].contains(d.SettingsFile));
}

TEST_F(OptionDialogTest, AFileTooLargeToBeASettingsFileIsNeitherLoadedNorWritten) {
    TTamOptionDialog& d = Open();
    WriteSettings("[Threshold]\r\nColor=0\r\n");
    const qint64 size = 16 * 1024 * 1024 + 1;
    ASSERT_TRUE(QFile::resize(d.SettingsFile, size));
    const int shown = d.ColorGroup1->ItemIndex();
    ASSERT_NE(shown, 0);
    d.Button6->click();
    EXPECT_EQ(d.ColorGroup1->ItemIndex(), shown);
    d.Button5->click();
    EXPECT_EQ(QFileInfo(d.SettingsFile).size(), size);
    ASSERT_EQ(host.Messages.size(), 2u);
    for (const QString& message : host.Messages) {
        EXPECT_TRUE(message.contains(d.SettingsFile)) << message.toStdString();
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
        d.Button3->click();
    }
    EXPECT_EQ(d.ListBox2->item(0)->text(), QStringLiteral("10"));
    d.Button1->click();
    const bool expected[21] = {true, false, true, true, true, true, true, true, true, false, true, true};
    for (int group = 0; group < 21; ++group) EXPECT_EQ(RecognizedGroups[group], expected[group]) << group;

    d.SetupGroupSelection();
    d.show();
    d.Button2->click();
    EXPECT_TRUE(OptionsCancelled);
}

}  // namespace
}  // namespace tam32
