// libFuzzer target: BitmapFile's check must never pass a BMP file that Allegro's loader would
// decode outside its bitmap or past the end of the file, nor one of an absurd size. The oracle
// is a plain model of the library's decoder, itself held to the pixels Allegro really loads.
#include "BitmapInputs.h"
#include "MapInputs.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    startHeadlessAllegro();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const BitmapVerdict verdict = checkBitmapFromMemory(data, size);
    if (verdict.outcome == BitmapVerdict::violation) {
        std::fprintf(stderr, "BMP check violation: %s\n", verdict.fault.c_str());
        std::abort();
    }
    return 0;
}
