#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "ProbeSettings.h"
#include "analysis/core/SettingsFile.h"

namespace tam32::probe {

bool LoadSettingsFile(const QString& FileName) {
    const TPrintingHost Printer;  // a refusal's "STATUS:" line
    return ApplySettingsFile(FileName);
}

bool ParseInts(const QString& Text, int Min, int Max, std::vector<int>& Values) {
    const QStringList Parts = Text.split(QLatin1Char(','));
    if (Parts.size() < Min || Parts.size() > Max) return false;
    for (const QString& Part : Parts) {
        bool Ok = false;
        Values.push_back(Part.trimmed().toInt(&Ok));
        if (!Ok) return false;
    }
    return true;
}

bool SetVariable(const QString& Assignment) {
    const qsizetype Equals = Assignment.indexOf(QLatin1Char('='));
    if (Equals <= 0) return false;
    const auto Variable = ProbeVariables().find(Assignment.left(Equals));
    return Variable != ProbeVariables().end() && Variable->second.Set && Variable->second.Set(Assignment.mid(Equals + 1));
}

void PrintVariable(const QString& Name) {
    QStringList lines = ProbeVariables().at(Name).Print();
    lines[0] = Name + QStringLiteral(" = ") + lines[0];
    for (const QString& line : lines) PrintLine(line);
}

}  // namespace tam32::probe
