#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

namespace bench {
namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
      if (run.run_type == Run::RT_Iteration && run.iterations > 0)
        times[run.run_name.str()] = run.GetAdjustedRealTime();
  }
  std::map<std::string, double> times;
};

}  // namespace

int RunWithRatios(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& ratios) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios (real time, same process):\n");
  for (const auto& [measured, baseline] : ratios) {
    auto m = reporter.times.find(measured), b = reporter.times.find(baseline);
    if (m == reporter.times.end() || b == reporter.times.end() || b->second <= 0) continue;
    std::printf("  %-28s / %-28s = %6.2f\n", measured.c_str(), baseline.c_str(),
                m->second / b->second);
  }
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
