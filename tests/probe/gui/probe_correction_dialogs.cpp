// The dialogs of the filter and of the control-point correction, run for
// real offscreen from the built-in settings:
//
// tam32-probe kernel FILE
//   loads FILE into the spatial filter dialog, presses OK and prints
//   "FilterDefined = b", "FilterSize = n", "FilterDivisor = d" and
//   "FilterKernel[r] = w0 ... wN-1" for each row r. Exit 2 after the
//   "BOX:" of a refused file or the "STATUS:" and "BOX:" of a refused OK.
//
// tam32-probe gcp POINTS [--order K] [--auto-size] [--extent X0,X1,Y0,Y1]
//     [--pixel S [--unit 0|1|2]] [--correct IMAGE OUT.bmp]
//   for each line "X Y COL ROW" of POINTS (or "COL ROW" for a point without
//   its world position) picks the point into the control-point dialog and
//   types its X and Y; fits with order K (1 without --order) and prints
//   "GRID DataGrid row 0: residual" for each point, "CoefCol = ..." and
//   "CoefRow = ..." (17 significant digits); --auto-size presses Auto_Size
//   and prints "im_x0 = text" and the other three edits; --extent types the
//   extent edits and --pixel the pixel size (and chooses the unit), presses
//   Calc Image Size and prints "Image_Size = caption"; --correct writes the
//   correction of IMAGE to OUT.bmp. Exit 0 when every step asked
//   succeeded, 2 when one was refused (after its "BOX:", or "STATUS:" and
//   "BOX:") or
//   the correction wrote nothing.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <optional>

#include "../ProbeCommands.h"
#include "../ProbePlugins.h"
#include "../ProbePrinting.h"
#include "../ProbeSettings.h"
#include "analysis/core/AnalysisState.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/corrections/GcpCorrection.h"
#include "app/FilterDlg.h"
#include "windows/AfinDlg.h"

