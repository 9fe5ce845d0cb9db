#pragma once
// Window tests press a button only where a user could: a button that does
// not show, does not take clicks or lies outside its window fails the test
// and is not pressed.
#include <gtest/gtest.h>

#include "common/user_reach.h"

namespace tam32::test {

inline void UserClick(QAbstractButton* Button) {
    ASSERT_NE(Button, nullptr);
    const QString refusal = WhyUnreachable(*Button);
    if (!refusal.isEmpty()) {
        ADD_FAILURE() << "a user cannot click " << Button->objectName().toStdString() << " \""
                      << Button->text().toStdString() << "\": " << refusal.toStdString();
        return;
    }
    PressAndRelease(*Button);
}

}  // namespace tam32::test
