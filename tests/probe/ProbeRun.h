#pragma once
// The analysis routines that "tam32-probe run" can call and the program-wide
// variables that it can set and print, each registered by name from any
// probe file with a RegisterProbeRoutine or RegisterProbeVariable object.
#include <QString>
#include <QStringList>
#include <functional>
#include <map>

#include "platform/WinTypes.h"

namespace tam32 {
class TBitmap;
}

namespace tam32::probe {

// Runs on the image file with the window picture and the box area; True when
// the routine reported failure.
using TProbeRoutine = std::function<bool(const QString& FileName, TBitmap& Image, const TRect& Area)>;
std::map<QString, TProbeRoutine>& ProbeRoutines();

struct RegisterProbeRoutine {
    RegisterProbeRoutine(const char* Name, TProbeRoutine Routine) {
        ProbeRoutines().emplace(QString::fromLatin1(Name), std::move(Routine));
    }
};

// Print gives the value's lines (an array: one line per row, values
// separated by blanks); Set takes a text and is False when it does not fit.
struct TProbeVariable {
    std::function<QStringList()> Print;
    std::function<bool(const QString& Text)> Set;  // empty: read-only
};
std::map<QString, TProbeVariable>& ProbeVariables();

struct RegisterProbeVariable {
    RegisterProbeVariable(const char* Name, TProbeVariable Variable) {
        ProbeVariables().emplace(QString::fromLatin1(Name), std::move(Variable));
    }
};

}  // namespace tam32::probe
