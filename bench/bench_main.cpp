// Painting goes through QtGui, which wants a GUI application; it runs on the offscreen
// platform unless another one is asked for.
#include <benchmark/benchmark.h>

#ifdef LAPWERK_BENCH_PAINT
#include <QGuiApplication>
#endif

int main(int argc, char** argv) {
#ifdef LAPWERK_BENCH_PAINT
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
