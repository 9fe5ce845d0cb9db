// The message files that ship beside the program: complete in both locales,
// and every format text fits what its caller passes.
#include <gtest/gtest.h>

#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <numeric>
#include <vector>

#include "platform/ProgramFolder.h"
#include "analysis/core/BuiltInTexts.h"
#include "analysis/core/Messages.h"
#include "platform/DelphiFormat.h"
#include "platform/IniFile.h"

using namespace tam32;

namespace {

const char* const kFiles[] = {"Tam32.msg", "menu.msg"};

struct FormCaptions {
    const char* Key;
    int Count;
};
const FormCaptions kForms[] = {{"AFINDLG", 7}, {"INFODLG", 14}, {"LOOK", 11}, {"OPTION", 64}, {"PARITEM", 7}};

// The dialog texts that callers pass to Format, with arguments of the types
// they pass. Integers and one-decimal reals are chosen so that each value can
// be found again in the result.
struct FormatUse {
    int Dms;
    std::vector<FormatArg> Args;
    std::vector<QString> Shown;
};
const std::vector<FormatUse>& FormatUses() {
    static const std::vector<FormatUse> Uses = {
        {1, {12.5, 101, 102, 103, 104}, {"12.5", "101", "102", "103", "104"}},  // distance, start, end
        {3, {101, 102}, {"101", "102"}},                                         // circle centre
        {4, {103}, {"103"}},                                                     // circle radius
        {17, {7, 33.5, 56.5}, {"7", "33.5", "56.5"}},                            // point, zenith, elevation
        {29, {101, 480}, {"101", "480"}},                                        // rows done, rows
        {35, {4321}, {"4321"}},                                                  // matched pixels
        {38, {12.5}, {"12.5"}},
        {39, {13.5}, {"13.5"}},
        {41, {11.5, 22.5}, {"11.5", "22.5"}},  // mean, deviation of each channel and class
        {42, {11.5, 22.5}, {"11.5", "22.5"}},
        {43, {11.5, 22.5}, {"11.5", "22.5"}},
        {44, {11.5, 22.5}, {"11.5", "22.5"}},
        {45, {11.5, 22.5}, {"11.5", "22.5"}},
        {46, {11.5, 22.5}, {"11.5", "22.5"}},
        {62, {11.5, 22.5}, {"11.5", "22.5"}},  // open sky, under canopy
        {63, {11.5, 22.5}, {"11.5", "22.5"}},
        {64, {11.5, 22.5}, {"11.5", "22.5"}},
        {84, {12.5}, {"12.5"}},  // polyline length
        {85, {"/p/a.bmp"}, {"/p/a.bmp"}},  // the file to replace
        {86, {"/p/a.bmp"}, {"/p/a.bmp"}},  // the file an open window shows
        {91, {102, 103}, {"102", "103"}},  // a kernel cell's column and row
        {92, {"X1"}, {"X1"}},              // a bound of the output extent
        {93, {104, "Col"}, {"104", "Col"}},  // a control point and its column
        {87, {"/p/k.txt", int64_t(1048576)}, {"/p/k.txt", "1048576"}},  // a file over its limit
        {110, {7, "a 01.bmp", "why"}, {"7", "a 01.bmp", "why"}},  // a batch line passed over
        {113, {"cannot decode"}, {"cannot decode"}},              // the loader's reason
        {116, {"/p/a.jpg"}, {"/p/a.jpg"}},                        // a corrected picture's name refused
        {88, {"/p/a.jpg"}, {"/p/a.jpg"}},  // a picture that cannot be read
        {89, {"/p/a.jpg"}, {"/p/a.jpg"}},
    };
    return Uses;
}

// Copies of the shipped files in a folder of their own, with both LOCALE
// keys set to the locale under test.
class ShippedMessagesTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        for (const char* Name : kFiles) {
            const QString Shipped = ProgramFolder() + u'/' + QLatin1String(Name);
            ASSERT_TRUE(QFile::exists(Shipped)) << Name << " is not installed beside the tests";
            ASSERT_TRUE(QFile::copy(Shipped, FDir.filePath(Name)));
            TIniFile(FDir.filePath(Name)).WriteString("LOCALE", "LOCALE", GetParam());
        }
        SetMessageFolder(FDir.path());
    }
    void TearDown() override { SetMessageFolder(QString()); }

