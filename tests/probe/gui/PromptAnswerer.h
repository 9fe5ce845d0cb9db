#pragma once
// Answers the program's modal dialogs from a queue of scripted answers, as a
// user would: every modal dialog that shows is answered once the event loop
// runs it. A message box with only OK prints "BOX: text" and is closed; a
// chart viewer is closed (its lines are printed by the engine host); any
// other dialog takes the next answer and prints "PROMPT kind: text =>
// answer". A dialog without an answer, or with one that does not fit it, is
// cancelled and marks the script stopped.
#include <QObject>
#include <QString>
#include <deque>

class QDialog;

namespace tam32::probe {

class TPromptAnswerer : public QObject {
public:
    TPromptAnswerer();
    ~TPromptAnswerer() override;

    // yes, no, ok, cancel, text:VALUE, colour:$00BBGGRR or file:PATH.
    void Queue(const QString& Answer) { FAnswers.push_back(Answer); }
    bool Stopped() const { return FStopped; }

protected:
    bool eventFilter(QObject* Watched, QEvent* Event) override;

private:
    void Answer(QDialog* Dialog);
    // True when Answer fits the dialog and was applied.
    bool Apply(QDialog* Dialog, const QString& Kind, const QString& Answer);
    QString TakeAnswer();

    std::deque<QString> FAnswers;
    bool FStopped = false;
};

}  // namespace tam32::probe
