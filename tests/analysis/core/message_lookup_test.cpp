#include <gtest/gtest.h>
#include <iconv.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include "analysis/RecordingEngineHost.h"
#include "platform/ProgramFolder.h"
#include "analysis/core/Messages.h"
#include "platform/Exceptions.h"

using namespace tam32;
using tam32::test::TRecordingEngineHost;

namespace {

// Both message files with EN and JP sections of every family; the [LOCALE]
// sections are what each test varies.
const QByteArray kMessageBody =
    "[ERROR_CODE_EN]\r\nERR14=Cannot load the image\r\n"
    "[ERROR_CODE_JP]\r\nERR14=画像ファイルを読み込めません\r\n"
    "[INSTRUCTION_CODE_EN]\r\nMSG10=Finished\r\n"
    "[INSTRUCTION_CODE_JP]\r\nMSG10=処理が終了しました\r\n"
    "[DIALOG_CODE_EN]\r\nDMS29=%d / %d lines\r\nDMS30=\r\n"
    "[DIALOG_CODE_JP]\r\nDMS29=%d / %d ライン\r\n";
const QByteArray kMenuBody =
    "[MM_EN]\r\n0=&File\r\n12=Paste\r\n"
    "[MM_JP]\r\n0=ﾌｧｲﾙ(&F)\r\n12=貼り付け\r\n"
    "[INFODLG_EN]\r\n4=Area\r\n"
    "[INFODLG_JP]\r\n4=面積\r\n"
    "[OPTION_JP]\r\n42=等距離射影（理論）\r\n";

class MessageLookupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FDir.isValid());
        SetMessageFolder(FDir.path());
    }
    void TearDown() override { SetMessageFolder(QString()); }

    void Write(const QString& Name, const QByteArray& Bytes) {
        QFile File(FDir.filePath(Name));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(File.write(Bytes), Bytes.size());
    }
    void WriteBoth(const QByteArray& MessageLocale, const QByteArray& MenuLocale) {
        Write("Tam32.msg", MessageLocale + kMessageBody);
        Write("menu.msg", MenuLocale + kMenuBody);
    }
    QString StatusOfError(const QString& Code) {
        ShowErrorMessage(Code);
        return Host.LastStatus();
    }

    TRecordingEngineHost Host;
    QTemporaryDir FDir;
};

QByteArray ToCp932(const QByteArray& Utf8) {
    iconv_t Cd = iconv_open("CP932", "UTF-8");
    EXPECT_NE(Cd, reinterpret_cast<iconv_t>(-1));
    QByteArray Out(Utf8.size() * 2, '\0');
    char* In = const_cast<char*>(Utf8.constData());
    size_t InLeft = Utf8.size();
    char* Target = Out.data();
    size_t TargetLeft = Out.size();
    EXPECT_NE(iconv(Cd, &In, &InLeft, &Target, &TargetLeft), static_cast<size_t>(-1));
    iconv_close(Cd);
    Out.resize(Out.size() - static_cast<qsizetype>(TargetLeft));
    return Out;
}

}  // namespace

TEST_F(MessageLookupTest, WithoutFilesEveryTextReadsErrorAndTheCharsetIsOne) {
    EXPECT_EQ(StatusOfError("ERR14"), "ERROR");
    ShowInstructionMessage("MSG10");
    EXPECT_EQ(Host.LastStatus(), "ERROR");
    EXPECT_EQ(Host.StatusTexts.size(), 2u);
    EXPECT_EQ(GetDialogMessage("DMS29"), "ERROR");
    EXPECT_EQ(GetMenuCaption(0), "ERROR");
    EXPECT_EQ(GetFormCaption("INFODLG", 4), "ERROR");
    EXPECT_EQ(GetMenuCharset(), 1);
}

TEST_F(MessageLookupTest, WithoutALocaleTheJapaneseSectionsAreRead) {
    WriteBoth("", "");
    EXPECT_EQ(StatusOfError("ERR14"), "画像ファイルを読み込めません");
    EXPECT_EQ(GetDialogMessage("DMS29"), "%d / %d ライン");
    EXPECT_EQ(GetMenuCaption(0), "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(GetFormCaption("INFODLG", 4), "面積");
    EXPECT_EQ(GetFormCaption("OPTION", 42), "等距離射影（理論）");
}

TEST_F(MessageLookupTest, TheLocaleOfEachFileNamesItsSections) {
    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "[LOCALE]\r\nLOCALE=EN\r\nCHARSET=0\r\n");
    EXPECT_EQ(StatusOfError("ERR14"), "Cannot load the image");
    ShowInstructionMessage("MSG10");
    EXPECT_EQ(Host.LastStatus(), "Finished");
    EXPECT_EQ(GetDialogMessage("DMS29"), "%d / %d lines");
    EXPECT_EQ(GetMenuCaption(12), "Paste");
    EXPECT_EQ(GetFormCaption("INFODLG", 4), "Area");
    EXPECT_EQ(GetMenuCharset(), 0);

    // The menu file keeps its own default locale when only the messages say EN.
    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "");
    EXPECT_EQ(GetDialogMessage("DMS29"), "%d / %d lines");
    EXPECT_EQ(GetMenuCaption(12), "貼り付け");

    // Section names compare without regard to case.
    WriteBoth("[locale]\r\nlocale=en\r\n", "");
    EXPECT_EQ(StatusOfError("ERR14"), "Cannot load the image");
}

