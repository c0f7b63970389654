#pragma once

// main() for the window tests: offscreen unless the caller chose a platform
// (the build runs test binaries without a display), and the program's look.

#include <QApplication>
#include <QTest>

#include <cstdlib>

#include "app/gui/Application.h"

#define COFFERON_GUI_TEST_MAIN(TestClass)                                                                              \
    int main(int argc, char* argv[])                                                                                   \
    {                                                                                                                  \
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);                                                                   \
        cofferon::preferChineseLocale();                                                                               \
        QApplication application(argc, argv);                                                                          \
        cofferon::setUpApplication(application);                                                                       \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
