// The batch settings file: its lines split into fields as the delimited-text
// reading splits them, the lines that are passed over, and its text read as
// the settings file is read.
#include "analysis/AnalysisFixture.h"
#include "analysis/canopy/BatchSettingsFile.h"
#include "platform/Exceptions.h"

namespace tam32::test {
namespace {

class BatchSettingsFileTest : public AnalysisFixture {};

TEST_F(BatchSettingsFileTest, CommasAndBlanksSeparateFieldsAndQuotesGroupThem) {
    struct TCase {
        const char* Line;
        QStringList Fields;
    };
    const TCase Cases[] = {
        {"a01.bmp,2,128", {"a01.bmp", "2", "128"}},
        {"\"a 02.bmp\",5,120,130,140", {"a 02.bmp", "5", "120", "130", "140"}},
        {"  a01.bmp , 2\t128 ", {"a01.bmp", "2", "128"}},
        {"my dir/a03.bmp,1", {"my", "dir/a03.bmp", "1"}},
        {"a,,b", {"a", "", "b"}},
        {"a,", {"a", ""}},
        {"\"say \"\"hi\"\"\",1", {"say \"hi\"", "1"}},
        {"\"a,b\"c,1", {"a,b", "c", "1"}},
        {"\"not closed", {"not closed"}},
        {" \t ", {}},
        {"", {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Line);
        EXPECT_EQ(SplitBatchSettingsLine(QString::fromUtf8(Case.Line)), Case.Fields);
    }
}

TEST_F(BatchSettingsFileTest, ALineGivesItsImageTargetAndThresholdsOrIsPassedOver) {
    struct TCase {
        const char* Line;
        bool Kept;
        int Target;
        std::vector<int> Thresholds;
    };
    const TCase Cases[] = {
        {"a01.bmp,2,128", true, 2, {128}},
        {"a01.bmp,0,0", true, 0, {0}},
        {"a01.bmp,1,255", true, 1, {255}},
        {"a02.bmp,5,120,130,140", true, 5, {120, 130, 140}},
        {"a02.bmp,5,0,254,+7", true, 5, {0, 254, 7}},
        {"a03.bmp,1", true, 1, {}},
        {"a03.bmp,1,2,3", true, 1, {}},  // not three fields: the method in force
        {"a03.bmp,5,1,2", true, 5, {}},
        {"a03.bmp,3,128", true, 3, {}},  // no threshold of its own
        {"a03.bmp,9", false, 0, {}},  // targets are 0..5
        {"a03.bmp,6", false, 0, {}},
        {"a03.bmp,-1", false, 0, {}},
        {"a03.bmp,-2147483648", false, 0, {}},
        {"a03.bmp,2147483647", false, 0, {}},
        {"x.bmp", false, 0, {}},
        {"", false, 0, {}},
        {"a01.bmp,abc", false, 0, {}},
        {"a01.bmp,2.0", false, 0, {}},
        {"a01.bmp,,128", false, 0, {}},
        {"a01.bmp,2,12.5", false, 0, {}},
        {"a01.bmp,2,256", false, 0, {}},
        {"a01.bmp,2,-1", false, 0, {}},
        {"a02.bmp,5,120,255,140", false, 0, {}},  // one more would be 256
        {"a01.bmp,99999999999", false, 0, {}},
    };
    for (const TCase& Case : Cases) {
        SCOPED_TRACE(Case.Line);
        const std::optional<TBatchSettingsLine> Line = ParseBatchSettingsLine(QString::fromUtf8(Case.Line));
        ASSERT_EQ(Line.has_value(), Case.Kept);
        if (!Line) continue;
        EXPECT_EQ(Line->File, SplitBatchSettingsLine(QString::fromUtf8(Case.Line)).first());
        EXPECT_EQ(Line->Target, Case.Target);
        EXPECT_EQ(Line->Thresholds, Case.Thresholds);
    }
}

TEST_F(BatchSettingsFileTest, LinesAreReadAsUtf8ElseCp932WithoutMarkOrCarriageReturns) {
    // "写真.bmp,2,128" in UTF-8 after a byte-order mark, and in CP932.
    const QString Utf8 = Write(QStringLiteral("utf8.txt"), "\xEF\xBB\xBF\xE5\x86\x99\xE7\x9C\x9F.bmp,2,128\r\n\r\nb.bmp,1\r\n");
    const QString Cp932 = Write(QStringLiteral("cp932.txt"), "\x8E\xCA\x90\x5E.bmp,2,128\r\n\r\nb.bmp,1");
    const QStringList Expected{QStringLiteral("写真.bmp,2,128"), QString(), QStringLiteral("b.bmp,1")};
    EXPECT_EQ(ReadBatchSettingsFile(Utf8), Expected);
    EXPECT_EQ(ReadBatchSettingsFile(Cp932), Expected);
}

TEST_F(BatchSettingsFileTest, AFileThatCannotBeReadRaisesTheInputError) {
    EXPECT_THROW(ReadBatchSettingsFile(Folder.filePath(QStringLiteral("missing.txt"))), EFOpenError);
    EXPECT_THROW(ReadBatchSettingsFile(Folder.path()), EFOpenError);
}

}  // namespace
}  // namespace tam32::test
