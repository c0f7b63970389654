// The window benchmarks need a toolkit application; it runs offscreen unless
// the caller chose a platform.

#include <QApplication>

#include <benchmark/benchmark.h>
#include <cstdlib>

#include "app/gui/Application.h"

int main(int argc, char* argv[])
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    cofferon::setUpApplication(application);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