TEST_F(MessageLookupTest, AChangeToAFileThatHadSettledIsSeenAtTheNextLookup) {
    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "[LOCALE]\r\nLOCALE=EN\r\n");
    // Old enough for its reading to be kept.
    QThread::msleep(2100);
    EXPECT_EQ(GetDialogMessage("DMS29"), "%d / %d lines");
    EXPECT_EQ(GetMenuCaption(12), "Paste");
    // The same size, so only the file's times tell the change.
    WriteBoth("[LOCALE]\r\nLOCALE=JP\r\n", "[LOCALE]\r\nLOCALE=JP\r\n");
    EXPECT_EQ(GetDialogMessage("DMS29"), "%d / %d ライン");
    EXPECT_EQ(GetMenuCaption(12), "貼り付け");
}

TEST_F(MessageLookupTest, MissingLocaleSectionsOrKeysGiveErrorWithoutFallingBack) {
    WriteBoth("[LOCALE]\r\nLOCALE=FR\r\n", "[LOCALE]\r\nLOCALE=FR\r\n");
    EXPECT_EQ(StatusOfError("ERR14"), "ERROR");
    EXPECT_EQ(GetDialogMessage("DMS29"), "ERROR");
    EXPECT_EQ(GetMenuCaption(0), "ERROR");
    EXPECT_EQ(GetFormCaption("INFODLG", 4), "ERROR");

    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "[LOCALE]\r\nLOCALE=EN\r\n");
    EXPECT_EQ(StatusOfError("ERR1"), "ERROR");
    EXPECT_EQ(GetMenuCaption(88), "ERROR");
    EXPECT_EQ(GetFormCaption("OPTION", 42), "ERROR");  // only OPTION_JP has it
    EXPECT_EQ(GetFormCaption("INFODLG", 40), "ERROR");  // "40" is not "4"
    EXPECT_EQ(GetDialogMessage("DMS30"), "");  // present but empty is a text
}

TEST_F(MessageLookupTest, KeysThatAUsersOlderFileLacksShowTheirBuiltInText) {
    const auto Check = [this] {
        EXPECT_TRUE(StatusOfError("ERR28").startsWith("斜面傾斜角補正が無効です"));
        EXPECT_EQ(GetDialogMessage("DMS97"), "色");
        EXPECT_EQ(GetDialogMessage("dms97"), "色");  // keys compare without regard to case
        EXPECT_EQ(GetFormCaption("OPTION", 52), "オプション");
        EXPECT_EQ(GetFormCaption("LOOK", 10), "判別分析の実行");
        // The keys of the first files have none.
        EXPECT_EQ(StatusOfError("ERR1"), "ERROR");
        EXPECT_EQ(GetFormCaption("OPTION", 42), "ERROR");
    };
    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "[LOCALE]\r\nLOCALE=EN\r\n");
    Check();
    QFile::remove(FDir.filePath("Tam32.msg"));
    QFile::remove(FDir.filePath("menu.msg"));
    Check();
    // A text that the file has is the file's.
    Write("menu.msg", "[LOCALE]\r\nLOCALE=EN\r\n[OPTION_EN]\r\n52=Options\r\n");
    EXPECT_EQ(GetFormCaption("OPTION", 52), "Options");
}

TEST_F(MessageLookupTest, LegacyCp932FilesReadLikeUtf8Ones) {
    // 表 and ソ end in the byte of the backslash in CP932; ｶﾅ are single bytes.
    const QByteArray Menu = "[LOCALE]\r\nCHARSET=128\r\n[MM_JP]\r\n0=ﾌｧｲﾙ(&F)\r\n13=表示\r\n[LOOK_JP]\r\n1=ソート\r\n";
    Write("menu.msg", ToCp932(Menu));
    ASSERT_NE(ToCp932(Menu), Menu);
    EXPECT_EQ(GetMenuCaption(0), "ﾌｧｲﾙ(&F)");
    EXPECT_EQ(GetMenuCaption(13), "表示");
    EXPECT_EQ(GetFormCaption("LOOK", 1), "ソート");
    EXPECT_EQ(GetMenuCharset(), 128);

    Write("Tam32.msg", ToCp932("[ERROR_CODE_JP]\r\nERR14=画像ファイルを読み込めません\r\n"));
    EXPECT_EQ(StatusOfError("ERR14"), "画像ファイルを読み込めません");
}

