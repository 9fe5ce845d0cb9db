#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <random>

#include "common/save_fault.h"
#include "platform/Exceptions.h"
#include "platform/FileSave.h"
#include "platform/IniFile.h"
#include "qstring_printer.h"

using namespace tam32;

namespace {

class IniFileTest : public ::testing::Test {
protected:
    QString PathOf(const QString& Name) const { return FDir.filePath(Name); }

    // A file with exactly these bytes, and an ini object on it.
    TIniFile Ini(const QByteArray& Bytes, const QString& Name = "test.ini") {
        QFile File(PathOf(Name));
        EXPECT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(Bytes);
        return TIniFile(PathOf(Name));
    }

    QByteArray Bytes(const QString& Name = "test.ini") const {
        QFile File(PathOf(Name));
        return File.open(QIODevice::ReadOnly) ? File.readAll() : QByteArray();
    }

private:
    QTemporaryDir FDir;
};

}  // namespace

TEST_F(IniFileTest, NamesAreCaseInsensitiveTrimmedAndFirstMatchWins) {
    Ini("[Dialog_Code_JP]\r\n  DMS1  =  Open?  \r\nDMS1=second\r\n[Other]\r\nDMS3=o\r\n[DIALOG_CODE_JP]\r\nDMS2=x\r\n");
    // A snapshot finds its keys through an index of its own: the same answers.
    for (const TIniFile& File : {TIniFile(PathOf("test.ini")), TIniFile::Snapshot(PathOf("test.ini"))}) {
        EXPECT_EQ(File.ReadString(" dialog_code_jp ", "dms1", "ERROR"), "Open?");
        EXPECT_EQ(File.ReadString("DIALOG_CODE_JP", "DMS2", "ERROR"), "ERROR");  // only the first section counts
        EXPECT_EQ(File.ReadString("DIALOG_CODE_JP", "DMS3", "ERROR"), "ERROR");
        EXPECT_EQ(File.ReadString("other", "dms3", "ERROR"), "o");
        EXPECT_EQ(File.ReadString("DIALOG_CODE_EN", "DMS1", "ERROR"), "ERROR");
        EXPECT_TRUE(File.ValueExists("Other", "DMS3"));
        EXPECT_FALSE(File.ValueExists("Other", "DMS1"));
    }
}

TEST_F(IniFileTest, MatchingQuotesAreStrippedOnce) {
    TIniFile File = Ini("[S]\nA=\"  padded  \"\nB='single'\nC=\"mixed'\nD=\"\"inner\"\"\nE=\"\nG=\n");
    EXPECT_EQ(File.ReadString("S", "A", "?"), "  padded  ");
    EXPECT_EQ(File.ReadString("S", "B", "?"), "single");
    EXPECT_EQ(File.ReadString("S", "C", "?"), "\"mixed'");
    EXPECT_EQ(File.ReadString("S", "D", "?"), "\"inner\"");
    EXPECT_EQ(File.ReadString("S", "E", "?"), "\"");
    EXPECT_EQ(File.ReadString("S", "G", "?"), "");  // present but empty: not the default
}

TEST_F(IniFileTest, LinesThatAreNotKeys) {
    Ini("Loose=before any section\n[S]\n;K=commented\n=nokey\n[broken\nW=1\nplain\n[T] words\nV=2\n");
    for (const TIniFile& File : {TIniFile(PathOf("test.ini")), TIniFile::Snapshot(PathOf("test.ini"))}) {
        EXPECT_EQ(File.ReadSection("S"), QStringList{"W"});  // "[broken" is no header
        EXPECT_EQ(File.ReadString("S", "W", "?"), "1");
        EXPECT_EQ(File.ReadString("S", ";K", "?"), "?");
        EXPECT_EQ(File.ReadString("T", "V", "?"), "2");
        EXPECT_EQ(File.ReadString("", "Loose", "?"), "?");
    }
}

