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

// read_RLE8_compressed_image and read_RLE4_compressed_image: the same loops; they differ in how
// runs give pixels, and RLE8 keeps the code byte in an unsigned char where RLE4 has an unsigned
// short (end of file reads as 255 or as 65535).
struct Decoder {
    Source& f;
    LibraryRunLengthModel& m;
    bool fourBits;
    int line;
    int pos;
    unsigned char b[8];

    bool failed() const { return m.overruns(); }

    int code() { return fourBits ? f.getc() & 0xffff : f.getc() & 0xff; }

    void put(int value) {
        if (line < 0 || line >= m.height || pos < 0 || pos >= m.width) {
            m.wroteOutside = true;
        } else {
            m.pixels[static_cast<std::size_t>(line) * m.width + pos] =
                static_cast<std::uint8_t>(value);
        }
        pos++;
    }

    void repeat(int count, int val) {
        b[1] = val & 15;
        b[0] = (val >> 4) & 15;
        for (int j = 0; j < count; j++) {
            put(fourBits ? b[j % 2] : val);
        }
    }

    void absolute8(int val) {
        int j = 0;
        for (; j < val; j++) {
            put(f.getc() & 0xff);
        }
        if (j % 2 == 1) {
            f.getc();
        }
    }

    void absolute4(int val) {
        for (int j = 0; j < val && !failed(); j++) {
            if (j % 4 == 0) {
                unsigned short val0 = static_cast<unsigned short>(f.igetw());
                for (std::size_t k = 0; k < 2; k++) {
                    b[2 * k + 1] = val0 & 15;
                    val0 = val0 >> 4;
                    b[2 * k] = val0 & 15;
                    val0 = val0 >> 4;
                }
            }
            put(b[j % 4]);
        }
    }

    void decode(long biHeight, unsigned long biWidth) {
        line = static_cast<int>(biHeight - 1);
        bool eopicflag = false;
        while (!eopicflag && !failed()) {
            pos = 0;
            bool eolflag = false;
            while (!eolflag && !eopicflag && !failed()) {
                const int count = f.getc() & 0xff;
                const int val = code();
                if (count > 0) {
                    repeat(count, val);
                } else if (val == 0) {
                    eolflag = true;
                } else if (val == 1) {
                    eopicflag = true;
                } else if (val == 2) {
                    pos += f.getc() & 0xff;
                    line -= code();
                } else if (fourBits) {
                    absolute4(val);
                } else {
                    absolute8(val);
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
    Decoder decoder{f, model, biCompression == 2, 0, 0, {}};
    decoder.decode(biHeight, biWidth);
    return model;
}
