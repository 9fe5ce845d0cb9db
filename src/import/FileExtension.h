#pragma once
// File-name extensions as the picture loading compares them.
#include <QString>

namespace tam32 {

// The extension of the file-name part, from its last "." (the "." included);
// empty when the name has none.
inline QString ExtractFileExt(const QString& FileName) {
    const qsizetype name = FileName.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = FileName.lastIndexOf(QLatin1Char('.'));
    return dot >= name ? FileName.mid(dot) : QString();
}

// Files named ".bmp" in any letter case go to the bitmap reader first.
inline bool IsBmpFileName(const QString& FileName) {
    return ExtractFileExt(FileName).compare(QLatin1String(".bmp"), Qt::CaseInsensitive) == 0;
}

}  // namespace tam32