private:
    QTemporaryDir FDir;
};

}  // namespace

TEST_P(ShippedMessagesTest, EveryKeyThatCallersAskForHasAText) {
    const auto Check = [](const QString& Text, const QString& What) {
        EXPECT_FALSE(Text.trimmed().isEmpty()) << What.toStdString();
        EXPECT_NE(Text, "ERROR") << What.toStdString();
    };
    const TIniFile Messages(MessageFolder() + "/Tam32.msg");
    const QString Locale = GetParam();
    for (int I : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24, 25, 26, 28, 29,
                  30, 31, 32, 33})
        Check(Messages.ReadString("ERROR_CODE_" + Locale, QString("ERR%1").arg(I), "ERROR"), QString("ERR%1").arg(I));
    for (int I = 1; I <= 10; ++I)
        Check(Messages.ReadString("INSTRUCTION_CODE_" + Locale, QString("MSG%1").arg(I), "ERROR"),
              QString("MSG%1").arg(I));
    std::vector<int> Dialog(89);
    std::iota(Dialog.begin(), Dialog.end(), 1);
    Dialog.insert(Dialog.end(), {90, 91, 92, 93});
    for (int I = 95; I <= 116; ++I) Dialog.push_back(I);
    for (int I : Dialog) Check(GetDialogMessage(QString("DMS%1").arg(I)), QString("DMS%1").arg(I));
    for (int I = 0; I <= 88; ++I) Check(GetMenuCaption(I), QString("MM %1").arg(I));
    for (const FormCaptions& Form : kForms)
        for (int I = 0; I < Form.Count; ++I) Check(GetFormCaption(Form.Key, I), QString("%1 %2").arg(Form.Key).arg(I));
    EXPECT_EQ(GetMenuCaption(5), "-");  // the separator of the File menu stays one
    EXPECT_EQ(Messages.ReadSection("DIALOG_CODE_" + Locale).size(), qsizetype(Dialog.size()));
    // The distortion field takes whole numbers: its message asks for one.
    EXPECT_FALSE(Messages.ReadString("ERROR_CODE_" + Locale, "ERR4", "").contains("0.1"));
    EXPECT_GE(GetMenuCharset(), 0);
    EXPECT_LE(GetMenuCharset(), 255);
}

TEST_P(ShippedMessagesTest, EachFormatTextTakesItsCallersArguments) {
    for (const FormatUse& Use : FormatUses()) {
        const QString Key = QString("DMS%1").arg(Use.Dms);
        QString Line;
        ASSERT_NO_THROW(Line = Format(GetDialogMessage(Key), Use.Args)) << Key.toStdString();
        for (const QString& Value : Use.Shown)
            EXPECT_TRUE(Line.contains(Value)) << Key.toStdString() << ": " << Line.toStdString() << " lacks "
                                              << Value.toStdString();
    }
    // A picture too large, an error text that names its file.
    const QString TooLarge =
        TIniFile(MessageFolder() + "/Tam32.msg").ReadString(QString("ERROR_CODE_") + GetParam(), "ERR26", "ERROR");
    QString Line;
    ASSERT_NO_THROW(Line = Format(TooLarge, {"/p/a.jpg"}));
    EXPECT_TRUE(Line.contains("/p/a.jpg")) << Line.toStdString();
}

TEST_P(ShippedMessagesTest, AWriteFailureNamesTheFileAndTheReason) {
    const TIniFile Messages(MessageFolder() + "/Tam32.msg");
    const QString Text = Messages.ReadString(QStringLiteral("ERROR_CODE_") + GetParam(), "ERR24", "ERROR");
    QString Line;
    ASSERT_NO_THROW(Line = Format(Text, {"/p/Options.Ini", "No space left on device"})) << Text.toStdString();
    EXPECT_TRUE(Line.contains("/p/Options.Ini")) << Line.toStdString();
    EXPECT_TRUE(Line.contains("No space left on device")) << Line.toStdString();
}

