#pragma once
// The note counts a benchmark runs at: 10k and 100k, or those of
// `--notes N[,N...]`.

#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

namespace orv::bench {

inline std::vector<size_t> ParseNoteCounts(int argc, char** argv) {
  std::vector<size_t> counts{10000, 100000};
  if (argc == 3 && std::string(argv[1]) == "--notes") {
    counts.clear();
    std::stringstream list(argv[2]);
    for (std::string sItem; std::getline(list, sItem, ',');) counts.push_back(std::stoul(sItem));
  }
  return counts;
}

}  // namespace orv::bench
