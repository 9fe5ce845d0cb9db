#pragma once
// One script of "tam32-probe gui": commands, one a line, run against the real
// program as a user would give them, each to its end before the next.
#include <QMouseEvent>
#include <QString>
#include <QStringList>

class QAbstractButton;

namespace tam32 {
class TLeafImageWindow;
class TProgram;
}

namespace tam32::probe {

class TPromptAnswerer;

class TGuiScript {
public:
    TGuiScript(TProgram& Program, TPromptAnswerer& Answerer);

    // The exit status: 0 at the end of the script or when the program ended
    // (its frame closed); 3 at a prompt without a fitting answer, a button
    // that a user cannot click or a line that is not understood (said on
    // standard error), where the script stops.
    int Run(const QStringList& Lines);

private:
    // False when the line is not understood.
    bool Execute(const QString& Command, const QStringList& Args);
    bool Mouse(const QString& Command, const QStringList& Args);
    bool Print(const QString& Name);
    // Clicks the button captioned Caption in the active dialog or window, or
    // says on standard error why a user cannot and stops the script.
    void PressButton(const QString& Caption);
    // Clicks Button where a user can, or says why not and stops the script.
    void PressWhereUserCan(QAbstractButton& Button);
    void SendMouse(QEvent::Type Type, const QPoint& Image, Qt::MouseButton Button);
    TLeafImageWindow* Window() const;

    TProgram& FProgram;
    TPromptAnswerer& FAnswerer;
    Qt::MouseButtons FHeld;
    bool FStopped = false;
};

}  // namespace tam32::probe
