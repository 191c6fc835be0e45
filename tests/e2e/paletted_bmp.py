"""Paletted BMP files, uncompressed or run-length encoded (RLE8, RLE4), as picture editors save
them: every row ends with an end-of-line code, the picture with an end-of-bitmap code.

A picture here is a palette of (r, g, b) colours and its pixels as palette indices, row by row
from the top.
"""
import struct

UNCOMPRESSED, RLE8, RLE4 = 0, 1, 2
END_OF_LINE, END_OF_BITMAP = b"\0\0", b"\0\1"
LONGEST = 255  # pixels in one run


def bmp_file(width, height, palette, indices, compression=UNCOMPRESSED, bits=8):
    """The BMP file's bytes. RLE8 needs 8 bits a pixel, RLE4 needs 4."""
    rows = [indices[y * width:(y + 1) * width] for y in reversed(range(height))]
    if compression == RLE8:
        data = b"".join(rle8_row(row) + END_OF_LINE for row in rows) + END_OF_BITMAP
    elif compression == RLE4:
        data = b"".join(rle4_row(row) + END_OF_LINE for row in rows) + END_OF_BITMAP
    else:
        data = b"".join(packed_row(row, bits) for row in rows)
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, compression, len(data),
                       2835, 2835, len(palette), 0)
    return header + info + colours + data


def packed_row(row, bits):
    data = nibbles(row) if bits == 4 else bytes(row)
    return data + b"\0" * (-len(data) % 4)


def nibbles(row):
    """Two 4-bit pixels a byte, the left one in the high half."""
    padded = list(row) + [0] * (len(row) % 2)
    return bytes(padded[i] << 4 | padded[i + 1] for i in range(0, len(padded), 2))


def pieces(row):
    """Splits a row into (repeated, pixels): runs of one index, and stretches without repeats."""
    i = 0
    while i < len(row):
        end = i + 1
        while end < len(row) and end - i < LONGEST and row[end] == row[i]:
            end += 1
        repeated = end - i > 1
        if not repeated:
            while end < len(row) and end - i < LONGEST and (end + 1 == len(row) or
                                                             row[end + 1] != row[end]):
                end += 1
        yield repeated, row[i:end]
        i = end


def rle8_row(row):
    return encode(row, lambda index: index, bytes)


def rle4_row(row):
    return encode(row, lambda index: index << 4 | index, nibbles)


def encode(row, repeat_byte, literal_bytes):
    """Repeats as encoded runs; stretches of three pixels or more as absolute runs, padded to
    16 bits; shorter stretches as runs of one pixel."""
    out = bytearray()
    for repeated, pixels in pieces(row):
        if repeated:
            out += bytes((len(pixels), repeat_byte(pixels[0])))
        elif len(pixels) < 3:
            out += b"".join(bytes((1, repeat_byte(p))) for p in pixels)
        else:
            data = literal_bytes(pixels)
            out += bytes((0, len(pixels))) + data + b"\0" * (len(data) % 2)
    return bytes(out)


def reduce_colours(picture, count):
    """The picture (see pictures.Picture) in its `count` most frequent colours: each pixel takes
    the nearest of them. Returns the palette as 8-bit (r, g, b) and the pixels' indices."""
    frequency = {}
    for value in picture.pixels:
        frequency[value] = frequency.get(value, 0) + 1
    kept = sorted(frequency, key=lambda value: -frequency[value])[:count]
    channels = [unpack(value) for value in kept]

    def nearest(value):
        rgb = unpack(value)
        return min(range(len(kept)),
                   key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, channels[i])))

    index_of = {value: nearest(value) for value in frequency}
    palette = [tuple((c << (8 - bits)) | (c >> (2 * bits - 8)) for c, bits in zip(rgb, (5, 6, 5)))
               for rgb in channels]
    return palette, [index_of[value] for value in picture.pixels]


def unpack(value):
    """A 16-bit 5-6-5 pixel as its three channels."""
    return (value >> 11, (value >> 5) & 63, value & 31)
