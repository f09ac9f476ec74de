// The main of the benchmarks that need no window: the locale of the run first, then the benchmarks.
#include "benchlocale.h"

int main(int argc, char** argv) {
  skelvor::reportLocale();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
