#ifndef ORVALLE_LIBRARY_RUN_LENGTH_MODEL_H
#define ORVALLE_LIBRARY_RUN_LENGTH_MODEL_H

#include <cstddef>
#include <cstdint>
#include <vector>

// What Allegro 4.4's load_bmp does with a run-length (RLE8 or RLE4) BMP file, copied loop for
// loop and read for read, as an oracle for the file check. It is kept plain on purpose and shares
// nothing with the check: instead of writing into memory it notes every write that would land
// outside the bitmap and every byte read past the end of the file (where the library reads EOF).
struct LibraryRunLengthModel {
    int width = 0;
    int height = 0;
    // The bitmap's 8-bit pixels, row by row from the top, as far as the decoding got.
    std::vector<std::uint8_t> pixels;
    bool wroteOutside = false;
    bool readPastEnd = false;
    // The bitmap would be bigger than any image the check should let through.
    bool absurdSize = false;

    // Decodes the file; the file's compression must be RLE8 (1) or RLE4 (2).
    static LibraryRunLengthModel decode(const std::uint8_t* data, std::size_t size);

    bool overruns() const { return wroteOutside || readPastEnd || absurdSize; }
};

#endif
