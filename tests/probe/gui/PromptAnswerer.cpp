#include "PromptAnswerer.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

#include <cstdio>

#include "../ProbePrinting.h"
#include "app/LineProfViewer.h"
#include "common/user_reach.h"

namespace tam32::probe {
namespace {

const QString kButtonAnswer = QStringLiteral("button ");

bool IsQuestion(const QMessageBox& Box) {
    return (Box.standardButtons() & (QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) != 0;
}

QString Kind(QDialog* Dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(Dialog)) return IsQuestion(*box) ? QStringLiteral("confirm") : QStringLiteral("box");
    if (qobject_cast<QInputDialog*>(Dialog)) return QStringLiteral("input");
    if (qobject_cast<QColorDialog*>(Dialog)) return QStringLiteral("colour");
    if (qobject_cast<QFileDialog*>(Dialog)) return QStringLiteral("file");
    return QStringLiteral("dialog");
}

QString PromptText(QDialog* Dialog) {
    if (auto* box = qobject_cast<QMessageBox*>(Dialog)) return box->text();
    if (auto* input = qobject_cast<QInputDialog*>(Dialog)) return input->labelText();
    if (!Dialog->windowTitle().isEmpty()) return Dialog->windowTitle();
    return Dialog->objectName().isEmpty() ? QString::fromLatin1(Dialog->metaObject()->className())
                                          : Dialog->objectName();
}

// The dialog's own OK or Cancel button, pressed as a user would, so that
// the dialog's handlers run; else the dialog is accepted or rejected. The
// buttons of a dialog that it holds, shown or not, are not its own.
void Press(QDialog* Dialog, bool Ok) {
    for (auto* box : Dialog->findChildren<QDialogButtonBox*>()) {
        if (box->window() != Dialog) continue;
        for (QAbstractButton* button : box->buttons()) {
            const QDialogButtonBox::ButtonRole role = box->buttonRole(button);
            if (Ok ? role == QDialogButtonBox::AcceptRole || role == QDialogButtonBox::YesRole
                   : role == QDialogButtonBox::RejectRole || role == QDialogButtonBox::NoRole) {
                button->click();
                return;
            }
        }
    }
    for (QPushButton* button : Dialog->findChildren<QPushButton*>()) {
        if (button->window() != Dialog) continue;
        const QString name = button->objectName().toLower() + QLatin1Char(' ') + button->text().toLower();
        if (Ok ? button->isDefault() || name.startsWith(QLatin1String("ok")) : name.contains(QLatin1String("cancel"))) {
            button->click();
            return;
        }
    }
    if (Ok)
        Dialog->accept();
    else
        Dialog->reject();
}

bool PressBoxButton(QMessageBox* Box, bool Yes) {
    const QMessageBox::StandardButtons wanted =
        Yes ? QMessageBox::Yes | QMessageBox::Ok : QMessageBox::No | QMessageBox::Cancel;
    for (QAbstractButton* button : Box->buttons())
        if (wanted.testFlag(Box->standardButton(button))) {
            button->click();
            return true;
        }
    return false;
}

}  // namespace

TPromptAnswerer::TPromptAnswerer() { qApp->installEventFilter(this); }

TPromptAnswerer::~TPromptAnswerer() { qApp->removeEventFilter(this); }

bool TPromptAnswerer::eventFilter(QObject* Watched, QEvent* Event) {
    if (Event->type() == QEvent::Show)
        if (auto* dialog = qobject_cast<QDialog*>(Watched); dialog != nullptr && dialog->isModal()) {
            // Answered from the dialog's own event loop, once it runs.
            QPointer<QDialog> guarded(dialog);
            QTimer::singleShot(0, this, [this, guarded] {
                if (guarded != nullptr && guarded->isVisible()) Answer(guarded);
            });
        }
    return QObject::eventFilter(Watched, Event);
}

QString TPromptAnswerer::TakeAnswer() {
    if (FAnswers.empty()) return {};
    QString answer = FAnswers.front();
    FAnswers.pop_front();
    return answer;
}

void TPromptAnswerer::Answer(QDialog* Dialog) {
    if (qobject_cast<TLineProfViewer*>(Dialog) != nullptr) {
        Dialog->reject();
        return;
    }
    const QString kind = Kind(Dialog);
    const QString text = PromptText(Dialog);
    if (kind == QLatin1String("box")) {
        FLastBox = text;
        PrintLine(QStringLiteral("BOX: ") + text);
        Press(Dialog, true);
        return;
    }
    const QString answer = TakeAnswer();
    PrintLine(QStringLiteral("PROMPT %1: %2 => %3").arg(kind, text, answer.isEmpty() ? QStringLiteral("none") : answer));
    if (answer.isEmpty() || !Apply(Dialog, kind, answer)) {
        FStopped = true;
        if (auto* box = qobject_cast<QMessageBox*>(Dialog); box == nullptr || !PressBoxButton(box, false))
            Dialog->reject();
    }
}

bool TPromptAnswerer::Apply(QDialog* Dialog, const QString& Kind, const QString& Answer) {
    const bool yes = Answer == QLatin1String("yes") || Answer == QLatin1String("ok");
    const bool no = Answer == QLatin1String("no") || Answer == QLatin1String("cancel");
    // The text after the answer's kind, colons and all.
    const QString value = Answer.mid(Answer.indexOf(QLatin1Char(':')) + 1);
    if (auto* box = qobject_cast<QMessageBox*>(Dialog)) return (yes || no) && PressBoxButton(box, yes);
    if (Answer.startsWith(kButtonAnswer)) return Click(Dialog, Answer.mid(kButtonAnswer.size()));
    if (no) {
        Press(Dialog, false);
        return true;
    }
    if (auto* input = qobject_cast<QInputDialog*>(Dialog)) {
        if (Answer.startsWith(QLatin1String("text:")))
            input->setTextValue(value);
        else if (!yes)
            return false;
    } else if (auto* colours = qobject_cast<QColorDialog*>(Dialog)) {
        if (Answer.startsWith(QLatin1String("colour:"))) {
            bool ok = false;
            const uint bgr = value.startsWith(QLatin1Char('$')) ? value.mid(1).toUInt(&ok, 16) : 0;
            if (!ok) return false;
            colours->setCurrentColor(QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF));
        } else if (!yes) {
            return false;
        }
    } else if (auto* files = qobject_cast<QFileDialog*>(Dialog)) {
        if (Answer.startsWith(QLatin1String("file:"))) {
            // The name field keeps what it holds while it has the focus.
            if (QWidget* focused = files->focusWidget()) focused->clearFocus();
            files->selectFile(value);
        } else if (!yes) {
            return false;
        }
    } else if (!yes) {
        return false;
    }
    const QPointer<QDialog> guarded(Dialog);
    FLastBox.clear();
    Press(Dialog, true);
    if (guarded == nullptr || !guarded->isVisible()) return true;
    // A dialog that refuses its OK stays open: the script cannot go on.
    std::fprintf(stderr, "tam32-probe gui: \"%s\" refused %s and stayed open: %s\n", qPrintable(PromptText(Dialog)),
                 qPrintable(Answer), qPrintable(FLastBox.isEmpty() ? QStringLiteral("no reason shown") : FLastBox));
    return false;
}

bool TPromptAnswerer::Click(QDialog* Dialog, const QString& Caption) {
    const test::TButtonChoice choice = test::ChooseButton({Dialog}, Caption);
    if (choice.Button == nullptr) {
        ReportUnclickable(Caption, choice.Refusal, PromptText(Dialog));
        return false;
    }
    const QPointer<QDialog> guarded(Dialog);
    test::PressAndRelease(*choice.Button);
    // Still open: the next answer is its.
    if (guarded != nullptr && guarded->isVisible()) Answer(guarded);
    return true;
}

void ReportUnclickable(const QString& Caption, const QString& Refusal, const QString& Window) {
    std::fprintf(stderr, "tam32-probe gui: button \"%s\" in \"%s\": %s\n", qPrintable(Caption), qPrintable(Window),
                 qPrintable(Refusal));
}

}  // namespace tam32::probe