TEST_F(IniFileTest, LineEndsMarksAndEncodings) {
    EXPECT_EQ(Ini("[S]\r\nA=mixed\nB=end").ReadString("S", "B", "?"), "end");
    EXPECT_EQ(Ini("\xEF\xBB\xBF[S]\r\nA=bom\r\n").ReadString("S", "A", "?"), "bom");
    EXPECT_EQ(Ini("[S]\nA=\xE6\x97\xA5\xE6\x9C\xAC\n").ReadString("S", "A", "?"), QString::fromUtf8("日本"));
    // "ソ" is 83 5C in CP932: its trail byte is a backslash, which must neither
    // split it nor turn into a yen sign elsewhere; half-width kana are single bytes.
    TIniFile Sjis = Ini("[S]\r\nA=\x83\x5C\x83\x74\x83\x67\r\nB=C:\\Data\\\r\nC=\xB6\xC5\r\n");
    EXPECT_EQ(Sjis.ReadString("S", "A", "?"), QString::fromUtf8("ソフト"));
    EXPECT_EQ(Sjis.ReadString("S", "B", "?"), "C:\\Data\\");
    EXPECT_EQ(Sjis.ReadString("S", "C", "?"), QString::fromUtf8("ｶﾅ"));
    EXPECT_EQ(Ini("[S]\nA=x\x80\xFFy\n").ReadString("S", "A", "?"), QString::fromUtf8("x\uFFFD\uFFFDy"));
}

TEST_F(IniFileTest, EveryReadSeesTheFileAsItIsNow) {
    TIniFile File = Ini("[S]\nA=old\n");
    EXPECT_EQ(File.ReadString("S", "A", "?"), "old");
    Ini("[S]\nA=new\n");
    EXPECT_EQ(File.ReadString("S", "A", "?"), "new");
    QFile::remove(PathOf("test.ini"));
    EXPECT_EQ(File.ReadString("S", "A", "?"), "?");
    EXPECT_TRUE(File.ReadSections().isEmpty());
}

TEST_F(IniFileTest, ASnapshotReadsTheFileAsItWasWhenTaken) {
    Ini("[S]\nA=old\n");
    const TIniFile Snapshot = TIniFile::Snapshot(PathOf("test.ini"));
    Ini("[S]\nA=new\nB=1\n");
    EXPECT_EQ(Snapshot.ReadString("S", "A", "?"), "old");
    EXPECT_FALSE(Snapshot.ValueExists("S", "B"));
    EXPECT_EQ(Snapshot.ReadSection("S"), QStringList{"A"});
}

TEST_F(IniFileTest, ADraftsWritesReachTheFileOnlyWithItsCommit) {
    Ini("; kept\r\n[S]\r\nA=old\r\n");
    TIniFile Draft = TIniFile::Draft(PathOf("test.ini"));
    Draft.WriteString("S", "A", "new");
    Draft.WriteInteger("T", "B", 7);
    Draft.DeleteKey("S", "A");
    Draft.WriteString("S", "C", "3");
    EXPECT_EQ(Draft.ReadString("S", "C", "?"), "3");
    EXPECT_FALSE(Draft.ValueExists("S", "A"));
    EXPECT_EQ(Bytes(), "; kept\r\n[S]\r\nA=old\r\n");
    Draft.Commit();
    EXPECT_EQ(Bytes(), "; kept\r\n[S]\r\nC=3\r\n\r\n[T]\r\nB=7\r\n");
}

TEST_F(IniFileTest, GarbageNeitherCrashesNorBlocksWrites) {
    std::mt19937 Random(1234);
    QByteArray Garbage;
    for (int I = 0; I < 100000; ++I) Garbage += static_cast<char>(Random());
    TIniFile File = Ini(Garbage);
    (void)File.ReadSections();
    File.WriteString("S", "A", "kept");
    EXPECT_EQ(File.ReadString("S", "A", "?"), "kept");
}

TEST_F(IniFileTest, IntegersDecimalOrHexElseTheDefault) {
    TIniFile File = Ini(QString("[N]\nA=42\nB= -7 \nC=$FF\nD=0X1a\nF=$FFFFFFFF\nG=-$1\nH=+5\nJ=-2147483648\n"
                                "K=\"12\"\nOne=1\nZero=0\nWord=yes\n"
                                "X1=2147483648\nX2=12abc\nX3=1.5\nX4=$\nX5=0x\nX6=$100000000\nX7=１２\nX8=- 1\n")
                            .toUtf8());
    const std::pair<const char*, int> Good[] = {{"A", 42}, {"B", -7},        {"C", 255},      {"D", 26},
                                                {"F", -1}, {"G", -1},        {"H", 5},        {"J", INT32_MIN},
                                                {"K", 12}, {"Missing", 99}};
    for (const auto& [Key, Value] : Good) EXPECT_EQ(File.ReadInteger("N", Key, 99), Value) << Key;
    for (const char* Key : {"X1", "X2", "X3", "X4", "X5", "X6", "X7", "X8"})
        EXPECT_EQ(File.ReadInteger("N", Key, 99), 99) << Key;
    EXPECT_TRUE(File.ReadBool("N", "One", false));
    EXPECT_FALSE(File.ReadBool("N", "Zero", true));
    EXPECT_TRUE(File.ReadBool("N", "B", false));
    EXPECT_TRUE(File.ReadBool("N", "Word", true));
    EXPECT_FALSE(File.ReadBool("N", "Word", false));
}

