#ifndef ORVALLE_BENCH_DIR_H
#define ORVALLE_BENCH_DIR_H

#include <cstddef>
#include <string>

// A fresh temporary folder for the maps that the benchmarks generate, removed at exit.
class BenchDir {
  public:
    // The one folder of the process, created on first use.
    static const BenchDir& get();

    // The path of a file in the folder.
    std::string file(const std::string& name) const { return dir + "/" + name; }
    // Writes a file into the folder and returns its size in bytes.
    std::size_t write(const std::string& name, const std::string& content) const;

  private:
    BenchDir();
    ~BenchDir();

    std::string dir;
};

#endif
