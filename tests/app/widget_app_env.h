#pragma once
// One QApplication for the whole test program, on the offscreen platform
// unless another one is asked for. Tests call RequireWidgetApp() first.
#include <gtest/gtest.h>

#include <QApplication>
#include <clocale>
#include <memory>

namespace tam32::test {

class WidgetAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tam32_app_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QApplication>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

inline ::testing::Environment* const kWidgetAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetAppEnvironment);

inline void RequireWidgetApp() {
    ASSERT_NE(kWidgetAppEnvironment, nullptr);
    ASSERT_NE(qApp, nullptr);
}

}  // namespace tam32::test
