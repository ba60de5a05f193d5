// bench_probe LIST [ROUNDS]: files per second over the files named in LIST (one
// path a line) of "ours", GetDimension on each file, and of "floor", which only
// opens, reads 44 bytes and closes each file.
// The list is timed in chunks of 100 files, the two contenders alternating chunk
// by chunk (in swapped order every other round); a chunk's time is its fastest of ROUNDS rounds, so that another
// process taking the CPU now and then (two cores, shared) does not count. "best"
// is the files per second from those chunk times; "median" is that of the median
// chunk times, for comparison.
#include <fcntl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "base/error.h"
#include "imaging/MainGetDimension.h"

namespace {

using Files = std::vector<std::string>::const_iterator;

double Now() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + t.tv_nsec * 1e-9;
}

// One pass over a chunk; returns a checksum so that no work can be left out.
std::uint64_t Ours(Files begin, Files end, int& errors) {
  std::uint64_t sum = 0;
  for (Files f = begin; f != end; ++f) {
    std::uint32_t w = 0, h = 0;
    try {
      ear::GetDimension(*f, w, h);
      sum += w + h;
    } catch (const ear::Error&) {
      ++errors;
    }
  }
  return sum;
}

std::uint64_t Floor(Files begin, Files end, int& errors) {
  std::uint64_t sum = 0;
  unsigned char buffer[44];
  for (Files f = begin; f != end; ++f) {
    const int fd = ::open(f->c_str(), O_RDONLY);
    if (fd < 0) {
      ++errors;
      continue;
    }
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got > 0) sum += buffer[got - 1];
    ::close(fd);
  }
  return sum;
}

struct Contender {
  const char* name;
  std::uint64_t (*pass)(Files, Files, int&);
  std::vector<std::vector<double>> times;  // [chunk][round]
  std::uint64_t checksum = 0;
  int errors = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fputs("usage: bench_probe LIST [ROUNDS]\n", stderr);
    return 2;
  }
  std::vector<std::string> files;
  std::ifstream list(argv[1]);
  for (std::string line; std::getline(list, line);)
    if (!line.empty()) files.push_back(line);
  const int rounds = argc > 2 ? std::atoi(argv[2]) : 9;
  constexpr std::size_t kChunk = 100;
  const std::size_t chunks = (files.size() + kChunk - 1) / kChunk;
  Contender contenders[] = {{"ours", Ours, {}}, {"floor", Floor, {}}};
  for (Contender& c : contenders) c.times.resize(chunks);
  for (int r = 0; r < rounds; ++r) {
    for (Contender& c : contenders) c.errors = 0;
    for (std::size_t k = 0; k < chunks; ++k) {
      const Files begin = files.begin() + k * kChunk;
      const Files end = files.begin() + std::min(files.size(), (k + 1) * kChunk);
      // Whoever runs second finds the chunk's names hot: the order swaps each round.
      for (int i = 0; i < 2; ++i) {
        Contender& c = contenders[(i + r) % 2];
        const double start = Now();
        c.checksum += c.pass(begin, end, c.errors);
        c.times[k].push_back(Now() - start);
      }
    }
  }
  for (Contender& c : contenders) {
    double best = 0, median = 0;
    for (auto& t : c.times) {
      std::sort(t.begin(), t.end());
      best += t.front();
      median += t[t.size() / 2];
    }
    std::printf("%s\t%zu files\tbest %.0f files/s\tmedian %.0f files/s\t%d errors\tchecksum %llu\n", c.name,
                files.size(), files.size() / best, files.size() / median, c.errors,
                static_cast<unsigned long long>(c.checksum));
  }
  return 0;
}
