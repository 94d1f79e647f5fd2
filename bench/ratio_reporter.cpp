#include "ratio_reporter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace bench {
namespace {

class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    // A benchmark repeated gives its median; one run once, that run.
    for (const Run& run : runs) {
      std::string name = run.run_name.str();
      size_t repeats = name.find("/repeats:");  // "X/repeats:5/real_time" is "X/real_time"
      if (repeats != std::string::npos) name.erase(repeats, name.find('/', repeats + 1) - repeats);
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median") {
        times[name] = run.GetAdjustedRealTime();
        medians.insert(name);
      } else if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !medians.count(name)) {
        times[name] = run.GetAdjustedRealTime();
      }
    }
  }
  std::map<std::string, double> times;
  std::set<std::string> medians;
};

}  // namespace

int RunWithRatios(int argc, char** argv, const std::vector<TRatio>& ratios) {
  // The repetitions of all benchmarks run in one shuffled order, so that a
  // measure and its baseline see the same moments of a machine whose speed
  // drifts; the command line may say otherwise.
  std::vector<char*> args(argv, argv + argc);
  static char interleave[] = "--benchmark_enable_random_interleaving=true";
  bool given = false;
  for (int i = 1; i < argc; ++i)
    given |= std::string_view(argv[i]).starts_with("--benchmark_enable_random_interleaving");
  if (!given) args.insert(args.begin() + std::min(argc, 1), interleave);
  argc = static_cast<int>(args.size());
  args.push_back(nullptr);
  argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nRatios (real time, same process):\n");
  for (const TRatio& r : ratios) {
    auto m = reporter.times.find(r.Measured), b = reporter.times.find(r.Baseline);
    if (m == reporter.times.end() || b == reporter.times.end() || b->second <= 0) continue;
    std::printf("  %-28s / %-28s = %6.2f\n", r.Measured.c_str(), r.Baseline.c_str(),
                m->second / b->second);
  }
  for (const TRatio& r : ratios) {
    auto m = reporter.times.find(r.Measured), b = reporter.times.find(r.Baseline);
    if (m == reporter.times.end() || b == reporter.times.end() || b->second <= 0) continue;
    std::string name = !r.Name.empty() ? r.Name
                                       : r.Measured.substr(0, r.Measured.find('/')) + "_vs_" +
                                             r.Baseline.substr(0, r.Baseline.find('/'));
    std::printf("RATIO %s %.3f\n", name.c_str(), m->second / b->second);
  }
  benchmark::Shutdown();
  return 0;
}

}  // namespace bench
