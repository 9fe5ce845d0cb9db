#pragma once
// One QGuiApplication for the whole test program (text and the clipboard need
// it), on the offscreen platform unless another one is asked for. Tests that
// need it call RequireGuiApp() in their set-up.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

namespace tam32::test {

class GuiAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tam32_platform_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QGuiApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QGuiApplication> FApp;
};

inline ::testing::Environment* const kGuiAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new GuiAppEnvironment);

inline void RequireGuiApp() {
    ASSERT_NE(kGuiAppEnvironment, nullptr);
    ASSERT_NE(qGuiApp, nullptr) << "another test made a non-GUI application object";
}

}  // namespace tam32::test
