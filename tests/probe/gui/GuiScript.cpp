#include "GuiScript.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QWindow>
#include <QComboBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <cmath>
#include <cstdio>

#include "../ProbePrinting.h"
#include "../ProbeRun.h"
#include "../ProbeSettings.h"
#include "PromptAnswerer.h"
#include "GcpCommands.h"
#include "SampleTableCommands.h"
#include "WindowCommands.h"
#include "analysis/core/GlobalSettings.h"
#include "app/MainForm.h"
#include "app/Program.h"
#include "app/TamApplication.h"
#include "common/user_reach.h"
#include "platform/Bitmap.h"
#include "platform/Clipboard.h"
#include "windows/ImageView.h"
#include "windows/LeafImageWindow.h"

namespace tam32::probe {
namespace {

constexpr int kDragSteps = 4;

std::optional<QPoint> ParsePoint(const QString& Text) {
    std::vector<int> values;
    if (!ParseInts(Text, 2, 2, values)) return std::nullopt;
    return QPoint(values[0], values[1]);
}

// The screen position on the window's picture that shows image pixel V,
// found through the window's own conversion.
int ScreenPosition(int V, int Num, int Den, const std::function<int(int)>& ToImage) {
    const int guess = int(std::floor(double(V) * Num / Den));
    for (int d : {0, 1, -1, 2, -2})
        if (ToImage(guess + d) == V) return guess + d;
    return guess;
}

}  // namespace

TGuiScript::TGuiScript(TProgram& Program, TPromptAnswerer& Answerer) : FProgram(Program), FAnswerer(Answerer) {}

TLeafImageWindow* TGuiScript::Window() const { return FProgram.Frame().ActiveImageWindow(); }

int TGuiScript::Run(const QStringList& Lines) {
    for (int i = 0; i < Lines.size(); ++i) {
        const QString line = Lines[i].trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#'))) continue;
        QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const QString command = words.takeFirst();
        bool understood = false;
        try {
            understood = Execute(command, words);
        } catch (const std::exception& e) {
            // As the program shows an error that reaches its event loop.
            understood = true;
            ShowException(e);
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        if (!understood) {
            std::fprintf(stderr, "tam32-probe gui: line %d not understood: %s\n", i + 1, qPrintable(line));
            return 3;
        }
        if (FStopped || FAnswerer.Stopped()) return 3;
        if (!FProgram.Frame().isVisible()) return 0;  // the program has ended
    }
    return 0;
}

bool TGuiScript::Execute(const QString& Command, const QStringList& Args) {
    TMainForm& frame = FProgram.Frame();
    const QString arg = Args.join(QLatin1Char(' '));
    if (Command == QLatin1String("open")) {
        if (Args.isEmpty()) return false;
        frame.CreateMDIChild(arg, false);
    } else if (Command == QLatin1String("window")) {
        bool ok = false;
        const int n = arg.toInt(&ok);
        const QList<TLeafImageWindow*> windows = frame.ImageWindows();
        if (!ok || n < 1 || n > windows.size()) return false;
        frame.MdiArea->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(windows[n - 1]->parentWidget()));
    } else if (Command == QLatin1String("windows")) {
        const QList<TLeafImageWindow*> windows = frame.ImageWindows();
        for (int i = 0; i < windows.size(); ++i)
            PrintLine(QStringLiteral("WINDOW %1: %2").arg(i + 1).arg(windows[i]->windowTitle()));
    } else if (Command == QLatin1String("menu")) {
        const QString name = arg.section(QLatin1Char(':'), 0, 0);
        if (name == QLatin1String("PARItems")) {
            bool ok = false;
            const int index = arg.section(QLatin1Char(':'), 1).toInt(&ok);
            if (!ok || index < 0 || index >= frame.PARItems->count()) return false;
            frame.PARItems->setCurrentIndex(index);
            return true;
        }
        QAction* action = frame.MenuItem(qPrintable(name));
        if (action == nullptr) action = frame.ToolButton(qPrintable(name));
        if (action == nullptr) return false;
        action->trigger();
    } else if (Command == QLatin1String("tool")) {
        const auto tool = WindowTools().find(arg);
        if (tool == WindowTools().end() || Window() == nullptr) return false;
        (Window()->*tool->second)();
    } else if (Command == QLatin1String("command")) {
        if (Args.isEmpty() || Window() == nullptr) return false;
        const auto command = WindowCommands().find(Args[0]);
        return command != WindowCommands().end() && command->second(*Window(), Args.mid(1));
    } else if (Command == QLatin1String("button")) {
        if (Args.isEmpty()) return false;
        PressButton(arg);
    } else if (Command == QLatin1String("answer")) {
        if (Args.isEmpty()) return false;
        FAnswerer.Queue(arg);
    } else if (Command == QLatin1String("circle")) {
        std::vector<int> v;
        if (Window() == nullptr || !ParseInts(arg, 3, 4, v)) return false;
        Window()->SetCircleArea(v[0], v[1], v[2], v.size() == 4 ? v[3] : 0);
    } else if (Command == QLatin1String("north")) {
        bool ok = false;
        const double angle = QLocale::c().toDouble(arg, &ok);
        if (Window() == nullptr || !ok) return false;
        Window()->FNorthAngle = angle;
        Window()->FNorthSet = true;
        NorthForAnalysis = angle;
    } else if (Command == QLatin1String("print")) {
        return Print(arg);
    } else if (Command == QLatin1String("save")) {
        if (Window() == nullptr || Args.isEmpty()) return false;
        Window()->Picture().SaveToFile(arg);
    } else if (Command == QLatin1String("clipboard")) {
        QString text = Clipboard().AsText();
        if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
        for (const QString& line : text.split(QLatin1Char('\n'))) {
            QString shown = line;
            if (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
            PrintLine(QStringLiteral("CLIP: ") + shown);
        }
    } else if (Command == QLatin1String("close")) {
        // The close request that the window manager sends to the frame's window.
        QCloseEvent request;
        QCoreApplication::sendEvent(frame.windowHandle(), &request);
    } else if (Command == QLatin1String("gcp")) {
        QAbstractButton* press = nullptr;
        if (Window() == nullptr || !GcpCommand(*Window(), Args, press)) return false;
        if (press != nullptr) PressWhereUserCan(*press);
    } else if (Command == QLatin1String("table")) {
        QAbstractButton* press = Window() != nullptr ? SampleTableButton(*Window(), Args) : nullptr;
        if (press == nullptr) return false;
        PressWhereUserCan(*press);
    } else if (Command == QLatin1String("zoom")) {
        if (Window() == nullptr) return false;
        if (arg == QLatin1String("in"))
            Window()->EnhanceView();
        else if (arg == QLatin1String("out"))
            Window()->ReduceView();
        else
            return false;
    } else {
        return Mouse(Command, Args);
    }
    return true;
}

void TGuiScript::PressButton(const QString& Caption) {
    // Where the user can click: only the modal dialog while one is open; else
    // the active window when it has such a button, or any shown window.
    QList<QWidget*> windows;
    if (QWidget* modal = QApplication::activeModalWidget()) {
        windows << modal;
    } else if (QWidget* active = QApplication::activeWindow();
               active != nullptr && active->isVisible() && !test::ButtonsCaptioned(*active, Caption).isEmpty()) {
        windows << active;
    } else {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible()) windows << window;
    }
    const test::TButtonChoice choice = test::ChooseButton(windows, Caption);
    if (choice.Button == nullptr) {
        ReportUnclickable(Caption, choice.Refusal,
                          windows.size() == 1 ? windows[0]->windowTitle() : QStringLiteral("the shown windows"));
        FStopped = true;
        return;
    }
    test::PressAndRelease(*choice.Button);
}

void TGuiScript::PressWhereUserCan(QAbstractButton& Button) {
    const QString refusal = test::WhyUnreachable(Button);
    if (refusal.isEmpty()) {
        test::PressAndRelease(Button);
        return;
    }
    ReportUnclickable(Button.text(), refusal, Button.window()->windowTitle());
    FStopped = true;
}

bool TGuiScript::Mouse(const QString& Command, const QStringList& Args) {
    if (Window() == nullptr || Args.isEmpty()) return false;
    const std::optional<QPoint> at = ParsePoint(Args[0]);
    if (!at) return false;
    const bool right = Args.size() > 1 && Args.last() == QLatin1String("right");
    const Qt::MouseButton button = right ? Qt::RightButton : Qt::LeftButton;
    if (Command == QLatin1String("press")) {
        SendMouse(QEvent::MouseButtonPress, *at, button);
    } else if (Command == QLatin1String("move")) {
        SendMouse(QEvent::MouseMove, *at, Qt::NoButton);
    } else if (Command == QLatin1String("release")) {
        SendMouse(QEvent::MouseButtonRelease, *at, button);
    } else if (Command == QLatin1String("click")) {
        SendMouse(QEvent::MouseButtonPress, *at, button);
        SendMouse(QEvent::MouseButtonRelease, *at, button);
    } else if (Command == QLatin1String("drag")) {
        const std::optional<QPoint> to = Args.size() > 1 ? ParsePoint(Args[1]) : std::nullopt;
        bool ok = true;
        const int steps = Args.size() > 2 && Args[2] != QLatin1String("right") ? Args[2].toInt(&ok) : kDragSteps;
        if (!to || !ok || steps < 1) return false;
        SendMouse(QEvent::MouseButtonPress, *at, button);
        for (int i = 1; i <= steps; ++i) {
            const double t = double(i) / steps;
            const QPoint step(int(std::lround(at->x() + (to->x() - at->x()) * t)),
                              int(std::lround(at->y() + (to->y() - at->y()) * t)));
            SendMouse(QEvent::MouseMove, step, Qt::NoButton);
        }
        SendMouse(QEvent::MouseButtonRelease, *to, button);
    } else {
        return false;
    }
    return true;
}

void TGuiScript::SendMouse(QEvent::Type Type, const QPoint& Image, Qt::MouseButton Button) {
    TLeafImageWindow* window = Window();
    const int num = window->FScaleNum, den = window->FScaleDen;
    const QPoint screen(ScreenPosition(Image.x(), num, den, [window](int V) { return window->ImageX(V); }),
                        ScreenPosition(Image.y(), num, den, [window](int V) { return window->ImageY(V); }));
    if (Type == QEvent::MouseButtonPress) FHeld |= Button;
    if (Type == QEvent::MouseButtonRelease) FHeld &= ~Button;
    QWidget* view = window->Image1;
    QMouseEvent event(Type, QPointF(screen), QPointF(view->mapToGlobal(screen)), Button, FHeld, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &event);
    if (Type != QEvent::MouseMove) PrintLine(QStringLiteral("PANEL1: ") + FProgram.Frame().StatusPanel(1)->text());
}

bool TGuiScript::Print(const QString& Name) {
    if (Window() != nullptr)
        if (const std::optional<QString> value = WindowField(*Window(), Name)) {
            PrintLine(Name + QStringLiteral(" = ") + *value);
            return true;
        }
    if (!ProbeVariables().contains(Name)) return false;
    PrintVariable(Name);
    return true;
}

}  // namespace tam32::probe
