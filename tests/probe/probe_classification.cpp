// The colour classification from outside:
//   tam32-probe fdist DF1 DF2 [F]
//       "FDistUpperProb = v" (with F) and "FCritical05 = v".
//   tam32-probe disc FILE
//       the discriminant analysis of the samples of FILE (lines "group red
//       green blue", the groups in blocks): each non-empty cell of the
//       results table as "GRID StringGrid5 row col: text", "DiscTermUsed =
//       b0 b1 b2 b3", "DiscCoefficients[t] = c0 ... cg" (t 0..3), "Lambda =
//       v" and "RaoF = v"; a refusal prints "STATUS: text" and exits 2.
//   tam32-probe train IMAGE SAMPLES [--classifier FILE] [--save FILE]
//       the sample table's run on the rows of SAMPLES (lines "group,colour,
//       x,y"), after loading the classifier FILE when given, saving the
//       classifier to FILE afterwards when given: the table's cells as above,
//       then "ClassifyDone", "DiscLastGroup" and the 21 "GroupColors", also
//       after a refusal (exit 2).
//   tam32-probe classifier load FILE | classifier resave IN OUT
//       the classifier file loaded ("MEMO:" lines) and saved again; a file
//       refused prints "BOX: reason" and exits 2.
// "run" gains --classifier FILE, the routine ViewClassifiedImage (on the
// image as the window shows it) and the variables ClassifyDone,
// DiscLastGroup, GroupColors and RecognizedGroups (set as the groups, from
// 0, that count as target: RecognizedGroups=0,2). Reals have 17 digits.
#include <QFile>
#include <QLocale>
#include <map>
#include <utility>

#include "ProbeCommands.h"
#include "ProbePlugins.h"
#include "ProbePrinting.h"
#include "ProbeRun.h"
#include "analysis/colour/ClassifiedImage.h"
#include "analysis/colour/ClassifierFile.h"
#include "analysis/colour/DiscriminantAnalysis.h"
#include "analysis/colour/DiscriminantTraining.h"
#include "analysis/colour/FDistribution.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "platform/Bitmap.h"

namespace tam32::probe {
namespace {

QString Real(double Value) { return QLocale::c().toString(Value, 'g', 17); }

// Prints as TPrintingHost does, but keeps the results table's cells to
// print the non-empty ones at the end, as the table finally shows them.
class TTableHost final : public TEngineHost {
public:
    TTableHost() : FPrevious(SetEngineHost(this)) {}
    ~TTableHost() override { SetEngineHost(FPrevious); }
    TTableHost(const TTableHost&) = delete;
    TTableHost& operator=(const TTableHost&) = delete;

    void PrintTable() const {
        for (const auto& [Cell, Text] : FCells)
            if (!Text.isEmpty()) PrintLine(QStringLiteral("GRID StringGrid5 %1 %2: %3").arg(Cell.first).arg(Cell.second).arg(Text));
    }

