// tam32-probe histogram IMAGE [--area L,T,R,B] [--ini FILE] [--set Name=Value]...
//     [--analysed] [--colour C] [--pick C,COND --spin T [--ok]] [--window-file FILE] [--out PIC.bmp]
// Counts the histogram of IMAGE's box area (the whole picture without
// --area) as the image window's histogram command does (exit 2 with its
// "STATUS:" line when that fails), then opens the real histogram window
// offscreen on IMAGE (or on FILE of --window-file, the arrays staying those of
// IMAGE): for display, showing the target counts with --analysed and colour C
// (0 red, 1 green, 2 blue) when --colour chooses one; or with --pick for a
// threshold of colour C under COND (">=", "<=", "=" or 0, 1, 2), T typed into
// its threshold field. Prints every non-empty cell as "GRID StringGrid1 row
// col: text" and the column widths as "COLWIDTH col: px"; for display,
// presses Copy and prints each clipboard line as "CLIP: line", then
// "CLIPCRLF: all" when every line ended in CR LF ("CLIPCRLF: not all"
// otherwise). --out writes the histogram's picture (256 × 180); --ok presses
// OK and prints "FixedThreshold = n".
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <clocale>
#include <climits>
#include <optional>

#include "../ProbeCommands.h"
#include "../ProbePlugins.h"
#include "../ProbePrinting.h"
#include "../ProbeSettings.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/geometry/AreaHistogram.h"
#include "platform/Clipboard.h"
#include "windows/HistgramWindow.h"
#include "windows/RadioGroup.h"

namespace tam32::probe {
namespace {

struct TPick {
    int Colour = 0;
    int Condition = 0;
};

std::optional<TPick> ParsePick(const QString& Text) {
    const qsizetype comma = Text.indexOf(QLatin1Char(','));
    if (comma <= 0) return std::nullopt;
    std::vector<int> colour;
    if (!ParseInts(Text.left(comma), 1, 1, colour)) return std::nullopt;
    const QString condition = Text.mid(comma + 1).trimmed();
    const QStringList symbols{QStringLiteral(">="), QStringLiteral("<="), QStringLiteral("=")};
    if (symbols.contains(condition)) return TPick{colour[0], int(symbols.indexOf(condition))};
    bool ok = false;
    const int number = condition.toInt(&ok);
    if (!ok) return std::nullopt;
    return TPick{colour[0], number};
}

void PrintGrid(const QTableWidget& Grid) {
    for (int row = 0; row < Grid.rowCount(); ++row)
        for (int col = 0; col < Grid.columnCount(); ++col)
            if (const QTableWidgetItem* item = Grid.item(row, col); item != nullptr && !item->text().isEmpty())
                PrintLine(QStringLiteral("GRID StringGrid1 %1 %2: %3").arg(row).arg(col).arg(item->text()));
    for (int col = 0; col < Grid.columnCount(); ++col)
        PrintLine(QStringLiteral("COLWIDTH %1: %2").arg(col).arg(Grid.columnWidth(col)));
}

void PrintClipboardLines() {
    const QString text = Clipboard().AsText();
    QStringList lines = text.split(QLatin1Char('\n'));
    // A text that ends with a line end leaves an empty piece behind it.
    bool allCrLf = lines.last().isEmpty();
    if (allCrLf) lines.removeLast();
    for (QString line : lines) {
        allCrLf = allCrLf && line.endsWith(QLatin1Char('\r'));
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
        PrintLine(QStringLiteral("CLIP: ") + line);
    }
    PrintLine(allCrLf ? QStringLiteral("CLIPCRLF: all") : QStringLiteral("CLIPCRLF: not all"));
}

int Histogram(const QStringList& Args) {
    if (Args.isEmpty()) return kUsage;
    const QString image = Args[0];
    std::setlocale(LC_NUMERIC, "C");
    ResetSettingsToDefaults();
    ResetAnalysisState();
    TRect area{0, 0, INT_MAX, INT_MAX};  // the whole picture: the count clips to the image
    bool analysed = false, pressOk = false;
    std::optional<int> colour;
    std::optional<TPick> pick;
    std::optional<QString> typed;
    QString windowFile = image, outFile;
    for (int i = 1; i < Args.size(); ++i) {
        const QString& option = Args[i];
        if (option == QLatin1String("--analysed")) {
            analysed = true;
            continue;
        }
        if (option == QLatin1String("--ok")) {
            pressOk = true;
            continue;
        }
        if (i + 1 >= Args.size()) return kUsage;
        const QString value = Args[++i];
        std::vector<int> ints;
        if (option == QLatin1String("--area")) {
            if (!ParseInts(value, 4, 4, ints)) return kUsage;
            area = {ints[0], ints[1], ints[2], ints[3]};
        } else if (option == QLatin1String("--ini")) {
            if (!QFile::exists(value)) return kUsage;
            if (!LoadSettingsFile(value)) return 2;
        } else if (option == QLatin1String("--set")) {
            if (!SetVariable(value)) return kUsage;
        } else if (option == QLatin1String("--colour")) {
            if (!ParseInts(value, 1, 1, ints) || ints[0] < 0 || ints[0] > 2) return kUsage;
            colour = ints[0];
        } else if (option == QLatin1String("--pick")) {
            if (!(pick = ParsePick(value))) return kUsage;
        } else if (option == QLatin1String("--spin")) {
            typed = value;
        } else if (option == QLatin1String("--window-file")) {
            windowFile = value;
        } else if (option == QLatin1String("--out")) {
            outFile = value;
        } else {
            return kUsage;
        }
    }
    // Threshold and OK belong to picking, the colour choice to display.
    if (!pick && (typed || pressOk)) return kUsage;
    if (pick && colour) return kUsage;

    const TProbePlugins plugins;
    const TPrintingHost printer;
    if (CalcAreaHistogram(image, area)) return 2;
    THistgramWindow window;
    if (pick)
        window.SetupThresholdPick(windowFile, pick->Colour, pick->Condition);
    else
        window.ShowHistogram(windowFile, analysed);
    window.show();
    if (colour) {
        window.RadioGroup1->SetItemIndex(*colour);
        window.RadioGroup1Click();
    }
    // Typed in one go, as a paste: a value the field refuses reaches it too.
    if (typed) window.SpinEdit1->findChild<QLineEdit*>()->setText(*typed);
    PrintGrid(*window.StringGrid1);
    if (!pick) {
        window.Button3->click();
        PrintClipboardLines();
    }
    if (!outFile.isEmpty()) window.Picture().SaveToFile(outFile);
    if (pressOk) {
        window.Button1->click();
        PrintVariable(QStringLiteral("FixedThreshold"));
    }
    return 0;
}

std::unique_ptr<QCoreApplication> MakeWidgetApplication(int& Argc, char** Argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(Argc, Argv);
}

const RegisterProbeCommand kHistogram({"histogram",
                                       "IMAGE [--area L,T,R,B] [--ini FILE] [--set Name=Value]... [--analysed] "
                                       "[--colour C] [--pick C,COND --spin T [--ok]] [--window-file FILE] "
                                       "[--out PIC.bmp]",
                                       Histogram, MakeWidgetApplication});

}  // namespace
}  // namespace tam32::probe
