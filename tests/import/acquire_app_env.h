#pragma once
// One widget application for the whole import test program, on the
// offscreen platform unless another one is asked for: the source manager's
// dialogs are widgets, and the scanner client waits in the event loop.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

namespace tam32::test {

class WidgetAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance() != nullptr) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "tam32_import_tests";
        static char* argv[] = {name, nullptr};
        FApp = std::make_unique<QApplication>(argc, argv);
    }
    void TearDown() override { FApp.reset(); }

private:
    std::unique_ptr<QApplication> FApp;
};

inline ::testing::Environment* const kWidgetAppEnvironment =
    ::testing::AddGlobalTestEnvironment(new WidgetAppEnvironment);

inline void RequireWidgetApp() {
    ASSERT_NE(kWidgetAppEnvironment, nullptr);
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr)
        << "another test made an application object without widgets";
}

}  // namespace tam32::test
