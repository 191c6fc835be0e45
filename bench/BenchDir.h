#ifndef ORVALLE_BENCH_DIR_H
#define ORVALLE_BENCH_DIR_H

#include <string>

// The working directory of the benchmarks: a fresh temporary directory holding links to the
// shipped map and images but not the music, which cannot play without a timer driver.
// It is the working directory for the whole run and is removed at exit.
class BenchDir {
  public:
    // The one directory of the process, created and entered on first use.
    static const BenchDir& get();

    const std::string& path() const { return dir; }
    // Writes a file into the directory and returns its size in bytes.
    std::size_t write(const std::string& name, const std::string& content) const;

  private:
    BenchDir();
    ~BenchDir();

    std::string dir;
};

#endif
