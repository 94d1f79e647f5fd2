// A console reporter that also remembers each benchmark's real time per
// iteration, and a main() helper that runs the benchmarks and prints
// "name / baseline = ratio" lines for the pairs it is given.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace bench {

// Pairs of (measured benchmark name, baseline benchmark name).
int RunWithRatios(int argc, char** argv,
                  const std::vector<std::pair<std::string, std::string>>& ratios);

}  // namespace bench
