#include "LibraryRunLengthModel.h"

#include <cstdlib>

namespace {
// Far more pixels than the check allows; a bitmap this big means the check failed.
const long absurdPixels = 1L << 24;

// The library's packfile reads: past the end of the data every byte reads as EOF (-1).
struct Source {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at;
    LibraryRunLengthModel& model;

    int getc() {
        if (at < size) {
            return data[at++];
        }
        model.readPastEnd = true;
        return -1;
    }

    int igetw() {
        const int b1 = getc();
        const int b2 = b1 == -1 ? -1 : getc();
        return b2 == -1 ? -1 : b1 | b2 << 8;
    }

    long igetl() {
        const int b1 = getc();
        const int b2 = b1 == -1 ? -1 : getc();
        const int b3 = b2 == -1 ? -1 : getc();
        const int b4 = b3 == -1 ? -1 : getc();
        return b4 == -1 ? -1 : static_cast<long>(b4) << 24 | b3 << 16 | b2 << 8 | b1;
    }
};

struct Decoder {
    Source& f;
    LibraryRunLengthModel& m;

    bool failed() const { return m.overruns(); }

    void put(int line, int pos, int value) {
        if (line < 0 || line >= m.height || pos < 0 || pos >= m.width) {
            m.wroteOutside = true;
            return;
        }
        m.pixels[static_cast<std::size_t>(line) * m.width + pos] = static_cast<std::uint8_t>(value);
    }

    // read_RLE8_compressed_image
    void rle8(long biHeight, unsigned long biWidth) {
        int line = static_cast<int>(biHeight - 1);
        bool eopicflag = false;
        while (!eopicflag && !failed()) {
            int pos = 0;
            bool eolflag = false;
            while (!eolflag && !eopicflag && !failed()) {
                unsigned char count = static_cast<unsigned char>(f.getc());
                unsigned char val = static_cast<unsigned char>(f.getc());
                if (count > 0) {
                    for (int j = 0; j < count; j++) {
                        put(line, pos, val);
                        pos++;
                    }
                } else if (val == 0) {
                    eolflag = true;
                } else if (val == 1) {
                    eopicflag = true;
                } else if (val == 2) {
                    count = static_cast<unsigned char>(f.getc());
                    val = static_cast<unsigned char>(f.getc());
                    pos += count;
                    line -= val;
                } else {
                    int j = 0;
                    for (; j < val; j++) {
                        put(line, pos, static_cast<unsigned char>(f.getc()));
                        pos++;
                    }
                    if (j % 2 == 1) {
                        f.getc();
                    }
                }
                if (pos - 1 > static_cast<int>(biWidth)) {
                    eolflag = true;
                }
            }
            line--;
            if (line < 0) {
                eopicflag = true;
            }
        }
    }

    // read_RLE4_compressed_image
    void rle4(long biHeight, unsigned long biWidth) {
        unsigned char b[8] = {};
        int line = static_cast<int>(biHeight - 1);
        bool eopicflag = false;
        while (!eopicflag && !failed()) {
            int pos = 0;
            bool eolflag = false;
            while (!eolflag && !eopicflag && !failed()) {
                unsigned char count = static_cast<unsigned char>(f.getc());
                unsigned short val = static_cast<unsigned short>(f.getc());
                if (count > 0) {
                    b[1] = val & 15;
                    b[0] = (val >> 4) & 15;
                    for (int j = 0; j < count; j++) {
                        put(line, pos, b[j % 2]);
                        pos++;
                    }
                } else if (val == 0) {
                    eolflag = true;
                } else if (val == 1) {
                    eopicflag = true;
                } else if (val == 2) {
                    count = static_cast<unsigned char>(f.getc());
                    val = static_cast<unsigned short>(f.getc());
                    pos += count;
                    line -= val;
                } else {
                    for (int j = 0; j < val && !failed(); j++) {
                        if (j % 4 == 0) {
                            unsigned short val0 = static_cast<unsigned short>(f.igetw());
                            for (int k = 0; k < 2; k++) {
                                b[2 * k + 1] = val0 & 15;
                                val0 = val0 >> 4;
                                b[2 * k] = val0 & 15;
                                val0 = val0 >> 4;
                            }
                        }
                        put(line, pos, b[j % 4]);
                        pos++;
                    }
                }
                if (pos - 1 > static_cast<int>(biWidth)) {
                    eolflag = true;
                }
            }
            line--;
            if (line < 0) {
                eopicflag = true;
            }
        }
    }
};
} // namespace

// load_bmp_pf for a file with the Windows header: file header, info header, palette up to the
// data offset, then a cleared bitmap filled by the decoder.
LibraryRunLengthModel LibraryRunLengthModel::decode(const std::uint8_t* data, std::size_t size) {
    LibraryRunLengthModel model;
    Source f{data, size, 0, model};
    f.igetw();
    f.igetl();
    f.igetw();
    f.igetw();
    const unsigned long bfOffBits = static_cast<unsigned long>(f.igetl());
    f.igetl();
    const unsigned long biWidth = static_cast<unsigned long>(f.igetl());
    const long biHeight = f.igetl();
    f.igetw();
    f.igetw();
    const unsigned long biCompression = static_cast<unsigned long>(f.igetl());
    for (int i = 0; i < 5; i++) {
        f.igetl();
    }
    const int paletteBytes = static_cast<int>(bfOffBits - 54);
    for (int i = 0; i < paletteBytes && !model.readPastEnd; i++) {
        f.getc();
    }
    model.width = static_cast<int>(biWidth);
    model.height = static_cast<int>(std::labs(biHeight));
    if (model.width <= 0 || model.height <= 0 ||
        static_cast<long>(model.width) * model.height > absurdPixels) {
        model.absurdSize = true;
        return model;
    }
    model.pixels.assign(static_cast<std::size_t>(model.width) * model.height, 0);
    Decoder decoder{f, model};
    if (biCompression == 1) {
        decoder.rle8(biHeight, biWidth);
    } else {
        decoder.rle4(biHeight, biWidth);
    }
    return model;
}