TEST_F(IniFileTest, FloatsDecimalOnlyElseTheDefault) {
    TIniFile File = Ini("[F]\nA= -2.25e3 \nB=.5\nC=5.\nD=+3\nE=  1.50\n"
                        "X1=1,5\nX2=inf\nX3=nan\nX4=1e400\nX5=0x10\nX6=\nX7=1e\nX8=.\nX9=1.5x\n");
    const std::pair<const char*, double> Good[] = {{"A", -2250}, {"B", 0.5}, {"C", 5}, {"D", 3}, {"E", 1.5}};
    for (const auto& [Key, Value] : Good) EXPECT_DOUBLE_EQ(File.ReadFloat("F", Key, 0), Value) << Key;
    for (const char* Key : {"X1", "X2", "X3", "X4", "X5", "X6", "X7", "X8", "X9", "Missing"})
        EXPECT_EQ(File.ReadFloat("F", Key, -42.5), -42.5) << Key;
}

TEST_F(IniFileTest, WritesCreateSectionsAndKeysWithCrLf) {
    TIniFile File(PathOf("new.ini"));
    File.WriteString("Threshold", "Color", "1");
    File.WriteInteger("Threshold", "Type", -5);
    File.WriteString("PAR", "Tau", "  0.60");
    File.WriteBool("PAR", "Auto", true);
    File.WriteFloat("PAR", "X", 0.1);
    File.WriteFloat("PAR", "Big", 1e20);
    EXPECT_EQ(Bytes("new.ini"),
              "[Threshold]\r\nColor=1\r\nType=-5\r\n\r\n[PAR]\r\nTau=  0.60\r\nAuto=1\r\nX=0.1\r\nBig=1E20\r\n");
    EXPECT_EQ(File.ReadString("PAR", "Tau", "?"), "0.60");
    EXPECT_DOUBLE_EQ(File.ReadFloat("PAR", "Big", 0), 1e20);
}

TEST_F(IniFileTest, WriteKeepsEveryOtherLine) {
    TIniFile File = Ini("; settings\r\n[A]\r\n  x = 1 \r\n;note\r\n\r\n[B]\r\nKey=old\r\nKey=dup\r\nz=3\r\n");
    File.WriteString("b", "KEY", "new");
    EXPECT_EQ(Bytes(), "; settings\r\n[A]\r\n  x = 1 \r\n;note\r\n\r\n[B]\r\nKey=new\r\nKey=dup\r\nz=3\r\n");
    // A new key goes after the last non-blank line of its section.
    File.WriteString("A", "New", "v");
    EXPECT_EQ(Bytes(), "; settings\r\n[A]\r\n  x = 1 \r\n;note\r\nNew=v\r\n\r\n[B]\r\nKey=new\r\nKey=dup\r\nz=3\r\n");
}

TEST_F(IniFileTest, EncodingAndMarkSurviveAWrite) {
    TIniFile Bom = Ini("\xEF\xBB\xBF[S]\nA=1\n", "bom.ini");
    Bom.WriteString("S", "B", "2");
    EXPECT_EQ(Bytes("bom.ini"), "\xEF\xBB\xBF[S]\r\nA=1\r\nB=2\r\n");
    TIniFile Sjis = Ini("[S]\r\nA=\x83\x5C\r\n", "sjis.ini");
    Sjis.WriteString("S", "B", QString::fromUtf8("表"));
    EXPECT_EQ(Bytes("sjis.ini"), "[S]\r\nA=\x83\x5C\r\nB=\x95\x5C\r\n");
    // Text that CP932 cannot hold turns the file into UTF-8, keeping every text.
    Sjis.WriteString("S", "C", QString::fromUtf8("\xF0\x9F\x98\x80"));
    EXPECT_EQ(Bytes("sjis.ini"), "[S]\r\nA=\xE3\x82\xBD\r\nB=\xE8\xA1\xA8\r\nC=\xF0\x9F\x98\x80\r\n");
}

