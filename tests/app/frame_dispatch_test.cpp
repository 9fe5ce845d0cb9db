// The frame's command table as a whole: every menu item and tool button of
// a window command reaches that command of the active image window and
// does nothing without one; a menu item and its tool button share the
// command but not the enabled state.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <functional>

#include "analysis/core/GlobalSettings.h"
#include "analysis/core/Messages.h"
#include "app/frame_fixture.h"
#include "app/modal_answerer.h"
#include "windows/ImageTools.h"
#include "windows/LeafImageWindow.h"
#include "windows/OKBottomDlg.h"

namespace tam32::test {
namespace {

// A modal dialog as the tests name it: a file dialog by its name, the
// setting dialog by its layout, others by their class.
QString Identity(const QDialog& Dialog) {
    if (auto* setting = qobject_cast<const TOKBottomDlg*>(&Dialog))
        return QStringLiteral("setting %1%2").arg(setting->Mode).arg(setting->DateRange ? " dates" : "");
    if (qobject_cast<const QFileDialog*>(&Dialog)) return Dialog.objectName();
    return QString::fromLatin1(Dialog.metaObject()->className()).section(QLatin1String("::"), -1);
}

class FrameDispatchTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        Photo = WritePicture(QStringLiteral("photo.bmp"), 64, 48);
    }
    void TearDown() override {
        FrameTest::TearDown();
        ResetSettingsToDefaults();
    }
    TLeafImageWindow& Window() { return *Frame->ActiveImageWindow(); }
    void CloseWindows() {
        Frame->MdiArea->closeAllSubWindows();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString Error(const char* Code) { return StatusOf(ShowErrorMessage, Code); }
    QString Tool() {
        const TLeafImageWindow& w = Window();
        if (w.FPickMode) return QStringLiteral("pick %1").arg(w.FPickTool);
        if (w.FMeasureMode) return QStringLiteral("measure %1").arg(w.FMeasureTool);
        return w.FScaleByArea ? QStringLiteral("box for the scale") : w.FTagAreaMode ? QStringLiteral("box") : QString();
    }
    QString Dialogs() const { return Seen.join(QLatin1String(", ")); }
    QString Period() const { return QString::number(PARPeriod); }
    // Triggers Name (a menu item, enabled first, or a tool button).
    void Trigger(const char* Name) {
        QAction* action = Frame->MenuItem(Name);
        if (action != nullptr)
            action->setEnabled(true);  // enabled states are the windows' business
        else
            action = Frame->ToolButton(Name);
        ASSERT_NE(action, nullptr) << Name;
        Host.StatusTexts.clear();
        Host.ResultLines.clear();
        Seen.clear();
        action->trigger();
        QCoreApplication::processEvents();
    }

    QString Photo;
    // Each modal dialog is cancelled as soon as it shows.
    QStringList Seen;
    const TModalAnswerer Closer{[this](QDialog& Dialog) {
        Seen << Identity(Dialog);
        Dialog.reject();
    }};
};

struct TCommandRow {
    const char* Item;    // nullptr: reached only by its button
    const char* Button;  // nullptr: none
    // What shows that the command ran, and what it shows.
    std::function<QString()> Observe;
    QString Expected;
    // Before each trigger, with or without a window.
    std::function<void()> Prepare = [] {};
    // The command acts without a window too: it needs none or opens its own.
    bool WithoutWindow = false;
};

TEST_F(FrameDispatchTest, EveryCommandReachesTheActiveWindowAndNothingHappensWithoutOne) {
    const auto status = [this] { return Host.LastStatus(); };
    const auto tool = [this] { return Tool(); };
    const auto dialogs = [this] { return Dialogs(); };
    const auto period = [this] { return Period(); };
    const auto north = [this] {
        if (Frame->ActiveImageWindow() != nullptr) Window().FNorthSet = true;
    };
    // The picture's red varies, its blue does not.
    const auto red = [] { BinarizeTarget = 0; };
    const auto measure = [](int Tool) { return QStringLiteral("measure %1").arg(Tool); };
    const auto pick = [](int Tool) { return QStringLiteral("pick %1").arg(Tool); };
    const TCommandRow rows[] = {
        {"ImageViewEnhance1", "SpeedButton1", [this] { return QString::number(Window().FScaleNum); }, "2"},
        {"ImageViewReduce1", "SpeedButton4", [this] { return QString::number(Window().FScaleDen); }, "2"},
        {"DoChangeLightLevel", "SpeedButton24", dialogs, "setting 3"},
        {"ImageViewOriginal1", "SpeedButton7", [this] { return Window().FWorkFileName; }, Photo,
         [this] {
             if (Frame->ActiveImageWindow() != nullptr) Window().FWorkFileName = QStringLiteral("work.bmp");
         }},
        {"DoLabellAnalysis1", "SpeedButton9", status, StatusOf(ShowInstructionMessage, "MSG1"), red},
        {"ViewHistgram1", "SpeedButton8", dialogs, "THistgramWindow"},
        {"DoSepColorAnalysis1", "SpeedButton18", status, StatusOf(ShowInstructionMessage, "MSG2"), red},
        {"DoSearchColors1", "SpeedButton21", tool, pick(ptSearchColor)},
        {"DoLAIEstimate1", "SpeedButton10", status, Error("ERR10")},
        {"DoPARSetTimes1", nullptr, dialogs, "setting 0"},
        {"DoPARPeriod1", nullptr, dialogs, "setting 0 dates"},
        {"DoPARThisDay1", nullptr, period, "0", north},
        {"DoPARMonth1", nullptr, period, "1", north},
        {"DoPARMonthMean1", nullptr, period, "2", north},
        {"DoPARMonthYear1", nullptr, period, "3", north},
        {"DoPARMonthYearMean1", nullptr, period, "4", north},
        {nullptr, "SpeedButton16", period, "0", [this, north] {
             north();
             Frame->PARItems->setCurrentIndex(2);
         }},
        {"DistanceMeasurement1", nullptr, tool, measure(mtDistance)},
        {"DistanceMeasurement2", nullptr, tool, measure(mtPolyline)},
        {"AngleMeasurement1", nullptr, tool, measure(mtAngle)},
        {"AngleMeasurement2", nullptr, status, Error("ERR10")},
        {"BAMeasurement", nullptr, status, Error("ERR10")},
        {"CalcScaleByLine1", nullptr, tool, measure(mtScaleByLine)},
        {"CalcScaleByArea1", nullptr, tool, "box for the scale"},
        {"StartGetPoints1", nullptr, tool, pick(ptSamplePoint)},
        {"ViewClassifiedImage1", nullptr, status, Error("ERR3")},
        {"ProcOptionSetting1", "SpeedButton17", dialogs, "TTamOptionDialog"},
        {"SetTagArea1", "SpeedButton11", tool, "box",
         [this] {
             if (Frame->ActiveImageWindow() != nullptr) Window().StartDistanceMeasurement();
         }},
        {"LineProfile1", "SpeedButton12", tool, measure(mtLineProfile)},
        {"MouseDetectCircleArea1", "SpeedButton13", tool, measure(mtMouseDetectCircle)},
        {"CircleAreaRadiusPixel1", nullptr, [this] { return QString::number(Host.InputBoxes.size()); }, "1",
         [this] { Host.InputBoxes.clear(); }},
        {"AutoDetectCircleArea1", "SpeedButton25", [this] { return QString::number(Window().FCircleSet); }, "1"},
        {"CircleAreaBy3Points", "SpeedButton22", tool, pick(ptCircle3Points)},
        {"CircleAreaCenter1", "SpeedButton14", tool, pick(ptMoveCircle),
         [this] {
             if (Frame->ActiveImageWindow() != nullptr) Window().SetCircleArea(32, 24, 20, 0);
         }},
        {"SetNorthDirection1", "SpeedButton15", tool, measure(mtNorthDirection)},
        {"DrawDaySunTruck1", nullptr, period, "0", north},
        {"DrawMonthSunTruck1", nullptr, period, "1", north},
        {"DrawYearSunTruck1", nullptr, period, "3", north},
        {"CircleAreaScale1", "SpeedButton2", status, Error("ERR10")},
        {"DoTopoAnalysis1", nullptr, [this] { return QString::number(Host.StatusTexts.size() > 1); }, "1"},
        {"GetGCP", nullptr, tool, pick(ptGCP)},
        // The commands with steps of their own in the frame.
        {"MakeCLDFile0", nullptr, dialogs, "SaveDialog", [] { DistortParameter = 20; }},
        {"MakeCLDFile1", nullptr, dialogs, "SaveDialog", [] { DistortParameter = 20; }},
        {"ViewCLDImage0", nullptr, [] { return QString::number(CLDFullImage); }, "1",
         [] {
             DistortParameter = 20;
             CLDFullImage = false;
         }},
        {"ViewCLDImage1", nullptr, [] { return QString::number(CLDFullImage); }, "0",
         [] {
             DistortParameter = 20;
             CLDFullImage = true;
         }},
        {"SelectFilter", nullptr, dialogs, "TFilterDlg", [] {}, true},
        {"DoFiltering", nullptr, dialogs, "SaveDialog", [] { FilterDefined = true; }},
        {"AfineTrans", nullptr, status, Error("ERR29")},
        {"ViewCorrectedHemiImage", nullptr, dialogs, "SaveDialog", [] { SlopeCorrection = true; }},
        {"DoLAIEstimateAll", nullptr, dialogs, "OpenDialog"},
        {"DoLAIEstimateUseSettingFile", nullptr, dialogs, "TxtOpenDialog"},
        {"DoGapEstimate2D", "SpeedButton19", dialogs, "setting 1", [] {}, true},
        {"SaveDisc3Pars1", nullptr, status, Error("ERR3")},
        {"ReLoadDisc3Pars1", nullptr, dialogs, "OpenDialog"},
        {"AnalyzedImageSave", "SpeedButton20", dialogs, "SaveDialog"},
        {"FileOpenItem", "OpenBtn", dialogs, "OpenDialog", [] {}, true},
    };
    for (const TCommandRow& row : rows)
        for (const char* name : {row.Item, row.Button}) {
            if (name == nullptr) continue;
            SCOPED_TRACE(name);
            CloseWindows();
            row.Prepare();
            Trigger(name);
            if (row.WithoutWindow) {
                EXPECT_EQ(row.Observe().toStdString(), row.Expected.toStdString());
            } else {
                EXPECT_TRUE(Host.StatusTexts.empty());
                EXPECT_TRUE(Seen.isEmpty()) << Dialogs().toStdString();
                EXPECT_TRUE(Host.ResultLines.empty());
                EXPECT_TRUE(Frame->ImageWindows().isEmpty());
            }

            Frame->CreateMDIChild(Photo, false);
            row.Prepare();
            Trigger(name);
            EXPECT_EQ(row.Observe().toStdString(), row.Expected.toStdString());
            // A cancelled file dialog leaves everything as it was.
            if (Dialogs().endsWith(QLatin1String("Dialog"))) {
                EXPECT_EQ(Frame->ImageWindows().size(), 1);
                EXPECT_TRUE(Host.ResultLines.empty());
            }
        }
}

TEST_F(FrameDispatchTest, TheDistortionFileWantsItsParameterAlsoWithoutAWindow) {
    DistortParameter = 0;
    for (const char* item : {"MakeCLDFile0", "MakeCLDFile1"}) {
        SCOPED_TRACE(item);
        Trigger(item);
        EXPECT_EQ(Host.LastStatus(), Error("ERR4"));
        EXPECT_TRUE(Seen.isEmpty());
    }
}

TEST_F(FrameDispatchTest, AButtonRunsItsCommandWhileTheMenuItemIsDisabled) {
    Frame->CreateMDIChild(Photo, false);  // no circle yet: the LAI item is disabled
    ASSERT_FALSE(Frame->MenuItem("DoLAIEstimate1")->isEnabled());
    EXPECT_TRUE(Frame->ToolButton("SpeedButton10")->isEnabled());
    Host.StatusTexts.clear();
    Frame->ToolButton("SpeedButton10")->trigger();
    EXPECT_EQ(Host.LastStatus(), Error("ERR10"));
}

}  // namespace
}  // namespace tam32::test
