#pragma once
// Training the colour classifier from the sample table of an image window:
// the colours of the sample points are read from the image file, grouped as
// the table groups them, and analysed; the resulting functions become the
// active classifier.
#include <QString>
#include <vector>

namespace tam32 {

// One row of the sample table, its cells as the table shows them: the group
// number, the group's colour ($00BBGGRR) and the point's X and Y in image
// pixels, each in decimal.
struct TSampleRow {
    QString Group, Color, X, Y;
};

// Reads the samples' colours from FileName and loads them into the
// discriminant analysis; DiscLastGroup and GroupColors (each group's colour
// from its last row) follow the table. True when refused, with nothing
// changed: "ERR14" for an image that cannot be read, "ERR16" for a table
// whose groups are not 1, 2, ... in blocks of rows (an empty table, one
// group, more than 21, a group number that is not a whole number or out of
// turn), a colour outside 0..$FFFFFF, a point outside the image, or fewer
// samples than groups + 4.
bool TrainDiscriminant(const QString& FileName, const std::vector<TSampleRow>& Rows);

// The sample table's run: TrainDiscriminant, the discriminant analysis, and
// its functions as the active classifier (ClassifyDone). True when refused,
// with nothing changed, the earlier classifier still in force.
bool TrainClassifier(const QString& FileName, const std::vector<TSampleRow>& Rows);

}  // namespace tam32
