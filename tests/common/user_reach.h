#pragma once
// What a user can click: a push or tool button that shows, takes clicks and
// lies wholly inside its window's client area, by the on-screen geometry of
// the button and of every widget that holds it, and not in a tool bar's
// overflow. The window tests and "tam32-probe gui" click only such buttons,
// and click them as a user does: a press and a release on the button.
#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QList>
#include <QMouseEvent>
#include <QPushButton>
#include <QString>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>

#include "windows/CaptionAsShown.h"

namespace tam32::test {

// Why a user cannot click Button now ("hidden", "in the tool bar's
// overflow", "clipped", "disabled"), or an empty text when they can.
inline QString WhyUnreachable(const QWidget& Button) {
    if (!Button.isVisible()) {
        // A tool bar hides what does not fit and offers it behind its "»".
        if (auto* bar = qobject_cast<QToolBar*>(Button.parentWidget()); bar != nullptr && bar->isVisible())
            for (QAction* action : bar->actions())
                if (bar->widgetForAction(action) == &Button && action->isVisible()) return QStringLiteral("in the tool bar's overflow");
        return QStringLiteral("hidden");
    }
    const QRect onScreen(Button.mapToGlobal(QPoint(0, 0)), Button.size());
    for (const QWidget* holder = Button.parentWidget(); holder != nullptr; holder = holder->parentWidget()) {
        if (!QRect(holder->mapToGlobal(QPoint(0, 0)), holder->size()).contains(onScreen)) return QStringLiteral("clipped");
        if (holder->isWindow()) break;
    }
    if (!Button.isEnabled()) return QStringLiteral("disabled");
    return QString();
}

// A user turns to the tab page that holds Widget before reaching for it.
inline void TurnToPageOf(QWidget& Widget) {
    for (QWidget* page = &Widget; page->parentWidget() != nullptr; page = page->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(page->parentWidget()->parentWidget()); tabs != nullptr && tabs->indexOf(page) >= 0)
            tabs->setCurrentWidget(page);
}

// A user's press and release of the left button on the middle of Button.
inline void PressAndRelease(QWidget& Button) {
    const QPoint middle = Button.rect().center();
    const QPoint global = Button.mapToGlobal(middle);
    QMouseEvent press(QEvent::MouseButtonPress, middle, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&Button, &release);
}

// The push and tool buttons of Window itself (not of a dialog that it
// holds, shown or not) whose caption reads Text: the button's text, its
// action's, or the hint of a tool button that shows only a picture.
inline QList<QAbstractButton*> ButtonsCaptioned(const QWidget& Window, const QString& Text) {
    QList<QAbstractButton*> found;
    for (QAbstractButton* button : Window.findChildren<QAbstractButton*>()) {
        if (button->window() != &Window) continue;
        auto* tool = qobject_cast<QToolButton*>(button);
        if (tool == nullptr && qobject_cast<QPushButton*>(button) == nullptr) continue;
        const QAction* action = tool != nullptr ? tool->defaultAction() : nullptr;
        const bool pictureOnly = tool != nullptr && button->text().isEmpty();
        if (CaptionAsShown(button->text()) == Text || (action != nullptr && CaptionAsShown(action->text()) == Text) ||
            (pictureOnly && (action != nullptr ? action->toolTip() : button->toolTip()) == Text))
            found << button;
    }
    return found;
}

// The button captioned Text in Windows that a user can click, or why there
// is none: the reason of the one button of that caption, "missing" when
// there is none, "ambiguous" when more than one shows.
struct TButtonChoice {
    QAbstractButton* Button = nullptr;
    QString Refusal;
};

inline TButtonChoice ChooseButton(const QList<QWidget*>& Windows, const QString& Text) {
    QList<QAbstractButton*> captioned;
    for (const QWidget* window : Windows) captioned += ButtonsCaptioned(*window, Text);
    if (captioned.isEmpty()) return {nullptr, QStringLiteral("missing")};
    QList<QAbstractButton*> shown;
    for (QAbstractButton* button : captioned)
        if (button->isVisible()) shown << button;
    if (shown.size() > 1) return {nullptr, QStringLiteral("ambiguous")};
    QAbstractButton* button = shown.isEmpty() ? captioned.first() : shown.first();
    const QString refusal = WhyUnreachable(*button);
    return refusal.isEmpty() ? TButtonChoice{button, QString()} : TButtonChoice{nullptr, refusal};
}

}  // namespace tam32::test
