#pragma once
// A GUI application (text and the clipboard need one) for test programs
// without widgets. Tests that need it call RequireGuiApp() in their set-up.
#include <QGuiApplication>

#include "common/app_environment.h"

namespace tam32::test {

inline ::testing::Environment* const kGuiAppEnvironment = AddAppEnvironment<QGuiApplication>();

inline void RequireGuiApp() {
    ASSERT_NE(kGuiAppEnvironment, nullptr);
    ASSERT_NE(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr)
        << "another test made a non-GUI application object";
}

}  // namespace tam32::test
