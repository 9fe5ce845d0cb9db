#pragma once
// The application object with the program's one error box: an exception that
// reaches the event loop is shown by its ExceptionText and the program
// carries on, as the original class library did.
#include <QApplication>
#include <exception>

#include "analysis/core/ExceptionText.h"

namespace tam32 {

class TTamApplication : public QApplication {
    Q_OBJECT
public:
    TTamApplication(int& Argc, char** Argv);
    bool notify(QObject* Receiver, QEvent* Event) override;
};

// Shows the error box. EAbort is silent; an error raised while a box is
// already up (the box itself changes the active form) goes to the log only,
// so one fault cannot loop on boxes.
void ShowException(const std::exception& E);

}  // namespace tam32
