#pragma once

#include <benchmark/benchmark.h>

#include <string>

namespace velmora::bench {

// What the readers are measured against: one open and one read() of the whole file into a
// buffer made beforehand.
class FileReadBaseline {
 public:
  static void Run(benchmark::State& bench, const std::string& path);
};

}  // namespace velmora::bench
