// A console reporter that also remembers each benchmark's real time per
// iteration, and a main() helper that runs the benchmarks and prints
// "name / baseline = ratio" lines for the pairs it is given, then one
// "RATIO <measured>_vs_<baseline> <value>" line each. A benchmark run with
// repetitions is taken at its median; the repetitions of all the
// benchmarks run interleaved in a shuffled order.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace bench {

// A measured benchmark, its baseline, and the name its RATIO line gives
// ("<measured>_vs_<baseline>" when empty).
struct TRatio {
  TRatio(std::string measured, std::string baseline, std::string name = {})
      : Measured(std::move(measured)), Baseline(std::move(baseline)), Name(std::move(name)) {}
  std::string Measured, Baseline, Name;
};

int RunWithRatios(int argc, char** argv, const std::vector<TRatio>& ratios);

}  // namespace bench
