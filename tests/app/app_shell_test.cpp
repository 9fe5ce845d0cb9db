// The program's error box and its engine host.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTimer>
#include <set>

#include "app/AppEngineHost.h"
#include "app/InformationWindow.h"
#include "app/TamApplication.h"
#include "common/widget_app_env.h"
#include "platform/Exceptions.h"
#include "platform/FileSave.h"

namespace tam32 {
namespace {

TEST(ErrorBoxTest, NamesTheExceptionClassBeforeItsMessage) {
    EXPECT_EQ(ExceptionText(ERangeError(kRangeCheckError)), QStringLiteral("ERangeError: Range check error"));
    EXPECT_EQ(ExceptionText(std::runtime_error("disk full")), QStringLiteral("Exception: disk full"));
}

TEST(ErrorBoxTest, FailuresWithAKeyedTextShowItWithTheirFileAndReason) {
    const QString memory = QStringLiteral("Not enough memory for this operation; it was stopped.");
    EXPECT_EQ(ExceptionText(std::bad_alloc()), memory);
    EXPECT_EQ(ExceptionText(EOutOfMemory(QStringLiteral("Out of memory"))), memory);
    EXPECT_EQ(ExceptionText(EFileSaveError(QStringLiteral("/data/Options.Ini"), QStringLiteral("No space left on device"))),
              QStringLiteral("/data/Options.Ini could not be written (No space left on device); the file is left as it was."));
    EXPECT_EQ(ExceptionText(EFileTooLarge(QStringLiteral("/data/k.txt"), 1048576)),
              QStringLiteral("/data/k.txt is larger than 1048576 bytes, the most a file of its kind may hold, and is "
                             "neither read nor written."));
}

TEST(ErrorBoxTest, AnErrorWhileTheBoxIsUpOpensNoSecondBox) {
    test::RequireWidgetApp();
    std::set<QWidget*> boxes;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxes.insert(box);
            // The box changes the active form, which may raise again.
            ShowException(EConvertError(QStringLiteral("again")));
            box->close();
        }
    });
    closer.start(10);
    ShowException(EConvertError(QStringLiteral("'abc' is not a valid integer value")));
    closer.stop();
    EXPECT_EQ(boxes.size(), 1u);
}

TEST(ErrorBoxTest, AbortIsSilent) {
    test::RequireWidgetApp();
    bool boxShown = false;
    QObject scope;  // the check ends with the test
    QTimer::singleShot(50, &scope, [&] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            boxShown = true;
            box->close();
        }
    });
    ShowException(EAbort(QString()));
    EXPECT_FALSE(boxShown);
}

class CountingLabel : public QLabel {
public:
    int Paints = 0;

protected:
    void paintEvent(QPaintEvent* Event) override {
        ++Paints;
        QLabel::paintEvent(Event);
    }
};

TEST(AppEngineHostTest, StatusShowsAtOnceButRepaintsAtMostThirtyTimesASecond) {
    test::RequireWidgetApp();
    CountingLabel panel;
    panel.show();
    for (int i = 0; i < 10 && panel.Paints == 0; ++i) QCoreApplication::processEvents();
    TInformationWindow results;
    TAppEngineHost host(panel, results, nullptr);
    const int before = panel.Paints;
    host.SetStatusText(QStringLiteral("row 1"));
    EXPECT_EQ(panel.Paints, before + 1);
    for (int row = 2; row <= 500; ++row) host.SetStatusText(QStringLiteral("row %1").arg(row));
    EXPECT_EQ(panel.text(), QStringLiteral("row 500"));
    EXPECT_LT(panel.Paints, before + 50);
}

TEST(AppEngineHostTest, ResultsGoToTheResultsWindow) {
    test::RequireWidgetApp();
    QLabel panel;
    TInformationWindow results;
    TAppEngineHost host(panel, results, nullptr);
    host.AppendResultLine(QStringLiteral("LAI = 2.50"));
    host.SetResultGridCell(TResultGrid::GapEstimate, 2, 3, QStringLiteral("0.25"));
    EXPECT_TRUE(results.Results->toPlainText().contains(QStringLiteral("LAI = 2.50")));
    EXPECT_EQ(TInformationWindow::Cell(results.Grid(TResultGrid::GapEstimate), 2, 3), QStringLiteral("0.25"));
}

// A box comes up over the window the user is in: the modal dialog, else
// the active window (a tool window such as the control-point dialog).
TEST(AppEngineHostTest, BoxesComeUpOverTheWindowTheUserIsIn) {
    test::RequireWidgetApp();
    QLabel panel;
    TInformationWindow results;
    QWidget frame;
    frame.show();
    TAppEngineHost host(panel, results, &frame);
    QWidget* over = nullptr;
    const auto showBox = [&] {
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                over = box->parentWidget();
                box->accept();
            }
        });
        host.ShowMessage(QStringLiteral("refused"));
    };
    QDialog modal(&frame);
    QTimer::singleShot(0, [&] {
        showBox();
        modal.accept();
    });
    modal.exec();
    EXPECT_EQ(over, &modal);

    QDialog tool(&frame, Qt::Tool);
    tool.show();
    tool.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &tool);
    showBox();
    EXPECT_EQ(over, &tool);
}

}  // namespace
}  // namespace tam32
