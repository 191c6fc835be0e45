#include "BitmapInputs.h"

#include "BitmapFile.h"
#include "LibraryRunLengthModel.h"
#include "MapInputs.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>

namespace {
const char* const fuzzedBitmapFile = "fuzzed.bmp";

// A Windows header (40 bytes) with the compression RLE8 (1) or RLE4 (2).
bool isRunLength(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t windowsHeader[] = {40, 0, 0, 0};
    return size >= 34 && std::equal(windowsHeader, windowsHeader + 4, data + 14) && data[31] == 0 &&
           data[32] == 0 && data[33] == 0 && (data[30] == 1 || data[30] == 2);
}

// The file as Allegro loads it, at its own depth: 8 bits a pixel for a run-length file.
BITMAP* loadUnconverted() {
    const int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    PALETTE palette;
    BITMAP* bitmap = load_bmp(fuzzedBitmapFile, palette);
    set_color_conversion(conversion);
    return bitmap;
}

std::string differences(const LibraryRunLengthModel& model, BITMAP* bitmap) {
    if (bitmap == nullptr) {
        return "Allegro did not load a file the check passed";
    }
    if (bitmap_color_depth(bitmap) != 8 || bitmap->w != model.width || bitmap->h != model.height) {
        return "Allegro loaded another size or depth than the model";
    }
    for (int y = 0; y < bitmap->h; ++y) {
        for (int x = 0; x < bitmap->w; ++x) {
            if (bitmap->line[y][x] != model.pixels[static_cast<std::size_t>(y) * model.width + x]) {
                return "Allegro's pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                       ") differs from the model's";
            }
        }
    }
    return std::string();
}

std::string runLengthFault(const std::uint8_t* data, std::size_t size) {
    const LibraryRunLengthModel model = LibraryRunLengthModel::decode(data, size);
    if (model.overruns()) {
        return model.absurdSize     ? "the check passed an absurd size"
               : model.wroteOutside ? "the check passed a file decoded outside the bitmap"
                                    : "the check passed a file decoded past its end";
    }
    BITMAP* bitmap = loadUnconverted();
    std::string fault = differences(model, bitmap);
    if (bitmap != nullptr) {
        destroy_bitmap(bitmap);
    }
    return fault;
}
} // namespace

BitmapVerdict checkBitmapFromMemory(const std::uint8_t* data, std::size_t size) {
    if (!writeInputFile(fuzzedBitmapFile, data, size)) {
        return {BitmapVerdict::violation, "cannot write " + std::string(fuzzedBitmapFile)};
    }
    BitmapVerdict verdict{BitmapVerdict::refused, std::string()};
    if (BitmapFile::isSafeToLoad(fuzzedBitmapFile)) {
        if (isRunLength(data, size)) {
            verdict.fault = runLengthFault(data, size);
        } else if (BITMAP* bitmap = loadUnconverted()) {
            destroy_bitmap(bitmap);
        }
        verdict.outcome = verdict.fault.empty() ? BitmapVerdict::loaded : BitmapVerdict::violation;
    }
    std::remove(fuzzedBitmapFile);
    return verdict;
}
