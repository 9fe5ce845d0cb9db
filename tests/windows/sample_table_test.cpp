// The sample table of an image window: the sample tool's clicks, its group
// buttons, its colours, its training, and the window once it is closed.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QImage>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <deque>
#include <optional>

#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "analysis/RecordingEngineHost.h"
#include "common/message_files.h"
#include "common/user_click.h"
#include "common/widget_app_env.h"
#include "platform/qstring_printer.h"
#include "windows/image_window_fixture.h"
#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"
#include "windows/recording_frame.h"

namespace tam32 {
namespace {

constexpr TColor kRed = 0x0000FF, kBlue = 0xFF0000;

// Left half about (40, 120, 30), right half about (150, 180, 230).
QImage Halves() {
    QImage image(120, 40, QImage::Format_RGB888);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x) {
            const int noise = (x * 7 + y * 13) % 9 - 4, other = (x * 5 + y * 3) % 7 - 3;
            image.setPixelColor(x, y, x < 60 ? QColor(40 + noise, 120 + other, 30 - noise)
                                             : QColor(150 + other, 180 + noise, 230 - other));
        }
    return image;
}

class SampleTableTest : public test::ImageWindowTest {
protected:
    void SetUp() override {
        ImageWindowTest::SetUp();
        OpenWindow(Halves(), QStringLiteral("halves.bmp"));
    }

    // The colour dialogs that open next are answered in turn: a colour, or
    // Cancel for none.
    void AnswerColours(std::deque<std::optional<TColor>> Answers) {
        Colours = std::move(Answers);
        AnswerNextColour();
    }
    void AnswerNextColour() {
        QTimer::singleShot(0, [this] {
            auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (!Colours.empty()) AnswerNextColour();  // not open yet
                return;
            }
            const std::optional<TColor> answer = Colours.front();
            Colours.pop_front();
            if (answer) {
                dialog->setCurrentColor(QColor(GetRValue(*answer), GetGValue(*answer), GetBValue(*answer)));
                dialog->accept();
            } else {
                dialog->reject();
            }
            if (!Colours.empty()) AnswerNextColour();
        });
    }
    TLookingTable& StartTable(TColor First = kRed) {
        AnswerColours({First});
        Window->StartGetPoints();
        EXPECT_NE(Window->LookingTable(), nullptr);
        return *Window->LookingTable();
    }
    void Click(int X, int Y) {
        Window->Image1MouseDown(Qt::LeftButton, X, Y);
        Window->Image1MouseUp(X, Y);
    }
    void Press(QToolButton* Button) { test::UserClick(Button); }
    QString Row(const TLookingTable& Table, int Row) const {
        QStringList cells;
        for (int col = 0; col < 5; ++col) cells << Table.Cell(col, Row);
        return cells.join(QLatin1Char(','));
    }

    std::deque<std::optional<TColor>> Colours;
};

TEST_F(SampleTableTest, ANewTableAsksTheFirstColourAndTakesTheClickedPoints) {
    TLookingTable& table = StartTable();
    EXPECT_TRUE(table.isVisible());
    EXPECT_EQ(table.FFileName, File);
    EXPECT_EQ(table.windowTitle(), GetFormCaption(QStringLiteral("LOOK"), 0));
    EXPECT_EQ(table.Cell(2, 0), QStringLiteral("Color"));
    Click(10, 12);
    Click(30, 5);
    EXPECT_EQ(Row(table, 1), QStringLiteral("1,1,255,10,12"));
    EXPECT_EQ(Row(table, 2), QStringLiteral("2,1,255,30,5"));
    EXPECT_EQ(table.FRowCount, 3);
}

