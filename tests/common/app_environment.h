#pragma once
// One application object of type App for the whole test program, on the
// offscreen platform unless another one is asked for; numbers in the "C"
// form as in the program.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <clocale>
#include <memory>

namespace tam32::test {

template <class App>
class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tam32_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<App>(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<App> FApp;
};

template <class App>
::testing::Environment* AddAppEnvironment() {
    return ::testing::AddGlobalTestEnvironment(new AppEnvironment<App>);
}

}  // namespace tam32::test
