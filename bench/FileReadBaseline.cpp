#include "FileReadBaseline.h"

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <vector>

namespace velmora::bench {

void FileReadBaseline::Run(benchmark::State& bench, const std::string& path) {
  const size_t bytes = size_t(std::filesystem::file_size(path));
  std::vector<char> buffer(bytes);
  for (auto _ : bench) {
    const int fd = ::open(path.c_str(), O_RDONLY);
    const ssize_t n = ::read(fd, buffer.data(), bytes);
    ::close(fd);
    if (n != ssize_t(bytes)) bench.SkipWithError("short read");
    benchmark::DoNotOptimize(buffer.data());
    benchmark::ClobberMemory();
  }
  bench.SetBytesProcessed(int64_t(bench.iterations()) * int64_t(bytes));
}

}  // namespace velmora::bench
