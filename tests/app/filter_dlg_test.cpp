// The spatial filter dialog: the kernel typed, loaded from a kernel file
// or refused, stored on OK, and shown again when the dialog reopens.
#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "analysis/RecordingEngineHost.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/FilterDlg.h"
#include "common/refusal_box.h"
#include "common/user_click.h"
#include "common/widget_app_env.h"
#include "platform/qstring_printer.h"

namespace tam32::test {
namespace {

class FilterDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
    }
    void TearDown() override { ResetSettingsToDefaults(QDate(2024, 6, 21)); }

    QString KernelFile(const QByteArray& Text) {
        const QString path = Folder.filePath(QStringLiteral("kernel%1.txt").arg(++Files));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(Text);
        return path;
    }
    // The grid row by row, cells separated by blanks.
    static QStringList Rows(const TFilterDlg& Dialog) {
        QStringList rows;
        for (int row = 0; row < Dialog.StringGrid1->rowCount(); ++row) {
            QStringList cells;
            for (int col = 0; col < Dialog.StringGrid1->columnCount(); ++col) cells << Dialog.Cell(col, row);
            rows << cells.join(QLatin1Char(' '));
        }
        return rows;
    }

    QTemporaryDir Folder;
    int Files = 0;
    TRecordingEngineHost Host;
};

const QStringList kOnes3 = {QStringLiteral("1 1 1"), QStringLiteral("1 1 1"), QStringLiteral("1 1 1")};

TEST_F(FilterDlgTest, AKernelFileFillsTheGridInFileOrderAndOKStoresItByColumn) {
    const QString file =
        KernelFile("\xEF\xBB\xBF" "5\n 1 2 3 4 5\t6 7 8 9 10 11 12 13 14 15\r\n16 17 18 19 20 -21 22 23 24 25\n9\r\n\r\n");
    TFilterDlg dialog;
    dialog.show();
    QTimer::singleShot(0, [&] {
        dialog.OpenDialog1->selectFile(file);
        static_cast<QDialog*>(dialog.OpenDialog1)->accept();
    });
    test::UserClick(dialog.Button1);
    EXPECT_EQ(Rows(dialog),
              (QStringList{"1 2 3 4 5", "6 7 8 9 10", "11 12 13 14 15", "16 17 18 19 20", "-21 22 23 24 25"}));
    EXPECT_EQ(dialog.SpinEdit2->value(), 9);
    EXPECT_FALSE(FilterDefined);  // nothing before OK
    test::UserClick(dialog.OKBtn);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(FilterDefined);
    EXPECT_EQ(std::pair(FilterSize, FilterDivisor), std::pair(5, 9));
    EXPECT_EQ(FilterKernel[0][4], -21);  // column 0, row 4
    EXPECT_EQ(FilterKernel[4][0], 5);
}

TEST_F(FilterDlgTest, FilesThatAreNotWholeKernelsChangeNothing) {
    const struct {
        const char* Why;
        QByteArray Text;
    } Cases[] = {
        {"an even size", "4 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 4"},
        {"a negative size", "-3 1 1 1 1 1 1 1 1 1 1"},
        {"a size beyond 31", "99999 1 1 1"},
        {"no number", "abc"},
        {"too few weights", "3 1 1 1 1 1"},
        {"no divisor", "3 1 1 1 1 1 1 1 1 1"},
        {"a fraction", "3 1 1 1 1.5 1 1 1 1 1 1"},
        {"beyond 32 bits", "3 1 1 1 1 2147483648 1 1 1 1 1"},
        {"text after the divisor", "3 1 1 1 1 1 1 1 1 1 9 and more"},
        // Blanks fill the file so that its divisor straddles the limit.
        {"longer than 1 MiB", "3 1 1 1 1 1 1 1 1 1" + QByteArray((1 << 20) - 19 - 2, ' ') + "1600"},
    };
    TFilterDlg dialog;
    dialog.SpinEdit2->setValue(7);
    for (const auto& Case : Cases) {
        SCOPED_TRACE(Case.Why);
        Host.Messages.clear();
        EXPECT_FALSE(dialog.LoadKernelFile(KernelFile(Case.Text)));
        EXPECT_EQ(Host.Messages.size(), 1u);
        EXPECT_EQ(Rows(dialog), kOnes3);
        EXPECT_EQ(dialog.SpinEdit2->value(), 7);
    }
    // The last message names the file and the limit.
    EXPECT_TRUE(Host.Messages[0].contains(Folder.filePath(QStringLiteral("kernel%1.txt").arg(Files))));
    EXPECT_TRUE(Host.Messages[0].contains(QStringLiteral("1048576"))) << Host.Messages[0].toStdString();
    EXPECT_FALSE(dialog.LoadKernelFile(Folder.filePath(QStringLiteral("missing.txt"))));
    dialog.reject();
    EXPECT_FALSE(FilterDefined);
}