TEST_P(ShippedMessagesTest, TextsThatOthersAreAppendedToKeepTheirEdges) {
    EXPECT_TRUE(GetDialogMessage("DMS8").endsWith(u' '));   // + dpi
    EXPECT_TRUE(GetDialogMessage("DMS12").endsWith(u' '));  // + angle
    EXPECT_TRUE(GetDialogMessage("DMS23").endsWith(u'('));  // + "l,t)-(r,b)"
    EXPECT_TRUE(GetDialogMessage("DMS49").startsWith(u'\t'));  // more columns of the DMS48 heading
    EXPECT_EQ(GetDialogMessage("DMS48").count(u'\t'), 2);
    EXPECT_EQ(GetDialogMessage("DMS49").count(u'\t'), 3);
}

INSTANTIATE_TEST_SUITE_P(Locales, ShippedMessagesTest, ::testing::Values("EN", "JP"));

TEST(ShippedMessageFilesTest, AreUtf8WithWindowsLineEndsAndShipTheEnglishLocale) {
    for (const char* Name : kFiles) {
        QFile File(ProgramFolder() + u'/' + QLatin1String(Name));
        ASSERT_TRUE(File.open(QIODevice::ReadOnly)) << Name;
        const QByteArray Bytes = File.readAll();
        QStringDecoder Decoder(QStringDecoder::Utf8);
        const QString Text = Decoder.decode(Bytes);
        EXPECT_FALSE(Decoder.hasError()) << Name;
        EXPECT_FALSE(Bytes.startsWith("\xEF\xBB\xBF")) << Name;
        EXPECT_EQ(Bytes.count("\n"), Bytes.count("\r\n")) << Name;
        EXPECT_TRUE(Bytes.endsWith("\r\n")) << Name;
        EXPECT_EQ(TIniFile(File.fileName()).ReadString("LOCALE", "LOCALE", "JP"), "EN") << Name;
    }
}

TEST(ShippedMessageFilesTest, JapaneseCaptionsAreTheProgramsOwn) {
    QTemporaryDir Dir;
    for (const char* Name : kFiles) {
        ASSERT_TRUE(QFile::copy(ProgramFolder() + u'/' + QLatin1String(Name), Dir.filePath(Name)));
        TIniFile(Dir.filePath(Name)).WriteString("LOCALE", "LOCALE", "JP");
    }
    SetMessageFolder(Dir.path());
    EXPECT_EQ(GetMenuCaption(0), "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(GetMenuCaption(45), "判別式読込");
    EXPECT_EQ(GetMenuCaption(59), "日変化＆積算");
    EXPECT_EQ(GetMenuCaption(88), "ﾊﾞｰｼﾞｮﾝ情報(&A)");
    EXPECT_EQ(GetFormCaption("AFINDLG", 0), "幾何補正");
    EXPECT_EQ(GetFormCaption("INFODLG", 0), "インフォメーション");
    EXPECT_EQ(GetFormCaption("LOOK", 5), "判別分析実行");
    EXPECT_EQ(GetFormCaption("OPTION", 42), "等距離射影（理論）");
    EXPECT_EQ(GetFormCaption("OPTION", 49), "ノーマル");
    EXPECT_EQ(GetFormCaption("PARITEM", 1), "指定期間");
    EXPECT_EQ(GetDialogMessage("DMS81"), "変更");
    // A key that older files lack reads in the shipped file as the program shows it without.
    const QString JapaneseSection[][2] = {{"ERROR_CODE_", "ERROR_CODE_JP"}, {"DIALOG_CODE_", "DIALOG_CODE_JP"}};
    const TIniFile Messages(Dir.filePath("Tam32.msg"));
    int BuiltIn = 0;
    for (const auto& [Prefix, Section] : JapaneseSection)
        for (const char* Family : {"ERR", "DMS"})
            for (int I = 1; I <= 200; ++I)
                if (const auto Text = BuiltInText(Prefix, QString("%1%2").arg(QLatin1String(Family)).arg(I))) {
                    ++BuiltIn;
                    EXPECT_EQ(Messages.ReadString(Section, QString("%1%2").arg(QLatin1String(Family)).arg(I), "ERROR"), *Text);
                }
    for (const FormCaptions& Form : kForms)
        for (int I = 0; I < Form.Count; ++I)
            if (const auto Text = BuiltInText(QLatin1String(Form.Key) + u'_', QString::number(I))) {
                ++BuiltIn;
                EXPECT_EQ(GetFormCaption(Form.Key, I), *Text);
            }
    EXPECT_EQ(BuiltIn, 37);
    SetMessageFolder(QString());
}
