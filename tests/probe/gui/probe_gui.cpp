// tam32-probe gui SCRIPT [--ini FILE] [--set Name=Value]...
// Runs the real program offscreen (unless QT_QPA_PLATFORM names another
// platform), its settings at their defaults, then the settings file and each
// --set, and executes SCRIPT, one command a line, "#" starting a comment:
//   open FILE | window N | windows
//   menu NAME (a menu item or tool button, as a click; menu PARItems:N selects a period)
//   button TEXT (clicks the button captioned TEXT, "&" left out, in the active
//     dialog or window, only where a user can: a hidden, clipped, overflowed,
//     disabled, missing or ambiguous one is said on standard error and exits 3)
//   tool SELECTOR | command NAME [ARG...]      (of the active image window)
//   press X,Y [right] | move X,Y | release X,Y [right] | click X,Y [right]
//   drag X0,Y0 X1,Y1 [STEPS] [right]           (image pixels at the current zoom)
//   zoom in|out
//   answer yes|no|ok|cancel|text:VALUE|colour:$00BBGGRR|file:PATH|button TEXT
//     (queued for the next prompts; a dialog still open after its button
//     takes the next answer, one that stays open after OK exits 3)
//   circle X,Y,R[,ODD] | north DEG | print NAME | save FILE | clipboard
//   close (the window manager's close request to the frame)
//   table clear|add-group|run | table delete-row|delete-group ROW   (the sample table's buttons)
//   gcp ROW X Y | gcp type NAME TEXT | gcp press NAME   (the control-point dialog)
//     (buttons, named or captioned, are pressed only where a user can)
// It prints "STATUS: text" on each change of the status bar's message panel,
// "PANEL1: text" after each button event, "MEMO:", "GRID", chart lines,
// "BOX: text" for each message box, "PROMPT kind: text => answer" for each
// prompt, "WINDOW n: title", "CLIP: line" and "Name = value". Exit 0 at the
// end of the script or when the program ends, 3 at a prompt without an
// answer, a dialog that refuses its OK, a button a user cannot click or a
// line that is not understood.
#include <QFile>
#include <QTimer>

#include "../ProbeCommands.h"
#include "../ProbeSettings.h"
#include "GuiScript.h"
#include "PromptAnswerer.h"
#include "ScriptHost.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "app/AppEngineHost.h"
#include "app/MainForm.h"
#include "app/Program.h"
#include "app/StartUp.h"
#include "app/TamApplication.h"

namespace tam32::probe {
namespace {

int RunGui(const QStringList& Args) {
    if (Args.isEmpty()) return kUsage;
    QFile file(Args[0]);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return kUsage;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    StartUpApplication();
    ResetSettingsToDefaults();
    ResetAnalysisState();
    for (int i = 1; i < Args.size(); i += 2) {
        if (i + 1 >= Args.size()) return kUsage;
        if (Args[i] == QLatin1String("--ini")) {
            if (!QFile::exists(Args[i + 1])) return kUsage;
            if (!LoadSettingsFile(Args[i + 1])) return 2;
        } else if (Args[i] != QLatin1String("--set") || !SetVariable(Args[i + 1])) {
            return kUsage;
        }
    }

    TProgram program;
    program.Show();
    TScriptHost host(program.Host());
    TPromptAnswerer answerer;
    TGuiScript script(program, answerer);
    QTimer::singleShot(0, [&] {
        const int code = script.Run(lines);
        // When the frame has closed, the program is ending by itself.
        if (program.Frame().isVisible()) QCoreApplication::exit(code);
    });
    return QApplication::exec();
}

std::unique_ptr<QCoreApplication> MakeProgramApplication(int& Argc, char** Argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<TTamApplication>(Argc, Argv);
}

const RegisterProbeCommand kGui({"gui", "SCRIPT [--ini FILE] [--set Name=Value]...", RunGui, MakeProgramApplication});

}  // namespace
}  // namespace tam32::probe
