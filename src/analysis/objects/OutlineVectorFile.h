#pragma once
// The outline vector file of the labelling analysis, a text file with CR LF
// line ends that other programs read. For each traced object, in listing
// order: "No.<n>", the outline points as "x y" lines (the start point, the
// points stepped to, the start point again), "-10 -10", and the object's
// centre as "x y". The program never reads it back.
#include <QByteArray>
#include <QString>
#include <vector>

#include "platform/WinTypes.h"

namespace tam32 {

// LabelTraceVectorFolder joined with the name of AnalysisFile whose
// extension is replaced by "vec" without a dot: leaf01.bmp gives leaf01vec.
QString OutlineVectorFileName(const QString& AnalysisFile);

// The file's text, gathered object by object and then written whole.
class TOutlineVectorFile {
public:
    void WriteObject(int Number, const std::vector<TPoint>& Points, TPoint Centre);
    // Through SaveFileAtomically: EFileSaveError when it cannot be written.
    void SaveToFile(const QString& Path) const;

private:
    QByteArray FText;
};

}  // namespace tam32
