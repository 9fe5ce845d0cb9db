#pragma once
// A widget application for test programs whose windows and dialogs are
// widgets. Tests call RequireWidgetApp() first.
#include <QApplication>

#include "common/app_environment.h"

namespace tam32::test {

inline ::testing::Environment* const kWidgetAppEnvironment = AddAppEnvironment<QApplication>();

inline void RequireWidgetApp() {
    ASSERT_NE(kWidgetAppEnvironment, nullptr);
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr)
        << "another test made an application object without widgets";
}

}  // namespace tam32::test
