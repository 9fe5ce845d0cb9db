// The real program on a real X server: the close request that a window
// manager sends (WM_DELETE_WINDOW) to the frame ends the whole program, the
// results window with it.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <memory>

#include "common/required_tool.h"

namespace tam32 {
namespace {

QByteArray FileText(const QString& Name) {
    QFile file(Name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct TDisplayCloser {
    void operator()(Display* D) const { XCloseDisplay(D); }
};
using TDisplay = std::unique_ptr<Display, TDisplayCloser>;

// The shown windows named Title, among the root's children and theirs. A
// window manager only asks shown windows to close; the toolkit also names an
// unmapped helper window after the program, which would drop the request.
std::vector<Window> ShownWindowsNamed(Display* D, Window Parent, const char* Title, int Depth = 0) {
    std::vector<Window> found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(D, Parent, &root, &parent, &children, &count) == 0) return found;
    for (unsigned i = 0; i < count; ++i) {
        char* name = nullptr;
        if (XFetchName(D, children[i], &name) != 0 && name != nullptr) {
            XWindowAttributes attributes{};
            if (qstrcmp(name, Title) == 0 && XGetWindowAttributes(D, children[i], &attributes) != 0 &&
                attributes.map_state == IsViewable)
                found.push_back(children[i]);
            XFree(name);
        }
        if (Depth < 2) {
            const std::vector<Window> deeper = ShownWindowsNamed(D, children[i], Title, Depth + 1);
            found.insert(found.end(), deeper.begin(), deeper.end());
        }
    }
    if (children != nullptr) XFree(children);
    return found;
}

void SendDeleteWindow(Display* D, Window W) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = W;
    event.xclient.message_type = XInternAtom(D, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = long(XInternAtom(D, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(D, W, False, NoEventMask, &event);
    XFlush(D);
}

TEST(WindowManagerCloseTest, TheFramesCloseRequestEndsTheProgramWithItsResultsWindow) {
    TAM32_REQUIRE_TOOL("Xvfb", "xvfb");
    // The server picks a free display and writes its number to a file of ours.
    QTemporaryDir temp;
    const QString numberFile = temp.filePath(QStringLiteral("display"));
    QProcess server;
    server.setStandardOutputFile(QProcess::nullDevice());
    server.setStandardErrorFile(QProcess::nullDevice());
    server.start(QStringLiteral("/bin/sh"), {"-c", "exec Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1280x1024x24 3>\"$0\"",
                                             numberFile});
    QElapsedTimer started;
    started.start();
    QByteArray number;
    while ((number = FileText(numberFile).trimmed()).isEmpty() && server.state() != QProcess::NotRunning &&
           started.elapsed() < 20000)
        QThread::msleep(50);
    ASSERT_FALSE(number.isEmpty()) << "Xvfb did not start";
    const QByteArray display = ":" + number;

    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(display));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("TMPDIR"), temp.path());
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), temp.path());
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TAM32_BIN_DIR "/tam32"));
    ASSERT_TRUE(program.waitForStarted(10000));

    {
        const TDisplay x(XOpenDisplay(display.constData()));
        ASSERT_NE(x, nullptr);
        std::vector<Window> frames;
        QElapsedTimer waited;
        waited.start();
        while ((frames = ShownWindowsNamed(x.get(), DefaultRootWindow(x.get()), "TAM32")).empty() &&
               waited.elapsed() < 20000)
            QThread::msleep(50);
        ASSERT_FALSE(frames.empty()) << "the frame did not show";
        QThread::msleep(300);  // the results window shows with it
        for (Window frame : frames) SendDeleteWindow(x.get(), frame);
    }

    QElapsedTimer waited;
    waited.start();
    ASSERT_TRUE(program.waitForFinished(5000)) << "the program kept running";
    EXPECT_LT(waited.elapsed(), 1000);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    server.terminate();
    server.waitForFinished(5000);
}

}  // namespace
}  // namespace tam32
