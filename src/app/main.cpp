#include <QGuiApplication>
#include <QScreen>
#include <clocale>

#include "analysis/EngineHost.h"
#include "app/AppEngineHost.h"
#include "app/InformationWindow.h"
#include "app/MainForm.h"
#include "app/StartUp.h"
#include "app/TamApplication.h"

int main(int argc, char* argv[]) {
    tam32::TTamApplication app(argc, argv);
    // Numbers are always shown and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    tam32::InitializeUnits();
    QApplication::setApplicationName(QStringLiteral("TAM32"));
    QApplication::setFont(tam32::ApplicationFont());
    tam32::TMainForm frame;
    tam32::TInformationWindow results;
    tam32::TAppEngineHost host(*frame.StatusPanel(2), results, &frame);
    tam32::SetEngineHost(&host);
    // Without a window manager "maximised" does nothing, so the frame is
    // given the screen first; the results window keeps clear of the menu.
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    frame.setGeometry(screen);
    frame.showMaximized();
    results.move(screen.right() - results.width(), screen.bottom() - results.height() - 40);
    results.show();
    const int code = app.exec();
    tam32::SetEngineHost(nullptr);
    return code;
}
