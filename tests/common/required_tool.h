#pragma once
// A program or file that a test runs or reads from the system. The install
// list (scripts/setup.sh) brings it, so a missing one is a fault of the
// machine's set-up: the test fails and names the Debian package to install.
#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>

// Path: an absolute file name, or a program searched on the PATH.
#define TAM32_REQUIRE_TOOL(Path, Package)                                                                         \
    do {                                                                                                          \
        const QString tam32Tool = QStringLiteral(Path);                                                           \
        if (tam32Tool.startsWith(u'/') ? !QFile::exists(tam32Tool)                                                \
                                       : QStandardPaths::findExecutable(tam32Tool).isEmpty())                     \
            GTEST_FAIL() << Path << " is missing: install the Debian package " << Package << " (scripts/setup.sh)"; \
    } while (false)
