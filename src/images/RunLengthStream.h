#ifndef ORVALLE_RUNLENGTHSTREAM_H
#define ORVALLE_RUNLENGTHSTREAM_H

#include <cstddef>

// The pixel data of a run-length BMP (RLE8 or RLE4), walked the way Allegro's decoder reads
// it. That decoder trusts the data: runs longer than the row, moves off the picture and data
// that ends early (it then reads end-of-file as 255s) make it write outside the bitmap. The
// walk follows the decoder step for step, without writing, to tell such data apart.
class RunLengthStream {
  public:
    // True when decoding the data into a width x height bitmap writes only inside it and reads
    // no byte past size. fourBits: RLE4 (two pixels a byte) rather than RLE8.
    static bool staysInBitmap(const unsigned char* data, std::size_t size, int width, int height,
                              bool fourBits);

  private:
    enum class Step { next, lineEnd, pictureEnd, unsafe };

    RunLengthStream(const unsigned char* data, std::size_t size, int bitmapWidth,
                    bool fourBitPixels);
    bool walk(int height);
    Step step();
    Step move();
    Step absolute(int pixels);
    Step write(int pixels);
    bool take(std::size_t count);

    const unsigned char* next;
    const unsigned char* end;
    int width;
    bool fourBits;
    int line;
    int position;
};

#endif
