// The classifier file: its exact layout, free-format reading, and files that
// load whole or not at all.
#include <QFile>
#include <cmath>
#include <limits>

#include "analysis/AnalysisFixture.h"
#include "analysis/colour/ClassifierFile.h"
#include "analysis/core/Classifier.h"
#include "analysis/geometry/OpenAnalysisImage.h"
#include "common/save_fault.h"

namespace tam32::test {
namespace {

// Red and green in the model, blue not: its coefficients are written as 0.
const QByteArray kRedGreen =
    "1\r\n"
    " 0 0 0 -1\r\n"
    " -1.25000000000000E+0001  2.50000000000000E-0001  1.00000000000000E+0000  0.00000000000000E+0000\r\n"
    "  3.25000000000000E+0000 -1.50000000000000E+0000  2.00000000000000E-0005  0.00000000000000E+0000\r\n"
    "255\r\n"
    "65280\r\n";

void SetRedGreenClassifier() {
    ClassifyDone = true;
    DiscLastGroup = 1;
    ClassTermUsed = {{true, true, true, false}};
    ClassCoefficients[0] = {0.0, -12.5, 3.25};
    ClassCoefficients[1] = {0.0, 0.25, -1.5};
    ClassCoefficients[2] = {0.0, 1.0, 2e-5};
    ClassCoefficients[3] = {0.0, 7.0, 8.0};
    GroupColors[0] = 255;
    GroupColors[1] = 65280;
}

class ClassifierFileTest : public AnalysisFixture {
protected:
    QByteArray Read(const QString& Path) {
        QFile File(Path);
        EXPECT_TRUE(File.open(QIODevice::ReadOnly));
        return File.readAll();
    }
};

TEST_F(ClassifierFileTest, SavesTheActiveClassifierInItsExactLayout) {
    SetRedGreenClassifier();
    const QString Path = Folder.filePath(QStringLiteral("red-green.dis"));
    ASSERT_FALSE(SaveClassifierFile(Path));
    EXPECT_EQ(Read(Path), kRedGreen);
    EXPECT_TRUE(Host.Messages.empty());
}

TEST_F(ClassifierFileTest, LoadingAndSavingAgainGivesTheSameBytes) {
    const QString In = Write(QStringLiteral("in.dis"), kRedGreen);
    ASSERT_FALSE(LoadClassifierFile(In));
    EXPECT_TRUE(ClassifyDone);
    EXPECT_EQ(DiscLastGroup, 1);
    EXPECT_EQ(ClassCoefficients[1][2], -1.5);
    EXPECT_EQ(ClassCoefficients[3][1], 0.0);
    EXPECT_EQ(GroupColors[1], 65280);
    EXPECT_EQ(Host.ResultLines, (std::vector<QString>{QStringLiteral("Group[1]=-12.500 0.250R 1.000G"),
                                                      QStringLiteral("Group[2]= 3.250-1.500R 0.000G")}));
    const QString Out = Folder.filePath(QStringLiteral("out.dis"));
    ASSERT_FALSE(SaveClassifierFile(Out));
    EXPECT_EQ(Read(Out), kRedGreen);
}

TEST_F(ClassifierFileTest, ATermFlaggedOffIsLeftOutOfTheReportAndThePixelRule) {
    // Red would decide; with its flag -1 only the constants do.
    const QString Path = Write(QStringLiteral("no-red.dis"), "1\n 0 -1 -1 0\n"
                                                             "-12.5 10 0 -0.125\n"
                                                             "-10 0 0 -0.125\n"
                                                             "255 16711680\n");
    ASSERT_FALSE(LoadClassifierFile(Path));
    EXPECT_EQ(Host.ResultLines.front(), QStringLiteral("Group[1]=-12.500-0.125B"));
    EXPECT_EQ(ClassCoefficients[1][1], 10.0);
    const QString Image = WriteImage(QStringLiteral("red.bmp"), 4, 4, [](int, int) { return TRgb{200, 0, 0}; });
    ASSERT_FALSE(OpenAnalysisImage(Image));
    EXPECT_EQ(ClassifyPixel(1, 1), 1);
}

// Each number is saved in the file's format when that text reads back to the
// same double, else with 17 digits; the constant counts in every score
// whatever its flag, so its values are saved under a flag of -1 too.
TEST_F(ClassifierFileTest, WhatLoadsSavesBackToAFileOfTheSameClassifier) {
    const struct {
        const char* Name;
        QByteArray File, SavedLine;
    } Cases[] = {
        {"the largest double", "1\n 0 0 0 0\n1.7976931348623157E+308 1 2 3\n-1 -2 -3 -4\n255 65280\n",
         "  1.7976931348623157E+0308  1.00000000000000E+0000  2.00000000000000E+0000  3.00000000000000E+0000"},
        {"a tenth and a bit", "1\n 0 0 0 0\n0.10000000000000002 1 2 3\n-1 -2 -3 -4\n255 65280\n",
         "  1.0000000000000002E-0001  1.00000000000000E+0000  2.00000000000000E+0000  3.00000000000000E+0000"},
        {"the constant flagged -1", "1\n -1 0 0 0\n-12.5 1 2 3\n7.25 -2 -3 -4\n255 65280\n",
         " -1.25000000000000E+0001  1.00000000000000E+0000  2.00000000000000E+0000  3.00000000000000E+0000"},
    };
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        ASSERT_FALSE(LoadClassifierFile(Write(QStringLiteral("in.dis"), C.File)));
        const TClassCoefficients Loaded = ClassCoefficients;
        const TTermFlags Flags = ClassTermUsed;
        const QString Out = Folder.filePath(QStringLiteral("out.dis"));
        ASSERT_FALSE(SaveClassifierFile(Out));
        const QList<QByteArray> Lines = Read(Out).split('\n');
        ASSERT_GE(Lines.size(), 4);
        EXPECT_EQ(Lines[1], Flags[0] ? QByteArray(" 0 0 0 0\r") : QByteArray(" -1 0 0 0\r"));
        EXPECT_EQ(Lines[2], C.SavedLine + '\r');
        ResetClassifier();
        ASSERT_FALSE(LoadClassifierFile(Out));
        EXPECT_EQ(ClassCoefficients, Loaded);
        EXPECT_EQ(ClassTermUsed, Flags);
    }
}

TEST_F(ClassifierFileTest, NumbersSpreadOverOtherLinesLoadTheSame) {
    ASSERT_FALSE(LoadClassifierFile(Write(QStringLiteral("a.dis"), kRedGreen)));
    const TClassCoefficients Expected = ClassCoefficients;
    ResetClassifier();
    QByteArray Spread = kRedGreen;
    Spread.replace("  2.", "\r\n+2.");
    Spread.replace("\r\n", " \t\n\n");
    ASSERT_FALSE(LoadClassifierFile(Write(QStringLiteral("b.dis"), Spread)));
    EXPECT_EQ(ClassCoefficients, Expected);
    EXPECT_EQ(GroupColors[0], 255);
    // A byte-order mark is no number of the file.
    ResetClassifier();
    ASSERT_FALSE(LoadClassifierFile(Write(QStringLiteral("c.dis"), "\xEF\xBB\xBF" + kRedGreen)));
    EXPECT_EQ(ClassCoefficients, Expected);
}

TEST_F(ClassifierFileTest, FilesThatAreNotWholeClassifiersChangeNothing) {
    SetRedGreenClassifier();
    const TClassCoefficients Coefficients = ClassCoefficients;
    const auto Colors = GroupColors;
    const struct {
        const char* Name;
        QByteArray Bytes;
        const char* Reason;
    } Cases[] = {
        {"truncated", kRedGreen.left(kRedGreen.size() - 8), "the file ends before the colour of group 2"},
        {"no groups", "0\r\n 0 0 0 0\r\n1 2 3 4\r\n255\r\n", "the last group number must be"},
        {"25 groups", QByteArray("25\r\n"), "the last group number must be"},
        {"a word", "1 0 0 0 abc", "term flag 4 must be a whole number"},
        {"a colour of -1", QByteArray(kRedGreen).replace("65280", "-1"), "the colour of group 2 must be"},
        {"a colour beyond white", QByteArray(kRedGreen).replace("65280", "16777216"), "the colour of group 2 must be"},
        {"NaN", QByteArray(kRedGreen).replace("2.00000000000000E-0005", "NaN"), "coefficient 3 of group 2 must be a finite number"},
        {"infinity", QByteArray(kRedGreen).replace("1.00000000000000E+0000", "1e999"), "coefficient 3 of group 1"},
        {"empty", QByteArray(), "the file ends before the last group number"},
        {"text after the colours", kRedGreen + "255\r\n", "text after the colour of group 2: \"255\""},
        // Blanks fill the file so that its last colour straddles the limit.
        {"longer than 1 MiB", kRedGreen.left(kRedGreen.size() - 4) + QByteArray((1 << 20) - kRedGreen.size() + 2, ' ') + "80\r\n",
         "bad.dis over 1048576"},
    };
    AppendMessages("[DIALOG_CODE_EN]\r\nDMS87=%s over %d\r\n");
    for (const auto& C : Cases) {
        SCOPED_TRACE(C.Name);
        Host.Messages.clear();
        Host.ResultLines.clear();
        EXPECT_TRUE(LoadClassifierFile(Write(QStringLiteral("bad.dis"), C.Bytes)));
        ASSERT_EQ(Host.Messages.size(), 1u);
        EXPECT_TRUE(Host.Messages[0].contains(QLatin1String(C.Reason))) << Host.Messages[0].toStdString();
        EXPECT_TRUE(Host.ResultLines.empty());
        EXPECT_EQ(DiscLastGroup, 1);
        EXPECT_EQ(ClassCoefficients, Coefficients);
        EXPECT_EQ(GroupColors, Colors);
    }
    EXPECT_TRUE(LoadClassifierFile(Folder.filePath(QStringLiteral("missing.dis"))));
    EXPECT_EQ(DiscLastGroup, 1);
}

TEST_F(ClassifierFileTest, SavingRefusesNumbersThatCannotBeReadBackAndReportsUnwritableFiles) {
    SetRedGreenClassifier();
    ClassCoefficients[2][1] = std::numeric_limits<double>::quiet_NaN();
    const QString Path = Folder.filePath(QStringLiteral("nan.dis"));
    EXPECT_TRUE(SaveClassifierFile(Path));
    EXPECT_FALSE(QFile::exists(Path));
    ClassCoefficients[2][1] = 1.0;
    const QString Unwritable = Folder.filePath(QStringLiteral("no-folder/x.dis"));
    EXPECT_TRUE(SaveClassifierFile(Unwritable));
    ASSERT_EQ(Host.Messages.size(), 2u);
    EXPECT_EQ(Host.Messages[1], QStringLiteral("ERR24 %1: %2").arg(Unwritable, SystemReason(ENOENT)));
}

}  // namespace
}  // namespace tam32::test
