#pragma once
// The batch settings file of the leaf area index estimate: one image a line
// with the target to analyse it on and, optionally, fixed thresholds:
//   a01.bmp,2,128                (blue, fixed threshold 128)
//   "a 02.bmp",5,120,130,140     (all three channels, fixed 121, 131, 141:
//                                 each value plus one)
//   a03.bmp,1                    (green, the threshold method in force)
// Commas and blanks separate fields; double quotes group a field (two in a
// row stand for one) and are removed. Names are relative to the settings
// file's folder. The lines that a batch passes over are noted at its end.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace tam32 {

// The fields of Line, split as the delimited-text reading splits them: at
// commas and at blanks outside double quotes; a comma at the end adds an
// empty field.
QStringList SplitBatchSettingsLine(const QString& Line);

struct TBatchSettingsLine {
    QString File;  // as written
    int Target = 0;
    // The fixed thresholds the line sets: one for a target 0..2 with exactly
    // three fields, three (as written, each 0..254) for target 5 with exactly
    // five; none leaves the method in force.
    std::vector<int> Thresholds;
};

// Nullopt for a line to pass over: empty, a single field, a target or a
// threshold that is not a decimal integer, a target beyond 0..5, or a
// threshold beyond 0..255 (0..254 for target 5, which adds one).
std::optional<TBatchSettingsLine> ParseBatchSettingsLine(const QString& Line);

// Why a batch passes over a line.
enum class TBatchSkip {
    NotALine,                // not an image file, a target 0..5 and its thresholds
    NoFile,                  // the image file does not exist
    NotLoaded,               // the picture does not load
    FixedWithoutThresholds,  // the fixed method in force, and no thresholds on the line
};

// The lines that a batch passes over, noted as it goes and reported at its
// end, whether it ran to the end or stopped early.
class TSkippedBatchLines {
public:
    // Line LineNumber (the first is 1) naming File as written; Detail is the
    // loader's reason for NotLoaded.
    void Note(int LineNumber, const QString& File, TBatchSkip Why, const QString& Detail = QString());
    // One line of the results window's report for each line noted, in order.
    void Report() const;

private:
    std::vector<QString> FNotes;
};

// The lines of FileName, read as the settings file is: UTF-8, else CP932;
// a byte-order mark and the CRs of CR LF line ends removed. EFOpenError
// when the file cannot be read.
QStringList ReadBatchSettingsFile(const QString& FileName);

}  // namespace tam32
