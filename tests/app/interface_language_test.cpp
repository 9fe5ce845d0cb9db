// The program as a user meets it, in each language of the message files:
// every window and dialog it can open, read from title to status text. The
// English interface holds no Japanese character; neither shows "ERROR" for
// a text that the shipped files lack.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QChart>
#include <QChartView>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QAbstractAxis>
#include <QAbstractSeries>
#include <functional>
#include <memory>

#include "analysis/core/AnalysisState.h"
#include "analysis/core/Classifier.h"
#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/MainForm.h"
#include "app/Program.h"
#include "common/widget_app_env.h"
#include "platform/IniFile.h"
#include "windows/AfinDlg.h"
#include "windows/LeafImageWindow.h"
#include "windows/LookingTable.h"
#include "windows/OKBottomDlg.h"
#include "windows/TamOptionDialog.h"

namespace tam32 {
namespace {

// Hiragana, Katakana (also half width and its extensions), CJK ideographs and
// the CJK marks and punctuation.
bool IsJapanese(QChar C) {
    const char16_t U = C.unicode();
    return (U >= 0x3000 && U <= 0x30FF) || (U >= 0x31F0 && U <= 0x31FF) || (U >= 0x3400 && U <= 0x4DBF) ||
           (U >= 0x4E00 && U <= 0x9FFF) || (U >= 0xF900 && U <= 0xFAFF) || (U >= 0xFF65 && U <= 0xFF9F);
}

bool HasJapanese(const QString& Text) { return std::any_of(Text.begin(), Text.end(), IsJapanese); }

// Every text of a window that a user reads, hidden parts included (a tab or
// a group that is not shown now may be shown later).
QStringList ReadableTexts(const QWidget& Top) {
    QStringList texts;
    QList<const QWidget*> widgets{&Top};
    for (const QWidget* child : Top.findChildren<QWidget*>()) widgets << child;
    for (const QWidget* w : widgets) {
        if (w->isWindow()) texts << w->windowTitle();
        texts << w->toolTip() << w->statusTip();
        for (const QAction* action : w->actions()) texts << action->text() << action->toolTip();
        if (auto* label = qobject_cast<const QLabel*>(w)) texts << label->text();
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) texts << button->text();
        if (auto* group = qobject_cast<const QGroupBox*>(w)) texts << group->title();
        if (auto* edit = qobject_cast<const QLineEdit*>(w)) texts << edit->text() << edit->placeholderText();
        if (auto* memo = qobject_cast<const QPlainTextEdit*>(w)) texts << memo->toPlainText();
        if (auto* spin = qobject_cast<const QAbstractSpinBox*>(w)) texts << spin->specialValueText();
        if (auto* tabs = qobject_cast<const QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i) texts << tabs->tabText(i) << tabs->tabToolTip(i);
        if (auto* combo = qobject_cast<const QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i) texts << combo->itemText(i);
        if (auto* list = qobject_cast<const QListWidget*>(w))
            for (int i = 0; i < list->count(); ++i) texts << list->item(i)->text();
        if (auto* table = qobject_cast<const QTableWidget*>(w)) {
            for (int c = 0; c < table->columnCount(); ++c)
                if (const QTableWidgetItem* header = table->horizontalHeaderItem(c)) texts << header->text();
            for (int r = 0; r < table->rowCount(); ++r)
                for (int c = 0; c < table->columnCount(); ++c)
                    if (const QTableWidgetItem* item = table->item(r, c)) texts << item->text() << item->toolTip();
        }
        if (auto* view = qobject_cast<const QChartView*>(w)) {
            for (const QAbstractSeries* series : view->chart()->series()) texts << series->name();
            for (const QAbstractAxis* axis : view->chart()->axes()) texts << axis->titleText();
        }
    }
    texts.removeAll(QString());
    return texts;
}

// The shipped message files, both set to one locale (and the menus to its
// character set), in a folder of the test's own.
class InterfaceLanguageTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        test::RequireWidgetApp();
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
        const bool english = Locale() == QLatin1String("EN");
        for (const char* name : {"Tam32.msg", "menu.msg"}) {
            const QString copy = Messages.filePath(QLatin1String(name));
            ASSERT_TRUE(QFile::copy(QStringLiteral(TAM32_BIN_DIR "/") + QLatin1String(name), copy));
            TIniFile(copy).WriteString(QStringLiteral("LOCALE"), QStringLiteral("LOCALE"), Locale());
        }
        TIniFile(Messages.filePath(QStringLiteral("menu.msg")))
            .WriteString(QStringLiteral("LOCALE"), QStringLiteral("CHARSET"), english ? "0" : "128");
        SetMessageFolder(Messages.path());
        Program = std::make_unique<TProgram>();
        Program->Show();
        QCoreApplication::processEvents();
        QImage picture(80, 60, QImage::Format_RGB888);
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 80; ++x) picture.setPixelColor(x, y, QColor(x * 3, y * 4, (x + y) % 256));
        Photo = Files.filePath(QStringLiteral("photo.bmp"));
        ASSERT_TRUE(picture.save(Photo));
    }
    void TearDown() override {
        Program.reset();
        SetMessageFolder(QString());
        ResetSettingsToDefaults(QDate(2024, 6, 21));
        ResetAnalysisState();
    }

    static QString Locale() { return QLatin1String(GetParam()); }
    TMainForm& Frame() { return Program->Frame(); }
    void Trigger(const char* Item) {
        Frame().MenuItem(Item)->trigger();
        QCoreApplication::processEvents();
    }

    // Reads Window's texts into what the interface showed, under Where.
    void Read(const QWidget& Window, const QString& Where) {
        for (const QString& text : ReadableTexts(Window)) Shown << Where + QStringLiteral(": ") + text;
        ++ReadWindows;
    }
    // Runs Open, which shows a modal window; Answer reads and closes it.
    void WithModal(const std::function<void()>& Open, const std::function<void(QWidget&)>& Answer) {
        QPointer<QWidget> before = QApplication::activeModalWidget();
        bool answered = false;
        QTimer poll;
        poll.setInterval(5);
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget* modal = QApplication::activeModalWidget();
            if (answered || modal == nullptr || modal == before) return;
            answered = true;
            Answer(*modal);
        });
        poll.start();
        Open();
        poll.stop();
        EXPECT_TRUE(answered) << "no window came up";
    }
    // Reads the modal window under Where and closes it as Escape would.
    std::function<void(QWidget&)> ReadAndClose(const QString& Where) {
        return [this, Where](QWidget& Window) {
            Read(Window, Where);
            Window.close();
        };
    }

    // Every window and dialog of the program, each read once it shows.
    void WalkTheProgram() {
        Read(Frame(), QStringLiteral("frame"));
        TLeafImageWindow* window = Frame().CreateMDIChild(Photo, false);
        ASSERT_NE(window, nullptr);

        WithModal([&] { Trigger("ProcOptionSetting1"); }, [&](QWidget& shown) {
            auto& dialog = dynamic_cast<TTamOptionDialog&>(shown);
            Read(dialog, QStringLiteral("options"));
            WithModal([&] { dialog.BitBtn1->click(); }, ReadAndClose(QStringLiteral("threshold pick")));
            dialog.CheckBox4->click();
            WithModal([&] { dialog.GotoSelectFolder->click(); }, ReadAndClose(QStringLiteral("folder dialog")));
            dialog.Button2->click();
        });
        WithModal([&] { Trigger("ViewHistgram1"); }, ReadAndClose(QStringLiteral("histogram")));
        WithModal([&] { Trigger("DoPARSetTimes1"); }, ReadAndClose(QStringLiteral("period of times")));
        WithModal([&] { Trigger("DoPARPeriod1"); }, ReadAndClose(QStringLiteral("period of dates")));
        WithModal([&] { Trigger("DoChangeLightLevel"); }, ReadAndClose(QStringLiteral("brightness")));
        WithModal([&] { Trigger("DoGapEstimate2D"); }, [&](QWidget& shown) {
            auto& dialog = dynamic_cast<TOKBottomDlg&>(shown);
            Read(dialog, QStringLiteral("gap estimate"));
            // Two photographs from one height.
            dialog.Edit1->setText(Photo);
            dialog.Edit2->setText(Photo);
            WithModal([&] { dialog.OKBtn->click(); }, ReadAndClose(QStringLiteral("no height difference")));
        });
        WithModal([&] { Trigger("SelectFilter"); }, ReadAndClose(QStringLiteral("filter")));
        WithModal([&] { Trigger("HelpAboutItem"); }, ReadAndClose(QStringLiteral("about")));
        WithModal([&] { Trigger("CircleAreaRadiusPixel1"); }, ReadAndClose(QStringLiteral("circle diameter")));

        Trigger("GetGCP");
        TAfinDlg* points = window->AfinDlg();
        ASSERT_NE(points, nullptr);
        Read(*points, QStringLiteral("control points"));
        WithModal([&] { points->Analyze->click(); }, ReadAndClose(QStringLiteral("fit refused")));

        WithModal([&] { Trigger("StartGetPoints1"); },
                  [](QWidget& colours) { static_cast<QDialog&>(colours).accept(); });
        ASSERT_NE(window->LookingTable(), nullptr);
        Read(*window->LookingTable(), QStringLiteral("sample table"));

        // The LAI report, its chart, and the histogram of an analysed area.
        window->SetCircleDiameter(50);
        WithModal([&] { Trigger("DoLAIEstimate1"); }, ReadAndClose(QStringLiteral("chart")));
        WithModal([&] { Trigger("ViewHistgram1"); }, ReadAndClose(QStringLiteral("analysed histogram")));

        // The target groups of a trained classifier.
        BinarizeTarget = 3;
        ClassifyDone = true;
        DiscLastGroup = 2;
        WithModal([&] { Trigger("DoLAIEstimate1"); }, ReadAndClose(QStringLiteral("target groups")));

        Read(Frame(), QStringLiteral("frame"));
    }

    QTemporaryDir Messages;
    QTemporaryDir Files;
    QString Photo;
    std::unique_ptr<TProgram> Program;
    QStringList Shown;
    int ReadWindows = 0;
};

TEST_P(InterfaceLanguageTest, EveryWindowSpeaksTheLanguageOfTheMessageFiles) {
    WalkTheProgram();
    EXPECT_GE(ReadWindows, 20);
    for (const QString& text : Shown) EXPECT_FALSE(text.contains(QLatin1String("ERROR"))) << text.toStdString();
    if (Locale() == QLatin1String("EN")) {
        for (const QString& text : Shown) EXPECT_FALSE(HasJapanese(text)) << text.toStdString();
        return;
    }
    // The Japanese interface shows the program's own texts.
    for (const char* text : {"about: ﾊﾞｰｼﾞｮﾝ情報", "options: オプション", "options: 補正１", "histogram: 輝度",
                             "threshold pick: ｷｬﾝｾﾙ", "gap estimate: Setting", "brightness: Setting",
                             "no height difference: 撮影高差を設定して下さい！", "fit refused: エラー：回帰不能！",
                             "circle diameter: 全天空範囲の直径"})
        EXPECT_TRUE(Shown.contains(QString::fromUtf8(text))) << text;
}

INSTANTIATE_TEST_SUITE_P(Locales, InterfaceLanguageTest, ::testing::Values("EN", "JP"));

}  // namespace
}  // namespace tam32
