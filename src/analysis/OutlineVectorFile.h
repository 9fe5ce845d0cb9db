#pragma once
// The outline vector file of the labelling analysis, a text file with CR LF
// line ends that other programs read. For each traced object, in listing
// order: "No.<n>", the outline points as "x y" lines (the start point, the
// points stepped to, the start point again), "-10 -10", and the object's
// centre as "x y". The program never reads it back.
#include <QFile>
#include <QString>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

// LabelTraceVectorFolder joined with the name of AnalysisFile whose
// extension is replaced by "vec" without a dot: leaf01.bmp gives leaf01vec.
QString OutlineVectorFileName(const QString& AnalysisFile);

class TOutlineVectorFile {
public:
    // Creates the file anew; False when it cannot be created. The file is
    // closed with the object.
    bool Create(const QString& Path);
    // One object; nothing when the file is not open.
    void WriteObject(int Number, const std::vector<TPoint>& Points, TPoint Centre);

private:
    QFile FFile;
};

}  // namespace tam32