// Each button at least as wide as the form gives it and as its caption
// needs, so that the tool bar holds all five; the window at least its
// designed size.
TEST_F(SampleTableTest, AllFiveButtonsShowInsideTheTableInEitherLanguage) {
    for (const char* locale : {"EN", "JP"}) {
        SCOPED_TRACE(locale);
        QTemporaryDir messages;
        test::WriteMenuMessages(messages.path(), QLatin1String(locale), 0);
        SetMessageFolder(messages.path());
        TLookingTable& table = StartTable();
        QCoreApplication::processEvents();
        EXPECT_EQ(table.SpeedButton3->text(), GetFormCaption(QStringLiteral("LOOK"), 5));
        const std::pair<QToolButton*, int> designed[] = {
            {table.SpeedButton1, 41}, {table.SpeedButton4, 40}, {table.SpeedButton2, 80}, {table.SpeedButton5, 80}, {table.SpeedButton3, 77}};
        for (const auto& [button, width] : designed) {
            EXPECT_EQ(test::WhyUnreachable(*button), QString()) << button->text().toStdString();
            EXPECT_GE(button->width(), width);
            EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(button->text()));
        }
        EXPECT_GE(table.width(), 317);
        EXPECT_GE(table.height(), 281);
        table.close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetMessageFolder(QString());
    }
}

TEST_F(SampleTableTest, ACancelledFirstColourLeavesTheCaptionsOfTheCaptionFileAndBlack) {
    AnswerColours({std::nullopt});
    Window->StartGetPoints();
    TLookingTable& table = *Window->LookingTable();
    EXPECT_EQ(table.windowTitle(), QStringLiteral("Sample Points"));
    EXPECT_EQ(table.SpeedButton3->text(), QStringLiteral("Discriminate"));
    EXPECT_EQ(table.SpeedButton3->toolTip(), QStringLiteral("Run the discriminant analysis"));
    Click(3, 4);
    EXPECT_EQ(Row(table, 1), QStringLiteral("1,1,0,3,4"));
}

TEST_F(SampleTableTest, ANewGroupNeedsASampleOfTheCurrentOneAndTakesItsColour) {
    TLookingTable& table = StartTable();
    Press(table.SpeedButton2);  // the first group has no sample yet: no dialog either
    EXPECT_EQ(table.FGroup, 1);
    Click(10, 10);
    AnswerColours({kBlue});
    Press(table.SpeedButton2);
    Press(table.SpeedButton2);  // the new group is still empty
    Click(70, 10);
    EXPECT_EQ(Row(table, 2), QStringLiteral("2,2,16711680,70,10"));
    AnswerColours({std::nullopt});
    Press(table.SpeedButton2);  // cancelled: nothing changes
    EXPECT_EQ(table.FGroup, 2);
    EXPECT_EQ(table.FGroupColor, kBlue);
}

TEST_F(SampleTableTest, DeletingAGroupRenumbersTheRowsAndTheGroupsAfterIt) {
    TLookingTable& table = StartTable();
    Click(1, 1);
    Click(2, 2);
    AnswerColours({kBlue});
    Press(table.SpeedButton2);
    Click(3, 3);
    Click(4, 4);
    AnswerColours({0x00FF00});
    Press(table.SpeedButton2);
    Click(5, 5);
    table.SetCurrentRow(4);  // a row of group 2
    Press(table.SpeedButton5);
    EXPECT_EQ(table.FRowCount, 4);
    EXPECT_EQ(table.FGroup, 2);
    EXPECT_EQ(Row(table, 3), QStringLiteral("3,2,65280,5,5"));
    EXPECT_EQ(Row(table, 4), QStringLiteral(",,,,"));

    table.SetCurrentRow(1);
    Press(table.SpeedButton4);  // one row: the groups stay as they are
    EXPECT_EQ(Row(table, 1), QStringLiteral("1,1,255,2,2"));
    EXPECT_EQ(Row(table, 2), QStringLiteral("2,2,65280,5,5"));
    EXPECT_EQ(table.FGroup, 2);
    table.SetCurrentRow(3);
    Press(table.SpeedButton4);  // not a sample row
    EXPECT_EQ(table.FRowCount, 3);
}

