#pragma once
// The classifier file, which keeps the active classifier for other images
// and later runs. Text with CR LF line ends, nothing but numbers:
//   the last group number N (groups minus 1, 1..20);
//   four term flags (constant, red, green, blue), each a blank and 0 for a
//   term in use or -1 for one that is not;
//   for each group 1..N + 1 a line of its four coefficients in that order,
//   each a blank and a field of width 23 such as " 1.50000000000000E+0000"
//   (a colour term not in use as 0), or of width 25 with 17 digits for a
//   number that 15 digits do not give back;
//   for each group its colour ($00BBGGRR) in decimal, one a line.
// Reading takes the numbers in that order however they are spread over
// lines (a UTF-8 byte-order mark skipped), and refuses text after them and
// a file of more than 1 MiB.
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "analysis/core/Classifier.h"

namespace tam32 {

struct TClassifierFile {
    int32_t LastGroup = 0;
    TTermFlags TermUsed{};
    // [term][group 0..LastGroup + 1]; column 0 is 0.
    TClassCoefficients Coefficients;
    std::vector<TColor> Colors;  // of groups 1..LastGroup + 1
};

// The active classifier as Save writes it: the colour terms not in use as
// 0. The constant is kept under either flag, as every score adds it.
TClassifierFile ActiveClassifierFile();

// The whole classifier of Text, or nullopt and the reason in Error: a
// number missing or not of its kind (N a whole number 1..20, the flags
// whole numbers, the coefficients finite numbers, the colours whole numbers
// 0..$FFFFFF), or text after the last colour.
std::optional<TClassifierFile> ReadClassifierFile(const QByteArray& Text, QString& Error);
QByteArray ClassifierFileText(const TClassifierFile& File);

// Writes the active classifier to FileName by a temporary file renamed over
// it. True when nothing was written, after a message box saying why: a
// value that is not a finite number, or a file that cannot be written.
bool SaveClassifierFile(const QString& FileName);
// Makes the classifier of FileName the active one (ClassifyDone) and
// reports each group's function, "Group[k]=" and the terms in use. True
// when the file cannot be read or is not a whole classifier: a message box
// gives the reason and nothing changes.
bool LoadClassifierFile(const QString& FileName);

}  // namespace tam32