TEST_F(MessageLookupTest, ACharsetThatIsNotADecimalIntegerIsAConversionError) {
    for (const QByteArray Bad : {"abc", "12abc", "$80", "1.5", "", "99999999999"}) {
        Write("menu.msg", "[LOCALE]\r\nCHARSET=" + Bad + "\r\n");
        EXPECT_THROW(GetMenuCharset(), EConvertError) << Bad.constData();
    }
    Write("menu.msg", "[LOCALE]\r\nCHARSET= 300 \r\n");
    EXPECT_EQ(GetMenuCharset(), 300);  // the range is checked where a font takes it
    Write("menu.msg", "[LOCALE]\r\nCHARSET=\"-1\"\r\n");
    EXPECT_EQ(GetMenuCharset(), -1);
    try {
        Write("menu.msg", "[LOCALE]\r\nCHARSET=abc\r\n");
        GetMenuCharset();
        FAIL() << "no error";
    } catch (const EConvertError& E) {
        EXPECT_EQ(E.Message(), "'abc' is not a valid integer value");
    }
}

TEST_F(MessageLookupTest, AnEditedFileCountsFromTheNextLookup) {
    WriteBoth("[LOCALE]\r\nLOCALE=EN\r\n", "[LOCALE]\r\nLOCALE=EN\r\n");
    EXPECT_EQ(StatusOfError("ERR14"), "Cannot load the image");
    EXPECT_EQ(GetMenuCaption(0), "&File");

    WriteBoth("[LOCALE]\r\nLOCALE=JP\r\n", "[LOCALE]\r\nLOCALE=JP\r\n");
    EXPECT_EQ(StatusOfError("ERR14"), "画像ファイルを読み込めません");
    EXPECT_EQ(GetMenuCaption(0), "ﾌｧｲﾙ(&F)");

    Write("Tam32.msg", "[ERROR_CODE_JP]\r\nERR14=changed\r\n");
    EXPECT_EQ(StatusOfError("ERR14"), "changed");

    ASSERT_TRUE(QFile::remove(FDir.filePath("Tam32.msg")));
    EXPECT_EQ(StatusOfError("ERR14"), "ERROR");
}

TEST_F(MessageLookupTest, StatusMessagesGoOnlyToTheStatusPanel) {
    WriteBoth("", "");
    ShowStatusMessage("DIALOG_CODE_", "DMS29");
    EXPECT_EQ(Host.StatusTexts, std::vector<QString>{"%d / %d ライン"});
    EXPECT_TRUE(Host.ResultLines.empty());
    EXPECT_TRUE(Host.Messages.empty());
    EXPECT_TRUE(Host.Questions.empty());
}

TEST_F(MessageLookupTest, AFormatTextThatDoesNotFitItsArgumentsKeepsTheValues) {
    Write("Tam32.msg",
          "[DIALOG_CODE_JP]\r\nDMS29=%d / %d lines\r\nDMS35=%s found\r\nDMS1=%8.3f cm (%d,%d)-(%d,%d)\r\n"
          "DMS4=radius %d %d %d\r\n");
    EXPECT_EQ(FormatDialogMessage("DMS29", {12, 480}), "12 / 480 lines");
    EXPECT_EQ(FormatDialogMessage("DMS1", {2.5, 1, 2, 3, 4}), "   2.500 cm (1,2)-(3,4)");
    // An edited text whose placeholders do not fit gives itself and the values.
    EXPECT_EQ(FormatDialogMessage("DMS35", {17}), "%s found 17");
    EXPECT_EQ(FormatDialogMessage("DMS4", {-3}), "radius %d %d %d -3");
    EXPECT_EQ(FormatDialogMessage("DMS84", {2.5}), "ERROR");
}

TEST(MessageFolderTest, TheFilesLieBesideTheExecutable) {
    SetMessageFolder(QString());
    const QString Expected = QFileInfo(QStringLiteral(TAM32_BIN_DIR)).canonicalFilePath();
    EXPECT_EQ(QFileInfo(ProgramFolder()).canonicalFilePath(), Expected);
    EXPECT_EQ(QFileInfo(MessageFolder()).canonicalFilePath(), Expected);
    SetMessageFolder("/elsewhere");
    EXPECT_EQ(MessageFolder(), "/elsewhere");
    SetMessageFolder(QString());
    EXPECT_EQ(MessageFolder(), ProgramFolder());
}