namespace tam32::probe {
namespace {

QString Numbers(const std::vector<double>& Values) {
    QStringList texts;
    for (double value : Values) texts << QString::number(value, 'g', 17);
    return texts.join(QLatin1Char(' '));
}

int Kernel(const QStringList& Args) {
    if (Args.size() != 1) return kUsage;
    ResetSettingsToDefaults();
    const TPrintingHost printer;
    TFilterDlg dialog;
    dialog.show();
    if (!dialog.LoadKernelFile(Args[0])) return 2;
    dialog.OKBtn->click();
    if (dialog.result() != QDialog::Accepted) return 2;
    for (const char* name : {"FilterDefined", "FilterSize", "FilterDivisor"}) PrintVariable(QLatin1String(name));
    for (int row = 0; row < FilterSize; ++row) {
        QStringList weights;
        for (int col = 0; col < FilterSize; ++col) weights << QString::number(FilterKernel[size_t(col)][size_t(row)]);
        PrintLine(QStringLiteral("FilterKernel[%1] = %2").arg(row).arg(weights.join(QLatin1Char(' '))));
    }
    return 0;
}

struct TGcpOptions {
    std::optional<int> Order;
    bool AutoSize = false;
    QStringList Extent;
    std::optional<QString> Pixel;
    int Unit = 0;
    QString Image, Output;
};

std::optional<TGcpOptions> ParseGcpOptions(const QStringList& Args) {
    TGcpOptions options;
    for (int i = 1; i < Args.size(); ++i) {
        const QString& option = Args[i];
        if (option == QLatin1String("--auto-size")) {
            options.AutoSize = true;
            continue;
        }
        if (i + 1 >= Args.size()) return std::nullopt;
        const QString value = Args[++i];
        std::vector<int> ints;
        if (option == QLatin1String("--order")) {
            if (!ParseInts(value, 1, 1, ints)) return std::nullopt;
            options.Order = ints[0];
        } else if (option == QLatin1String("--extent")) {
            options.Extent = value.split(QLatin1Char(','));
            if (options.Extent.size() != 4) return std::nullopt;
        } else if (option == QLatin1String("--pixel")) {
            options.Pixel = value;
        } else if (option == QLatin1String("--unit")) {
            if (!ParseInts(value, 1, 1, ints) || ints[0] < 0 || ints[0] > 2) return std::nullopt;
            options.Unit = ints[0];
        } else if (option == QLatin1String("--correct")) {
            if (i + 1 >= Args.size()) return std::nullopt;
            options.Image = value;
            options.Output = Args[++i];
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The points of the file into the dialog, as picked and typed; False when a
// line is neither "X Y COL ROW" nor "COL ROW".
bool PickPoints(const QString& FileName, TAfinDlg& Dialog) {
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return false;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.isEmpty()) continue;
        if (words.size() != 2 && words.size() != 4) return false;
        std::vector<int> picture;
        if (!ParseInts(words[words.size() - 2] + QLatin1Char(',') + words.last(), 2, 2, picture)) return false;
        Dialog.AddGCP(picture[0], picture[1]);
        if (words.size() == 4) {
            Dialog.SetCell(1, Dialog.GCPCount, words[0]);
            Dialog.SetCell(2, Dialog.GCPCount, words[1]);
        }
    }
    return true;
}

int Gcp(const QStringList& Args) {
    if (Args.isEmpty()) return kUsage;
    const std::optional<TGcpOptions> options = ParseGcpOptions(Args);
    if (!options || (options->Order && (*options->Order < 1 || *options->Order > 3))) return kUsage;
    ResetSettingsToDefaults();
    ResetAnalysisState();
    const TPrintingHost printer;
    TAfinDlg dialog(nullptr);
    dialog.show();
    if (!PickPoints(Args[0], dialog)) return kUsage;
    if (options->Order) dialog.DimFiit->setValue(*options->Order);
    dialog.Analyze->click();
    if (dialog.CoefCol.empty()) return 2;
    for (int row = 1; row <= dialog.GCPCount; ++row)
        PrintLine(QStringLiteral("GRID DataGrid %1 0: %2").arg(row).arg(dialog.Cell(0, row)));
    PrintLine(QStringLiteral("CoefCol = ") + Numbers(dialog.CoefCol));
    PrintLine(QStringLiteral("CoefRow = ") + Numbers(dialog.CoefRow));
    QLineEdit* const extent[] = {dialog.im_x0, dialog.im_x1, dialog.im_y0, dialog.im_y1};
    if (options->AutoSize) {
        dialog.Auto_Size->click();
        for (QLineEdit* edit : extent) PrintLine(edit->objectName() + QStringLiteral(" = ") + edit->text());
    }
    for (int i = 0; i < options->Extent.size(); ++i) extent[i]->setText(options->Extent[i]);
    if (options->Pixel) {
        dialog.Pixel_Size->setText(*options->Pixel);
        dialog.ScaleInfo->setCurrentIndex(options->Unit);
        dialog.Calc_IMS->click();
        if (dialog.Image_Size->text().isEmpty()) return 2;
        PrintLine(QStringLiteral("Image_Size = ") + dialog.Image_Size->text());
    }
    if (!options->Image.isEmpty()) {
        const TProbePlugins plugins;
        if (!GcpCorrectImageFile(options->Image, options->Output, dialog.Model())) return 2;
    }
    return 0;
}

std::unique_ptr<QCoreApplication> MakeDialogApplication(int& Argc, char** Argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(Argc, Argv);
}

const RegisterProbeCommand kKernel({"kernel", "FILE", Kernel, MakeDialogApplication});
const RegisterProbeCommand kGcp({"gcp",
                                 "POINTS [--order K] [--auto-size] [--extent X0,X1,Y0,Y1] [--pixel S [--unit 0|1|2]] "
                                 "[--correct IMAGE OUT.bmp]",
                                 Gcp, MakeDialogApplication});

}  // namespace
}  // namespace tam32::probe
