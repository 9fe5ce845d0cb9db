#pragma once
// Answers every modal dialog of a test as soon as it shows, for as long as
// the answerer lives: Answer gets the dialog and must close it.
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <utility>

namespace tam32::test {

class TModalAnswerer {
public:
    explicit TModalAnswerer(std::function<void(QDialog& Dialog)> Answer) : FAnswer(std::move(Answer)) {
        FTimer.setInterval(1);
        QObject::connect(&FTimer, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) FAnswer(*dialog);
        });
        FTimer.start();
    }

private:
    std::function<void(QDialog&)> FAnswer;
    QTimer FTimer;
};

}  // namespace tam32::test
