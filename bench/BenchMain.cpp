// velmora_bench: Google Benchmark over generated recordings of the largest sizes.
#include <benchmark/benchmark.h>

#ifdef VELMORA_BENCH_QT
#include <QGuiApplication>
#endif

int main(int argc, char** argv) {
#ifdef VELMORA_BENCH_QT
  // Drawing needs fonts but no screen.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
