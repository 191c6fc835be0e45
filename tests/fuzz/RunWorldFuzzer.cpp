// libFuzzer target: a small map the reader accepts must give a world that runs for a few hundred
// passes without a crash, whatever codes and sizes it holds.
#include "MapInputs.h"

#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The world reads images and music from the working directory: an empty one keeps every run
    // on the fallback images and silent.
    enterEmptyDirectory();
    startHeadlessAllegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    runWorldFromMemory(data, size);
    return 0;
}
