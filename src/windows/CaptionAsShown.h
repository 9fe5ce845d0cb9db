#pragma once
// A caption as the user reads it: "&&" stands for "&", any other "&" marks
// the accelerator and is not shown.
#include <QString>

namespace tam32 {

inline QString CaptionAsShown(const QString& Caption) {
    QString shown;
    for (qsizetype i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == u'&' && ++i == Caption.size()) break;
        shown += Caption[i];
    }
    return shown;
}

}  // namespace tam32
