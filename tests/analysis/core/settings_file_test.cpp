// The settings file and the options dialog's OK without the dialog: what
// Save writes, what Load takes, and what OK applies or refuses.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <tuple>

#include "analysis/AnalysisFixture.h"
#include "common/stored_settings.h"
#include "analysis/core/OptionFields.h"
#include "analysis/core/SettingsFile.h"
#include "platform/FileSave.h"

namespace tam32 {
namespace {

const QDate kToday(2026, 12, 7);

class SettingsFileTest : public test::AnalysisFixture {
protected:
    void SetUp() override {
        AnalysisFixture::SetUp();
        ResetSettingsToDefaults(kToday);
        File = Folder.filePath(QStringLiteral("Options.Ini"));
    }
    void WriteFile(const QByteArray& Text) {
        QFile Out(File);
        ASSERT_TRUE(Out.open(QIODevice::WriteOnly));
        Out.write(Text);
    }
    QByteArray ReadFile() const {
        QFile In(File);
        return In.open(QIODevice::ReadOnly) ? In.readAll() : QByteArray();
    }
    // The fields as Setup shows the settings, with File loaded into them.
    TOptionFields Loaded() const {
        TOptionFields Fields = OptionFieldsFromSettings(QString());
        ReadSettingsFile(File, Fields, QString());
        return Fields;
    }