    void SetStatusText(const QString& Text) override { FPrinter.SetStatusText(Text); }
    void AppendResultLine(const QString& Line) override { FPrinter.AppendResultLine(Line); }
    void SetResultGridRowCount(TResultGrid, int) override {}
    void SetResultGridCell(TResultGrid Grid, int Col, int Row, const QString& Text) override {
        if (Grid == TResultGrid::Classification) FCells[{Row, Col}] = Text;
    }
    void ShowResultPage(TResultPage) override {}
    void ShowChart(const TChartData& Chart) override { FPrinter.ShowChart(Chart); }
    void ShowMessage(const QString& Text) override { FPrinter.ShowMessage(Text); }
    bool Confirm(const QString&) override { return false; }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
    void SetClipboardText(const QString&) override {}

private:
    TPrintingHost FPrinter;  // installed first, so this host goes before it
    TEngineHost* FPrevious;
    std::map<std::pair<int, int>, QString> FCells;  // (row, column)
};

// The non-empty lines of a text file split at Separator; nullopt when the
// file cannot be read or a line has not Fields fields.
std::optional<std::vector<QStringList>> ReadFields(const QString& FileName, QChar Separator, int Fields) {
    QFile File(FileName);
    if (!File.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
    std::vector<QStringList> Lines;
    for (const QString& Line : QString::fromUtf8(File.readAll()).split(QLatin1Char('\n'))) {
        if (Line.trimmed().isEmpty()) continue;
        QStringList Parts = Separator == QLatin1Char(' ') ? Line.simplified().split(Separator) : Line.split(Separator);
        for (QString& Part : Parts) Part = Part.trimmed();
        if (Parts.size() != Fields) return std::nullopt;
        Lines.push_back(Parts);
    }
    return Lines;
}

int FDist(const QStringList& Args) {
    if (Args.size() < 2 || Args.size() > 3) return kUsage;
    bool Ok1 = false, Ok2 = false, Ok3 = true;
    const int DF1 = Args[0].toInt(&Ok1), DF2 = Args[1].toInt(&Ok2);
    const double F = Args.size() == 3 ? QLocale::c().toDouble(Args[2], &Ok3) : 0.0;
    if (!Ok1 || !Ok2 || !Ok3) return kUsage;
    if (Args.size() == 3) PrintLine(QStringLiteral("FDistUpperProb = ") + Real(FDistUpperProb(DF1, DF2, F)));
    PrintLine(QStringLiteral("FCritical05 = ") + Real(FCritical05(DF1, DF2)));
    return 0;
}

int Disc(const QStringList& Args) {
    if (Args.size() != 1) return kUsage;
    const std::optional<std::vector<QStringList>> Lines = ReadFields(Args[0], QLatin1Char(' '), 4);
    if (!Lines) return kUsage;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    std::vector<int> Sizes, Groups;
    std::vector<uint8_t> Channels[3];
    for (const QStringList& Line : *Lines) {
        int Values[4];
        for (int I = 0; I < 4; ++I) {
            bool Ok = false;
            Values[I] = Line[I].toInt(&Ok);
            if (!Ok || (I > 0 && (Values[I] < 0 || Values[I] > 255))) return kUsage;
        }
        // The groups in blocks, numbered from 1.
        if (Groups.empty() || Groups.back() != Values[0]) {
            if (Values[0] != int(Groups.size()) + 1) return kUsage;
            Groups.push_back(Values[0]);
            Sizes.push_back(0);
        }
        ++Sizes.back();
        for (int C = 0; C < 3; ++C) Channels[C].push_back(uint8_t(Values[C + 1]));
    }
    TTableHost Host;
    if (LoadDiscriminantSamples(Sizes, Channels[0], Channels[1], Channels[2]) || RunDiscriminantAnalysis()) return 2;
    Host.PrintTable();
    QStringList Used;
    for (bool Flag : DiscTermUsed) Used << ValueText(Flag);
    PrintLine(QStringLiteral("DiscTermUsed = ") + Used.join(QLatin1Char(' ')));
    for (int T = 0; T < 4; ++T) {
        QStringList Values;
        for (double C : DiscCoefficients[T]) Values << Real(C);
        PrintLine(QStringLiteral("DiscCoefficients[%1] = %2").arg(T).arg(Values.join(QLatin1Char(' '))));
    }
    PrintLine(QStringLiteral("Lambda = ") + Real(DiscLambda));
    PrintLine(QStringLiteral("RaoF = ") + Real(DiscRaoF));
    return 0;
}

int Train(const QStringList& Args) {
    if (Args.size() < 2 || Args.size() % 2 != 0) return kUsage;
    QString Classifier, Save;
    for (int I = 2; I < Args.size(); I += 2) {
        if (Args[I] == QLatin1String("--classifier"))
            Classifier = Args[I + 1];
        else if (Args[I] == QLatin1String("--save"))
            Save = Args[I + 1];
        else
            return kUsage;
    }
    const std::optional<std::vector<QStringList>> Lines = ReadFields(Args[1], QLatin1Char(','), 4);
    if (!Lines) return kUsage;
    std::vector<TSampleRow> Rows;
    for (const QStringList& Line : *Lines) Rows.push_back({Line[0], Line[1], Line[2], Line[3]});
    ResetSettingsToDefaults();
    ResetAnalysisState();
    TProbePlugins Plugins;
    TTableHost Host;
    if (!Classifier.isEmpty()) LoadClassifierFile(Classifier);
    const bool Refused = TrainClassifier(Args[0], Rows);
    if (!Refused && !Save.isEmpty()) SaveClassifierFile(Save);
    Host.PrintTable();
    PrintLine(QStringLiteral("ClassifyDone = ") + ValueText(ClassifyDone));
    PrintLine(QStringLiteral("DiscLastGroup = ") + ValueText(DiscLastGroup));
    PrintLine(QStringLiteral("GroupColors = ") + RowText(GroupColors));
    return Refused ? 2 : 0;
}

int Classifier(const QStringList& Args) {
    const bool Load = Args.size() == 2 && Args[0] == QLatin1String("load");
    const bool Resave = Args.size() == 3 && Args[0] == QLatin1String("resave");
    if (!Load && !Resave) return kUsage;
    ResetSettingsToDefaults();
    TPrintingHost Host;
    if (LoadClassifierFile(Args[1])) return 2;
    if (Resave && SaveClassifierFile(Args[2])) return 2;
    return 0;
}

const RegisterProbeCommand kFDist({"fdist", "DF1 DF2 [F]", FDist});
const RegisterProbeCommand kDisc({"disc", "FILE", Disc});
const RegisterProbeCommand kTrain({"train", "IMAGE SAMPLES [--classifier FILE] [--save FILE]", Train});
const RegisterProbeCommand kClassifier({"classifier", "load FILE | resave IN OUT", Classifier});

const RegisterProbeRunOption kClassifierOption("--classifier", [](const QString& File) {
    TPrintingHost Host;
    return !LoadClassifierFile(File);
});

// Painted into the window's picture: the image itself unless a routine
// before showed another.
const RegisterProbeRoutine kViewClassifiedImage("ViewClassifiedImage",
                                                [](const QString& File, TBitmap& Image, const TRect& Area) {
                                                    ShowImageIfEmpty(Image, File);
                                                    return ViewClassifiedImage(File, Image, Area);
                                                });

TAM32_PROBE_SCALAR(ClassifyDone);
TAM32_PROBE_SCALAR(DiscLastGroup);
TAM32_PROBE_ROWS(GroupColors);

// Printed as 21 flags; set as the list of groups that count.
const RegisterProbeVariable kRecognizedGroups(
    "RecognizedGroups", {[] { return QStringList{RowText(RecognizedGroups)}; },
                         [](const QString& Text) {
                             TCheckedArray<bool, 21> Groups{};
                             for (const QString& Item : Text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
                                 bool Ok = false;
                                 const int Group = Item.trimmed().toInt(&Ok);
                                 if (!Ok || Group < 0 || Group > kMaxLastGroup) return false;
                                 Groups[Group] = true;
                             }
                             RecognizedGroups = Groups;
                             return true;
                         }});

}  // namespace
}  // namespace tam32::probe
