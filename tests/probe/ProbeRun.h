#pragma once
// The analysis routines that "tam32-probe run" can call and the program-wide
// variables that it can set and print, each registered by name from any
// probe file with a RegisterProbeRoutine or RegisterProbeVariable object
// (for a variable, one TAM32_PROBE_SCALAR or TAM32_PROBE_ROWS line).
#include <QLocale>
#include <QString>
#include <QStringList>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <type_traits>
#include <utility>

#include "platform/WinTypes.h"

namespace tam32 {
class TBitmap;
}

namespace tam32::probe {

// Runs on the image file with the window picture and the box area; True when
// the routine reported failure.
using TProbeRoutine = std::function<bool(const QString& FileName, TBitmap& Image, const TRect& Area)>;

// Whether a routine may write text into the picture: fonts need a GUI
// application, which "run" starts only for such a routine (a plain one
// starts in a fraction of the time).
enum class TWritesText { No, Yes };

struct TProbeRoutineEntry {
    TProbeRoutine Run;
    TWritesText Text;
};
std::map<QString, TProbeRoutineEntry>& ProbeRoutines();

struct RegisterProbeRoutine {
    RegisterProbeRoutine(const char* Name, TProbeRoutine Routine, TWritesText Text = TWritesText::No) {
        ProbeRoutines().emplace(QString::fromLatin1(Name), TProbeRoutineEntry{std::move(Routine), Text});
    }
};

// An option of "run" that takes one value, registered from the file of the
// routines that read it (--line, --dst, ...). It runs when "run" meets it,
// after the settings are reset and before any routine; False when the value
// does not fit.
using TProbeRunOption = std::function<bool(const QString& Value)>;
std::map<QString, TProbeRunOption>& ProbeRunOptions();

struct RegisterProbeRunOption {
    RegisterProbeRunOption(const char* Name, TProbeRunOption Option) {
        ProbeRunOptions().emplace(QString::fromLatin1(Name), std::move(Option));
    }
};

// The window picture of a routine that paints its result into it: the image
// of File itself, 24 bits, read as the program's window reads it, when no
// earlier routine showed one. False when File cannot be read.
bool ShowImageIfEmpty(TBitmap& Picture, const QString& File);

// The line of "--line X0,Y0,X1,Y1" (image pixels), for the routines that
// work along a line as the window's line tools hand it to them.
struct TProbeLine {
    TPoint Start, End;
};
TProbeLine& ProbeLine();

// The file of "--dst FILE" that the routines writing a new picture write.
QString& ProbeDestination();

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

// A value as printed: 0 or 1 for a flag, a whole number as an integer, any
// other number in the fewest digits that read back as the same value, a text as it is.
template <typename T>
QString ValueText(const T& Value) {
    if constexpr (std::is_same_v<T, bool>) {
        return Value ? QStringLiteral("1") : QStringLiteral("0");
    } else if constexpr (std::is_same_v<T, QString>) {
        return Value;
    } else if constexpr (std::is_floating_point_v<T>) {
        if (std::trunc(Value) == Value && std::fabs(Value) < 1e15) return QString::number(qint64(Value));
        // The shortest text of the value in its own width: 0.3f as "0.3".
        char Text[64];
        const auto End = std::to_chars(Text, Text + sizeof Text, Value).ptr;
        return QString::fromLatin1(Text, End - Text);
    } else {
        return QString::number(Value);
    }
}

// Reads a value of Value's type (a flag also as "true" or "false"); False,
// with Value untouched, when Text is not one or does not fit.
template <typename T>
bool ParseValue(const QString& Text, T& Value) {
    bool Ok = false;
    if constexpr (std::is_same_v<T, bool>) {
        const QString L = Text.toLower();
        if (L == QLatin1String("1") || L == QLatin1String("true")) Value = true;
        else if (L == QLatin1String("0") || L == QLatin1String("false")) Value = false;
        else return false;
        return true;
    } else if constexpr (std::is_same_v<T, QString>) {
        Value = Text;
        return true;
    } else if constexpr (std::is_floating_point_v<T>) {
        const double V = QLocale::c().toDouble(Text, &Ok);
        if (Ok) Value = T(V);
    } else {
        const qlonglong V = Text.toLongLong(&Ok);
        Ok = Ok && std::in_range<T>(V);
        if (Ok) Value = T(V);
    }
    return Ok;
}

// A settable variable of one value.
template <typename T>
TProbeVariable Scalar(T& Variable) {
    return {[&Variable] { return QStringList{ValueText(Variable)}; },
            [&Variable](const QString& Value) { return ParseValue(Value, Variable); }};
}

template <typename Row>
QString RowText(const Row& Values) {
    QStringList Parts;
    for (const auto& Value : Values) Parts << ValueText(Value);
    return Parts.join(QLatin1Char(' '));
}

// A read-only array, printed one line per row (one line for a flat array).
template <typename Array>
TProbeVariable Rows(const Array& Variable) {
    return {[&Variable] {
                QStringList Lines;
                if constexpr (std::is_arithmetic_v<std::decay_t<decltype(Variable[0])>>) {
                    Lines << RowText(Variable);
                } else {
                    for (const auto& Row : Variable) Lines << RowText(Row);
                }
                return Lines;
            },
            {}};
}

// One line registers a program-wide variable under its own name.
#define TAM32_PROBE_SCALAR(Name) const RegisterProbeVariable k##Name(#Name, Scalar(Name))
#define TAM32_PROBE_ROWS(Name) const RegisterProbeVariable k##Name(#Name, Rows(Name))

}  // namespace tam32::probe