    QString File;
};

using test::StoredSettings;

TEST_F(SettingsFileTest, SaveWritesTheBuiltInSettingsInTheFilesOrderWithCrLf) {
    WriteSettingsFile(File, OptionFieldsFromSettings(QString()));
    const QByteArray Bytes = ReadFile();
    ASSERT_TRUE(Bytes.endsWith("\r\n"));
    QStringList Lines = QString::fromUtf8(Bytes.chopped(2)).split(QStringLiteral("\r\n"));
    for (const QString& Line : Lines) EXPECT_FALSE(Line.contains(u'\r') || Line.contains(u'\n'));
    Lines.removeAll(QString());
    const QStringList Expected = {
        "[Threshold]", "Color=2", "Type=0", "Jhoken=1",
        "[Area]", "MaxLabellBuffSize=20000", "MinLabelledArea=50", "MaxLabelledArea=-1", "ShowLabelledNumber=1",
        "CalcTraceLengthRatio=0", "LabelTraceVectorize=0", "LabelTraceVectorFile=", "LabelingDuplicate=0",
        "[ScanDpi]", "Dpi=100.00",
        "[FishEye]", "ScanPhotoRadi= 11.50", "MaxAngle= 90.00", "AzimthMask0=  0.00", "AzimthMask1=360.00",
        "AzimthMaskUse=0", "AzimthCorrection=  0.00", "ZenithCorrection=  0.00", "SlopeCorrection=0",
        "ThresholdType=0", "ProjectType=5",
        "[LAI]", "NCType=3", "NCStart=0", "NCEnd=74",
        "[PAR]", "LatitudeH=35", "LatitudeM=38", "LatitudeS=59", "LongitudeH=139", "LongitudeM=45", "LongitudeS=0",
        "Tau=  0.60", "AboveSea=   0.0", "PPAR= 51.00", "TimrZone=9.00", "DifModel=0", "Year=2026", "Month=12",
        "Day=7",
        "[Distort]", "Parameter=0", "Auto=0",
    };
    EXPECT_EQ(Lines, Expected);
}

TEST_F(SettingsFileTest, SaveLoadAndOkGiveBackEveryStoredSettingAndKeepTheFilesOtherLines) {
    ASSERT_TRUE(QDir(Folder.path()).mkdir(QStringLiteral("outlines")));
    WriteFile("; kept\r\n[Other]\r\nKey=1\r\n");
    test::UseUncommonStoredSettings(Folder.filePath(QStringLiteral("outlines/")));
    const auto Expected = StoredSettings();

    WriteSettingsFile(File, OptionFieldsFromSettings(QString()));
    ResetSettingsToDefaults(kToday);
    ASSERT_TRUE(ApplySettingsFile(File));
    EXPECT_TRUE(StoredSettings() == Expected);
    EXPECT_TRUE(ReadFile().startsWith("; kept\r\n[Other]\r\nKey=1\r\n"));
}

TEST_F(SettingsFileTest, LoadKeepsTheLensAndMethodsItCannotTakeAndOkRefusesATauThatIsNoNumber) {
    WriteFile("[Threshold]\r\nType=2\r\n[FishEye]\r\nProjectType=12\r\n[PAR]\r\nTau=abc\r\n");
    const TOptionFields Fields = Loaded();
    EXPECT_EQ(Fields.LensType, 5);
    EXPECT_EQ(Fields.ThresholdMethod, kFixedMethodItem);
    EXPECT_EQ(Fields.FixedThreshold, 0);
    EXPECT_EQ(ApplyOptionFields(Fields), TOptionField::Tau);
    EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR22"));
    EXPECT_EQ(ThresholdMethod, 0);
    EXPECT_EQ(Tau, 0.6);
}

TEST_F(SettingsFileTest, LoadIgnoresItemsOutsideTheListsAndClampsSpinValues) {
    WriteFile("[Threshold]\r\nColor=6\r\nType=-1\r\nJhoken=3\r\n[Area]\r\nMaxLabellBuffSize=abc\r\n"
              "[FishEye]\r\nThresholdType=5\r\nProjectType=8\r\n[LAI]\r\nNCType=4\r\n"
              "[PAR]\r\nLatitudeH=100\r\nLongitudeM=-1\r\nDifModel=2\r\nMonth=0\r\n[Distort]\r\nParameter=500\r\n");
    const TOptionFields Before = OptionFieldsFromSettings(QString());
    const TOptionFields Fields = Loaded();
    EXPECT_EQ(std::tuple(Fields.BinarizeTarget, Fields.ThresholdMethod, Fields.ThresholdCondition, Fields.MaxLabelBuffSize,
                         Fields.ZenithThresholdType, Fields.LensType, Fields.NCType, Fields.DifModel),
              std::tuple(Before.BinarizeTarget, Before.ThresholdMethod, Before.ThresholdCondition, Before.MaxLabelBuffSize,
                         Before.ZenithThresholdType, Before.LensType, Before.NCType, Before.DifModel));
    EXPECT_EQ(std::tuple(Fields.LatitudeH, Fields.LongitudeM, Fields.TargetMonth, Fields.DistortParameter),
              std::tuple(90, 0, 1, 100));
}

TEST_F(SettingsFileTest, LoadDoesWhatTheHandlersOfTheControlsItSetsDo) {
    WriteFile("[Threshold]\r\nType=2\r\nValue=300\r\n[Area]\r\nLabelTraceVectorize=1\r\n[LAI]\r\nNCStart=80\r\n");
    TOptionFields Fields = OptionFieldsFromSettings(QString());
    ReadSettingsFile(File, Fields, Folder.filePath(QStringLiteral("photo.bmp")));
    EXPECT_EQ(Fields.FixedThreshold, 255);
    EXPECT_TRUE(Fields.CalcTraceLengthRatio);
    EXPECT_EQ(Fields.LabelTraceVectorFolder, Folder.path() + u'/');
    EXPECT_EQ(std::pair(Fields.NCStart, Fields.NCEnd), std::pair(80, 81));
}

TEST_F(SettingsFileTest, OkRefusesAnUnsoundFieldAndThenChangesNoSetting) {
    struct TCase {
        const char* Name;
        void (*Edit)(TOptionFields&);
        std::optional<TOptionField> Refused;
    };
    const TCase Cases[] = {
        {"a time zone west of Greenwich", [](TOptionFields& F) { F.TimeZone = "-5"; }, std::nullopt},
        {"a time zone beyond -12 h", [](TOptionFields& F) { F.TimeZone = "-13"; }, TOptionField::TimeZone},
        {"year 0", [](TOptionFields& F) { F.TargetYear = 0; }, TOptionField::TargetYear},
        {"year 10000", [](TOptionFields& F) { F.TargetYear = 10000; }, TOptionField::TargetYear},
        {"31 April", [](TOptionFields& F) {
             F.TargetMonth = 4;
             F.TargetDay = 31;
         }, TOptionField::TargetDay},
        {"a resolution of 0", [](TOptionFields& F) { F.ImageDPI = "0"; }, TOptionField::ImageDPI},
        {"a resolution in letters", [](TOptionFields& F) { F.ImageDPI = "abc"; }, TOptionField::ImageDPI},
        {"a view angle of 0", [](TOptionFields& F) { F.MaxViewAngle = "  0.00"; }, TOptionField::MaxViewAngle},
        {"a negative altitude", [](TOptionFields& F) { F.AboveSea = "-1"; }, TOptionField::AboveSea},
        {"a negative diffuse ratio", [](TOptionFields& F) { F.DiffuseRatio = "-0.5"; }, TOptionField::DiffuseRatio},
        {"an infinite tau", [](TOptionFields& F) { F.Tau = "1e400"; }, TOptionField::Tau},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Name);
        ResetSettingsToDefaults(kToday);
        const auto Before = StoredSettings();
        TOptionFields Fields = OptionFieldsFromSettings(QString());
        Fields.BinarizeTarget = 0;
        Case.Edit(Fields);
        EXPECT_EQ(ApplyOptionFields(Fields), Case.Refused);
        if (Case.Refused) {
            EXPECT_TRUE(StoredSettings() == Before);
            EXPECT_EQ(Host.LastStatus(), QStringLiteral("ERR22"));
        } else {
            EXPECT_EQ(BinarizeTarget, 0);
        }
    }
    EXPECT_EQ(TimeZone, 9.0);
}

TEST_F(SettingsFileTest, OkStoresTheOutlineFolderWithOneFinalSlash) {
    const std::tuple<QString, QString, bool> Cases[] = {
        {"/data/out", "/data/out/", true},
        {"/data/out/", "/data/out/", true},
        {"", "", false},
    };
    for (const auto& [Text, Stored, Vectorize] : Cases) {
        SCOPED_TRACE(Text.toStdString());
        TOptionFields Fields = OptionFieldsFromSettings(QString());
        Fields.LabelTraceVectorize = true;
        Fields.LabelTraceVectorFolder = Text;
        ASSERT_FALSE(ApplyOptionFields(Fields));
        EXPECT_EQ(LabelTraceVectorFolder, Stored);
        EXPECT_EQ(LabelTraceVectorize, Vectorize);
    }
}

TEST_F(SettingsFileTest, SaveThatCannotWriteRaisesAndLeavesNothingBehind) {
    const QStringList Targets = {Folder.filePath(QStringLiteral("missing/Options.Ini")), Folder.path()};
    for (const QString& Target : Targets) {
        SCOPED_TRACE(Target.toStdString());
        const QStringList Entries = QDir(Folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
        EXPECT_ANY_THROW(WriteSettingsFile(Target, OptionFieldsFromSettings(QString())));
        EXPECT_EQ(QDir(Folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), Entries);
    }
    TOptionFields Broken = OptionFieldsFromSettings(QString());
    Broken.Tau = QStringLiteral("0.6\n[Other]");
    try {
        WriteSettingsFile(File, Broken);
        ADD_FAILURE() << "a line break was written";
    } catch (const EIniFileException& E) {
        EXPECT_EQ(E.Message(), QStringLiteral("Unable to write to ") + File);
    }
    EXPECT_FALSE(QFile::exists(File));
}

}  // namespace
}  // namespace tam32
