#include "BitmapInputs.h"

#include "LibraryRunLengthModel.h"
#include "MapInputs.h"
#include "images/BitmapFile.h"

#include <allegro.h>

#include <algorithm>
#include <cstdio>

namespace {
// A Windows header (40 bytes) with the compression RLE8 (1) or RLE4 (2).
bool isRunLength(const std::uint8_t* data, std::size_t size) {
    const std::uint8_t windowsHeader[] = {40, 0, 0, 0};
    return size >= 34 && std::equal(windowsHeader, windowsHeader + 4, data + 14) && data[31] == 0 &&
           data[32] == 0 && data[33] == 0 && (data[30] == 1 || data[30] == 2);
}

// The file as Allegro loads it, at its own depth: 8 bits a pixel for a run-length file.
BITMAP* loadUnconverted(const std::string& path) {
    const int conversion = get_color_conversion();
    set_color_conversion(COLORCONV_NONE);
    PALETTE palette;
    BITMAP* bitmap = load_bmp(path.c_str(), palette);
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

std::string runLengthFault(const std::uint8_t* data, std::size_t size, const std::string& path) {
    const LibraryRunLengthModel model = LibraryRunLengthModel::decode(data, size);
    if (model.overruns()) {
        return model.absurdSize     ? "the check passed an absurd size"
               : model.wroteOutside ? "the check passed a file decoded outside the bitmap"
                                    : "the check passed a file decoded past its end";
    }
    BITMAP* bitmap = loadUnconverted(path);
    std::string fault = differences(model, bitmap);
    if (bitmap != nullptr) {
        destroy_bitmap(bitmap);
    }
    return fault;
}
} // namespace

BitmapVerdict checkBitmapFromMemory(const std::uint8_t* data, std::size_t size) {
    const std::string path = temporaryFileWith(data, size, ".bmp");
    if (path.empty()) {
        return {BitmapVerdict::violation, "cannot write the input to a file"};
    }
    BitmapVerdict verdict{BitmapVerdict::refused, std::string()};
    if (BitmapFile::isSafeToLoad(path)) {
        if (isRunLength(data, size)) {
            verdict.fault = runLengthFault(data, size, path);
        } else if (BITMAP* bitmap = loadUnconverted(path)) {
            destroy_bitmap(bitmap);
        }
        verdict.outcome = verdict.fault.empty() ? BitmapVerdict::loaded : BitmapVerdict::violation;
    }
    std::remove(path.c_str());
    return verdict;
}
