#ifndef ORVALLE_BITMAP_INPUTS_H
#define ORVALLE_BITMAP_INPUTS_H

#include <cstddef>
#include <cstdint>
#include <string>

// The entry point shared by the BMP check's libFuzzer target and the corpus replay test.
struct BitmapVerdict {
    enum Outcome { refused, loaded, violation };
    Outcome outcome;
    // For a violation: what went wrong.
    std::string fault;
};

// Writes the bytes to a temporary file and runs BitmapFile's check on it. A file
// the check passes is loaded with Allegro; a run-length one is first decoded by the model of the
// library (LibraryRunLengthModel), which must neither write outside the bitmap nor read past the
// file, and the model's pixels must be those Allegro loads. Anything else is a violation.
BitmapVerdict checkBitmapFromMemory(const std::uint8_t* data, std::size_t size);

#endif
