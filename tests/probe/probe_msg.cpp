// tam32-probe msg KEY
//   ERRn, MSGn: the status text that the message shows;
//   DMSn: the dialog text; MM:n: a menu caption; FORM:FORMKEY:n: a form
//   caption; CHARSET: the menu character set.
// The message files beside the probe decide the locale, as for the program.
#include <cstdio>

#include "../analysis/RecordingEngineHost.h"
#include "ProbeCommands.h"
#include "analysis/core/Messages.h"

namespace tam32::probe {
namespace {

bool ParseIndex(const QString& Text, int& Index) {
    bool Ok = false;
    Index = Text.toInt(&Ok, 10);
    return Ok;
}

void PrintLine(const QString& Text) {
    std::fputs(Text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

int Msg(const QStringList& Args) {
    if (Args.size() != 1) return kUsage;
    const QString Key = Args[0];
    const QStringList Parts = Key.split(u':');
    int Index = 0;
    if (Key.startsWith(QLatin1String("ERR"), Qt::CaseInsensitive) ||
        Key.startsWith(QLatin1String("MSG"), Qt::CaseInsensitive)) {
        test::TRecordingEngineHost Host;
        if (Key.startsWith(QLatin1String("ERR"), Qt::CaseInsensitive))
            ShowErrorMessage(Key);
        else
            ShowInstructionMessage(Key);
        PrintLine(Host.LastStatus());
    } else if (Key.startsWith(QLatin1String("DMS"), Qt::CaseInsensitive)) {
        PrintLine(GetDialogMessage(Key));
    } else if (Parts.size() == 2 && Parts[0] == QLatin1String("MM") && ParseIndex(Parts[1], Index)) {
        PrintLine(GetMenuCaption(Index));
    } else if (Parts.size() == 3 && Parts[0] == QLatin1String("FORM") && ParseIndex(Parts[2], Index)) {
        PrintLine(GetFormCaption(Parts[1], Index));
    } else if (Key == QLatin1String("CHARSET")) {
        PrintLine(QString::number(GetMenuCharset()));
    } else {
        return kUsage;
    }
    return 0;
}

const RegisterProbeCommand kMsg({"msg", "ERRn | MSGn | DMSn | MM:n | FORM:FORMKEY:n | CHARSET", Msg});

}  // namespace
}  // namespace tam32::probe