TEST_F(IniFileTest, EntriesThatWouldBreakTheLayoutAreRefused) {
    TIniFile File = Ini("[S]\r\nA=1\r\n");
    EXPECT_THROW(File.WriteString("S", "A", "two\r\nB=injected"), EIniFileException);
    EXPECT_THROW(File.WriteString("S]x", "A", "1"), EIniFileException);
    for (const char* Key : {"A=B", "  ", ";A", "[A", "A\nB"})
        EXPECT_THROW(File.WriteString("S", Key, "1"), EIniFileException) << Key;
    EXPECT_EQ(Bytes(), "[S]\r\nA=1\r\n");
}

TEST_F(IniFileTest, UnwritableOrUnreadableFilesRaiseAndStayAsTheyAre) {
    try {
        TIniFile(PathOf("missing/x.ini")).WriteString("S", "A", "1");
        FAIL() << "no exception";
    } catch (const EFileSaveError& E) {
        EXPECT_EQ(E.FileName(), PathOf("missing/x.ini"));
        EXPECT_EQ(E.Reason(), test::SystemReason(ENOENT));
    }
    ASSERT_TRUE(QDir(PathOf("")).mkdir("folder.ini"));
    EXPECT_THROW(TIniFile(PathOf("folder.ini")).WriteString("S", "A", "1"), EIniFileException);
    // Too large to be an ini file: it reads as empty, says so, and is not overwritten.
    TIniFile Big = Ini("[S]\nA=1\n", "big.ini");
    ASSERT_TRUE(QFile::resize(PathOf("big.ini"), 16 * 1024 * 1024 + 1));
    EXPECT_EQ(Big.ReadString("S", "A", "?"), "?");
    EXPECT_EQ(TIniFile::Snapshot(PathOf("big.ini")).ReadString("S", "A", "?"), "?");
    try {
        TIniFile::Snapshot(PathOf("big.ini")).CheckSize();
        ADD_FAILURE() << "no exception";
    } catch (const EFileTooLarge& E) {
        EXPECT_EQ(E.FileName(), PathOf("big.ini"));
        EXPECT_EQ(E.Limit(), 16 * 1024 * 1024);
    }
    EXPECT_THROW(Big.WriteString("S", "A", "2"), EFileTooLarge);
    TIniFile Draft = TIniFile::Draft(PathOf("big.ini"));
    Draft.WriteString("S", "A", "2");
    EXPECT_THROW(Draft.Commit(), EFileTooLarge);
    EXPECT_TRUE(Bytes("big.ini").startsWith("[S]\nA=1\n"));
    EXPECT_EQ(QFileInfo(PathOf("big.ini")).size(), 16 * 1024 * 1024 + 1);
    // At the limit it is still an ini file.
    ASSERT_TRUE(QFile::resize(PathOf("big.ini"), 16 * 1024 * 1024));
    EXPECT_NO_THROW(TIniFile::Snapshot(PathOf("big.ini")).CheckSize());
    EXPECT_EQ(TIniFile::Snapshot(PathOf("big.ini")).ReadString("S", "A", "?"), "1");
}

TEST_F(IniFileTest, SectionsAndKeysInFileOrder) {
    TIniFile File = Ini("[One]\nb=1\nA=2\nB=3\n[Empty]\n[two]\nc=4\n[ONE]\nd=5\n");
    EXPECT_EQ(File.ReadSections(), (QStringList{"One", "Empty", "two"}));
    EXPECT_EQ(File.ReadSection("one"), (QStringList{"b", "A"}));
    EXPECT_TRUE(File.SectionExists("TWO"));
    EXPECT_FALSE(File.SectionExists("Empty"));  // a section without keys does not count
    EXPECT_TRUE(File.ValueExists("one", "B"));
    EXPECT_FALSE(File.ValueExists("one", "d"));
}

TEST_F(IniFileTest, EraseSectionAndDeleteKey) {
    TIniFile File = Ini(";head\r\n[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n;c\r\nY=3\r\nz=4\r\n[a]\r\nz=3\r\n");
    File.EraseSection("A");
    EXPECT_EQ(Bytes(), ";head\r\n[B]\r\ny=2\r\n;c\r\nY=3\r\nz=4\r\n");
    File.DeleteKey("b", "y");
    EXPECT_EQ(Bytes(), ";head\r\n[B]\r\n;c\r\nz=4\r\n");
    TIniFile Missing(PathOf("none.ini"));
    Missing.EraseSection("A");
    Missing.DeleteKey("A", "x");
    EXPECT_FALSE(QFile::exists(PathOf("none.ini")));
}
