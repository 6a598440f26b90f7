#pragma once
// The main function of the benchmarks that drive widgets: an application on the offscreen platform
// (unless another is asked for), the benchmarks run, and `release` called before the application
// goes, so that the windows it made go first.

#include <QApplication>
#include <benchmark/benchmark.h>

namespace bench {

template <typename Release>
int RunWidgetBenchmarks(int argc, char** argv, Release release)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    release();
    return 0;
}

} // namespace bench
