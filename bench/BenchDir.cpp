#include "BenchDir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace {
void linkHere(const std::string& target, const std::string& name) {
    if (symlink(target.c_str(), name.c_str()) != 0) {
        std::perror(name.c_str());
        std::exit(2);
    }
}
} // namespace

const BenchDir& BenchDir::get() {
    static BenchDir instance;
    return instance;
}

BenchDir::BenchDir() {
    char pattern[] = "/tmp/orvalle-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr || chdir(pattern) != 0) {
        std::perror("orvalle-bench work directory");
        std::exit(2);
    }
    dir = pattern;
    linkHere(ORVALLE_DATA_DIR "/images", "images");
    linkHere(ORVALLE_DATA_DIR "/orvalle.map", "orvalle.map");
}

BenchDir::~BenchDir() {
    std::string command = "rm -rf '" + dir + "'";
    if (std::system(command.c_str()) != 0) {
        std::perror("rm");
    }
}

std::size_t BenchDir::write(const std::string& name, const std::string& content) const {
    std::ofstream(dir + "/" + name, std::ios::binary) << content;
    return content.size();
}
