// tam32-probe options save FILE [--ini IN] [--set Name=Value]...
// tam32-probe options load FILE [--edit Control=Text]... [--print Name]...
// Both start from the built-in settings (today's date), open the real
// options dialog offscreen, prepared by Setup for no image, with FILE in
// place of the settings file, and touch no other file. Save and Load print
// the "STATUS:" line with the file's full path. "save" first loads IN
// through Load and OK and applies each --set, then presses Save: a file
// that cannot be written prints "MESSAGE: text" and exits 2. "load" presses
// Load, gives each named control (Edit1, Edit17, YearEdit, ...) its text as
// typing would, so that its change handler runs, presses OK and prints
// "Name = value" for each --print; when OK refuses a field it prints the
// "STATUS:" line and the "MESSAGE:" of its box, cancels, prints the
// settings and exits 2.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <utility>
#include <vector>

#include "../ProbeCommands.h"
#include "../ProbePrinting.h"
#include "../ProbeRun.h"
#include "../ProbeSettings.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "windows/TamOptionDialog.h"

namespace tam32::probe {
namespace {

// The dialog of both commands, with File in place of the settings file,
// and the host that prints what it shows.
struct TOpenDialog {
    explicit TOpenDialog(const QString& File) {
        Dialog.SettingsPlace = OneSettingsFile(File);
        Dialog.Setup(QString(), 0, 0, 1, 1);
        Dialog.show();
    }
    TPrintingHost Host{QStringLiteral("MESSAGE: ")};
    TTamOptionDialog Dialog;
};

// "Name=Value" split at the first "=", or nullopt.
std::optional<std::pair<QString, QString>> Assignment(const QString& Text) {
    const qsizetype equals = Text.indexOf(QLatin1Char('='));
    if (equals <= 0) return std::nullopt;
    return std::pair(Text.left(equals), Text.mid(equals + 1));
}

// The control's whole text replaced as typing would; False when the dialog
// has no text control of that name.
bool Type(TTamOptionDialog& Dialog, const QString& Control, const QString& Text) {
    QWidget* control = Dialog.findChild<QWidget*>(Control);
    QLineEdit* edit = qobject_cast<QLineEdit*>(control);
    if (qobject_cast<QAbstractSpinBox*>(control) != nullptr) edit = control->findChild<QLineEdit*>();
    if (edit == nullptr) return false;
    edit->selectAll();
    edit->insert(Text);
    return true;
}

int Save(const QString& File, const QStringList& Options) {
    std::vector<QString> sets;
    for (int i = 0; i < Options.size(); i += 2) {
        if (i + 1 >= Options.size()) return kUsage;
        if (Options[i] == QLatin1String("--ini")) {
            if (!LoadSettingsFile(Options[i + 1])) return 2;
        } else if (Options[i] != QLatin1String("--set") || !SetVariable(Options[i + 1])) {
            return kUsage;
        }
    }
    TOpenDialog open(File);
    open.Dialog.Button5->click();
    return open.Host.MessageCount > 0 ? 2 : 0;
}

int Load(const QString& File, const QStringList& Options) {
    std::vector<std::pair<QString, QString>> edits;
    QStringList prints;
    for (int i = 0; i < Options.size(); i += 2) {
        if (i + 1 >= Options.size()) return kUsage;
        const QString& value = Options[i + 1];
        if (Options[i] == QLatin1String("--edit")) {
            const auto edit = Assignment(value);
            if (!edit) return kUsage;
            edits.push_back(*edit);
        } else if (Options[i] == QLatin1String("--print") && ProbeVariables().contains(value)) {
            prints << value;
        } else {
            return kUsage;
        }
    }
    TOpenDialog open(File);
    TTamOptionDialog& dialog = open.Dialog;
    dialog.Button6->click();
    for (const auto& [control, text] : edits)
        if (!Type(dialog, control, text)) return kUsage;
    dialog.Button1->click();
    const bool refused = dialog.isVisible();
    if (refused) dialog.Button2->click();
    for (const QString& name : prints) PrintVariable(name);
    return refused ? 2 : 0;
}

int Options(const QStringList& Args) {
    if (Args.size() < 2) return kUsage;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    const QStringList options = Args.mid(2);
    if (Args[0] == QLatin1String("save")) return Save(Args[1], options);
    if (Args[0] == QLatin1String("load")) return Load(Args[1], options);
    return kUsage;
}

const RegisterProbeCommand kOptions({"options",
                                     "save FILE [--ini IN] [--set Name=Value]... | "
                                     "load FILE [--edit Control=Text]... [--print Name]...",
                                     Options,
                                     [](int& Argc, char** Argv) -> std::unique_ptr<QCoreApplication> {
                                         if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                                             qputenv("QT_QPA_PLATFORM", "offscreen");
                                         return std::make_unique<QApplication>(Argc, Argv);
                                     }});

}  // namespace
}  // namespace tam32::probe
