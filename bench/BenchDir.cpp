#include "BenchDir.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

const BenchDir& BenchDir::get() {
    static BenchDir instance;
    return instance;
}

BenchDir::BenchDir() {
    char pattern[] = "/tmp/orvalle-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        std::perror("orvalle-bench work folder");
        std::exit(2);
    }
    dir = pattern;
}

BenchDir::~BenchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::size_t BenchDir::write(const std::string& name, const std::string& content) const {
    std::ofstream(file(name), std::ios::binary) << content;
    return content.size();
}
