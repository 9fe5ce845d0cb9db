#pragma once
// Answers the program's modal dialogs from a queue of scripted answers, as a
// user would: every modal dialog that shows is answered once the event loop
// runs it. A message box with only OK prints "BOX: text" and is closed; a
// chart viewer is closed (its lines are printed by the engine host); any
// other dialog takes the next answer and prints "PROMPT kind: text =>
// answer". A dialog without an answer, or with one that does not fit it, is
// cancelled and marks the script stopped; so is one that stays open after
// its OK (said on standard error with the box that refused it). "button
// TEXT" clicks the dialog's own button of that caption where a user can;
// while the dialog stays open after the click, the next answer is its.
#include <QObject>
#include <QString>
#include <deque>

class QDialog;

namespace tam32::probe {

class TPromptAnswerer : public QObject {
public:
    TPromptAnswerer();
    ~TPromptAnswerer() override;

    // yes, no, ok, cancel, text:VALUE, colour:$00BBGGRR, file:PATH or
    // button TEXT.
    void Queue(const QString& Answer) { FAnswers.push_back(Answer); }
    bool Stopped() const { return FStopped; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Answer(QDialog* Dialog);
    // True when Answer fits the dialog and was applied.
    bool Apply(QDialog* Dialog, const QString& Kind, const QString& Answer);
    // False, said on standard error, when no button of that caption can be clicked.
    bool Click(QDialog* Dialog, const QString& Caption);
    QString TakeAnswer();

    std::deque<QString> FAnswers;
    bool FStopped = false;
    // The text of the last message box, which may say why a dialog refused.
    QString FLastBox;
};

// The line on standard error for a button that a user cannot click in Window.
void ReportUnclickable(const QString& Caption, const QString& Refusal, const QString& Window);

}  // namespace tam32::probe