// A refusal names the cell or field in a box over the dialog and puts the
// focus there; "ERR22" stays in the status bar until OK goes through.
TEST_F(FilterDlgTest, OKRefusesACellThatIsNoWholeNumberAndADivisorOfZeroAndNamesThem) {
    const auto err22 = StatusOf(ShowErrorMessage, "ERR22");
    TFilterDlg dialog;
    dialog.show();
    dialog.SetCell(1, 2, QStringLiteral("abc"));
    UserClick(dialog.OKBtn);
    EXPECT_EQ(Host.LastStatus(), err22);
    EXPECT_EQ(Host.Messages, std::vector<QString>{RefusalBox(FormatDialogMessage(QStringLiteral("DMS91"), {2, 3}))});
    EXPECT_EQ(dialog.focusWidget(), dialog.StringGrid1);
    EXPECT_EQ(std::pair(dialog.StringGrid1->currentColumn(), dialog.StringGrid1->currentRow()), std::pair(1, 2));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(FilterDefined);
    EXPECT_TRUE(FilterKernel.empty());
    dialog.SetCell(1, 2, QStringLiteral(" 2 "));
    dialog.SpinEdit2->setValue(0);
    Host.StatusTexts.clear();
    Host.Messages.clear();
    UserClick(dialog.OKBtn);
    EXPECT_EQ(Host.LastStatus(), err22);
    EXPECT_EQ(Host.Messages, std::vector<QString>{RefusalBox(dialog.Label2->text())});
    EXPECT_EQ(dialog.focusWidget(), dialog.SpinEdit2);
    EXPECT_FALSE(FilterDefined);
    dialog.SpinEdit2->setValue(10);
    UserClick(dialog.OKBtn);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(FilterKernel[1][2], 2);
    EXPECT_EQ(Host.LastStatus(), QString());
}

TEST_F(FilterDlgTest, ReopeningShowsTheStoredKernelAndDivisorAndASizeChangeStartsFromOnes) {
    {
        TFilterDlg dialog;
        dialog.show();
        dialog.SpinEdit1->setValue(5);
        dialog.SetCell(4, 0, QStringLiteral("-3"));
        dialog.SpinEdit2->setValue(25);
        test::UserClick(dialog.OKBtn);
    }
    TFilterDlg dialog;
    EXPECT_EQ(dialog.SpinEdit1->value(), 5);
    EXPECT_EQ(dialog.Cell(4, 0), QStringLiteral("-3"));
    EXPECT_EQ(dialog.SpinEdit2->value(), 25);
    // An even size typed goes up to the next odd one, every cell "1".
    dialog.show();
    auto* sizeText = dialog.SpinEdit1->findChild<QLineEdit*>();
    sizeText->setText(QStringLiteral("2"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog.SpinEdit1, &enter);
    EXPECT_EQ(dialog.SpinEdit1->value(), 3);
    EXPECT_EQ(Rows(dialog), kOnes3);
}

}  // namespace
}  // namespace tam32::test
