#include "app/Program.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include "analysis/core/EngineHost.h"
#include "app/AppEngineHost.h"
#include "app/InformationWindow.h"
#include "app/MainForm.h"

namespace tam32 {

TProgram::TProgram() : FFrame(std::make_unique<TMainForm>()), FResults(new TInformationWindow) {
    FFrame->AddResultsWindow(FResults);
    FHost = std::make_unique<TAppEngineHost>(*FFrame->StatusPanel(2), *FResults, FFrame.get());
    SetEngineHost(FHost.get());
    QObject::connect(FFrame.get(), &TMainForm::Closed, qApp, &QCoreApplication::quit);
}

TProgram::~TProgram() {
    // Nothing the frame's windows do while they go may reach a host that has gone.
    SetEngineHost(nullptr);
    FFrame.reset();
}

void TProgram::Show() {
    // Without a window manager "maximised" does nothing, so the frame is
    // given the screen first.
    FFrame->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    FFrame->showMaximized();
    FFrame->PlaceResultsWindow();
}

}  // namespace tam32
