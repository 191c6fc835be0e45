#ifndef ORVALLE_BITMAPFILE_H
#define ORVALLE_BITMAPFILE_H

#include <string>

// Checks a BMP file before Allegro loads it. Allegro believes the header: a file of a few bytes
// that declares 20000 x 20000 pixels makes it allocate and fill gigabytes, and its run-length
// decoder writes outside the bitmap on bad data. Image files can be replaced by anyone, so only
// uncompressed (or bit-field) BMPs whose pixels are all in the file, and run-length BMPs of a
// sane size whose data the decoder reads without leaving the bitmap or the file, are loaded.
class BitmapFile {
  public:
    static bool isSafeToLoad(const std::string& path);
};

#endif