TEST_F(SampleTableTest, SamplesAfterTheOnlyGroupWasDeletedAreRefusedByTheTraining) {
    TLookingTable& table = StartTable();
    Click(1, 1);
    table.SetCurrentRow(1);
    Press(table.SpeedButton5);
    EXPECT_EQ(table.FGroup, 0);
    for (int i = 0; i < 8; ++i) Click(10 + i, 10);
    EXPECT_EQ(table.Cell(1, 1), QStringLiteral("0"));
    Press(table.SpeedButton3);
    EXPECT_FALSE(ClassifyDone);
    Host.StatusTexts.clear();
    ShowErrorMessage(QStringLiteral("ERR16"));
    const QString refused = Host.LastStatus();
    Press(table.SpeedButton3);
    EXPECT_EQ(Host.LastStatus(), refused);
}

TEST_F(SampleTableTest, TheTableHoldsAtMost499Samples) {
    TLookingTable& table = StartTable();
    for (int i = 0; i < 500; ++i) Click(i % 120, i % 40);
    EXPECT_EQ(table.FRowCount, 500);
    EXPECT_EQ(table.Cell(0, 499), QStringLiteral("499"));
}

TEST_F(SampleTableTest, TheFirstColumnShowsTheGroupColourWithTheComplementText) {
    TLookingTable& table = StartTable(kBlue);
    Click(1, 1);
    const QRect cell = table.StringGrid1->visualItemRect(table.StringGrid1->item(0, 0));
    const QImage shown = table.StringGrid1->viewport()->grab().toImage();
    EXPECT_EQ(shown.pixelColor(cell.left() + 2, cell.top() + 2), QColor(0, 0, 255));
    bool complement = false;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
        for (int x = cell.left(); x <= cell.right(); ++x) complement = complement || shown.pixelColor(x, y) == QColor(255, 255, 0);
    EXPECT_TRUE(complement);
    const QRect other = table.StringGrid1->visualItemRect(table.StringGrid1->item(0, 1));
    EXPECT_NE(shown.pixelColor(other.left() + 2, other.top() + 2), QColor(0, 0, 255));
}

TEST_F(SampleTableTest, TheRunButtonTrainsTheClassifierThatTheWindowPaints) {
    Window->ViewClassifiedImage();
    Host.StatusTexts.clear();
    ShowErrorMessage(QStringLiteral("ERR3"));
    const QString noClassifier = Host.LastStatus();
    TLookingTable& table = StartTable(kRed);
    for (int i = 0; i < 6; ++i) Click(5 + i * 8, 5 + i * 5);
    AnswerColours({kBlue});
    Press(table.SpeedButton2);
    for (int i = 0; i < 6; ++i) Click(65 + i * 9, 4 + i * 6);
    Press(table.SpeedButton3);
    ASSERT_TRUE(ClassifyDone);
    EXPECT_EQ(GroupColors[1], kBlue);

    Window->ViewClassifiedImage();
    const QImage& painted = Window->Picture().Image();
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 120; ++x)
            ASSERT_EQ(painted.pixelColor(x, y), x < 60 ? QColor(255, 0, 0) : QColor(0, 0, 255)) << x << "," << y;
    EXPECT_NE(Host.LastStatus(), noClassifier);
}

TEST_F(SampleTableTest, AClosedTableCountsAsAbsent) {
    TLookingTable& table = StartTable();
    Click(1, 1);
    table.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Window->LookingTable(), nullptr);
    Click(2, 2);  // nothing to add to
    TLookingTable& second = StartTable();
    EXPECT_EQ(second.FRowCount, 1);
    Click(3, 3);
    EXPECT_EQ(Row(second, 1), QStringLiteral("1,1,255,3,3"));
}

TEST_F(SampleTableTest, ChoosingTheToolAgainClearsTheOpenTable) {
    TLookingTable& table = StartTable();
    Click(1, 1);
    AnswerColours({kBlue});
    Window->StartGetPoints();
    EXPECT_EQ(Window->LookingTable(), &table);
    EXPECT_EQ(table.FRowCount, 1);
    EXPECT_EQ(table.FGroupColor, kBlue);
    EXPECT_EQ(table.Cell(0, 1), QString());
}

}  // namespace
}  // namespace tam32
