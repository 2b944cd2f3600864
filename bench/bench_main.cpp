// Painting and the list window go through Qt, which wants an application object; it runs on
// the offscreen platform unless another one is asked for.
#include <benchmark/benchmark.h>

#ifdef LAPWERK_BENCH_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
#ifdef LAPWERK_BENCH_QT
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
