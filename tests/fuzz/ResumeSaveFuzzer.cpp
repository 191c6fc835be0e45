// libFuzzer target: a save file, whole, damaged or made up, is resumed or refused, never
// crashes, and a world resumed runs.
#include "MapInputs.h"
#include "SaveInputs.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startHeadlessAllegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    resumeSaveFromMemory(data, size);
    return 0;
}
