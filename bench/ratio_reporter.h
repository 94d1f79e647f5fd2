// A console reporter that also remembers each benchmark's real time per
// iteration, and a main() helper that runs the benchmarks and prints
// "name / baseline = ratio" lines for the pairs it is given, then one
// "RATIO <measured>_vs_<baseline> <value>" line each. A benchmark run with
// repetitions is taken at its median.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Pairs of (measured benchmark name, baseline benchmark name).
int RunWithRatios(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& ratios);

}  // namespace bench
