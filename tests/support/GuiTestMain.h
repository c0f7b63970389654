#pragma once

// main() for the window tests: offscreen unless the caller chose a platform
// (the build runs test binaries without a display), the program's look, and
// the user's settings in a folder of the test's own, never the real ones.

#include <QApplication>
#include <QSettings>
#include <QTest>

#include <cstdlib>

#include "app/gui/Application.h"
#include "support/TempDir.h"

#define COFFERON_GUI_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);                                                                   \
        cofferon::preferChineseLocale();                                                                               \
        QApplication application(argc, argv);                                                                          \
        cofferon::setUpApplication(application);                                                                       \
        const cofferon::test::TempDir settingsFolder;                                                                  \
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,                                              \
                           QString::fromStdString(settingsFolder.path().string()));                                    \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
