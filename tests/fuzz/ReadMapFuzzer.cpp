// libFuzzer target: any bytes given to the map reader must be accepted or refused, never crash,
// hang or grow memory out of proportion.
#include "MapInputs.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    readMapFromMemory(data, size);
    return 0;
}
