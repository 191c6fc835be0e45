"""Pictures for the end-to-end checks: X window dumps, BMP files and PNG output.

Every picture is kept in the game's 16-bit colour space: each pixel is an
(r, g, b) triple of 5, 6 and 5 bits, which is what Allegro's makecol16 keeps of
a 24-bit colour.  Comparing there makes a sprite file and a screenshot of the
same sprite equal, whatever rounding the display adds.
"""
import struct
import zlib

# Allegro's mask colour for 16-bit bitmaps: magenta, drawn as transparent.
MASK = (31, 0, 31)
WHITE = (31, 63, 31)
BLACK = (0, 0, 0)


def quantise(r, g, b):
    """The 5-6-5 colour Allegro keeps of an 8-bit-per-channel colour."""
    return (r >> 3, g >> 2, b >> 3)


def close(a, b, tolerance=1):
    return all(abs(x - y) <= tolerance for x, y in zip(a, b))


class Picture:
    """A grid of pixels, row by row, each packed as a 16-bit 5-6-5 value."""

    def __init__(self, width, height, pixels):
        self.width = width
        self.height = height
        self.pixels = pixels

    def at(self, x, y):
        return unpack565(self.pixels[y * self.width + x])

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height


def pack565(colour):
    r, g, b = colour
    return (r << 11) | (g << 5) | b


def unpack565(value):
    return (value >> 11, (value >> 5) & 63, value & 31)


def read_xwd(data):
    """Decodes the dump that `xwd` writes of a 16-bit 5-6-5 or 24-bit TrueColor window."""
    header = struct.unpack_from(">25I", data, 0)
    header_size, width, height = header[0], header[4], header[5]
    byte_order, bits_per_pixel, bytes_per_line = header[7], header[11], header[12]
    masks = header[14:17]
    start = header_size + header[19] * 12
    order = "<" if byte_order == 0 else ">"
    pixels = []
    if bits_per_pixel == 16 and masks == (0xF800, 0x07E0, 0x001F):
        for y in range(height):
            pixels += struct.unpack_from(f"{order}{width}H", data, start + y * bytes_per_line)
    elif bits_per_pixel == 32 and masks == (0xFF0000, 0x00FF00, 0x0000FF):
        for y in range(height):
            for v in struct.unpack_from(f"{order}{width}I", data, start + y * bytes_per_line):
                pixels.append(pack565(quantise(v >> 16, (v >> 8) & 255, v & 255)))
    else:
        raise ValueError(f"unsupported xwd visual: {bits_per_pixel} bits, masks {masks}")
    return Picture(width, height, pixels)


def read_bmp(path):
    """Reads an uncompressed 24- or 32-bit BMP, as the game's images and Allegro's saves are."""
    with open(path, "rb") as source:
        data = source.read()
    if data[:2] != b"BM":
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3):
        raise ValueError(f"{path}: {bits}-bit BMP with compression {compression} is not read")
    step = bits // 8
    stride = (width * step + 3) // 4 * 4
    bottom_up = height > 0
    height = abs(height)
    pixels = []
    for y in range(height):
        row = offset + ((height - 1 - y) if bottom_up else y) * stride
        for x in range(width):
            b, g, r = data[row + x * step:row + x * step + 3]
            pixels.append(pack565(quantise(r, g, b)))
    return Picture(width, height, pixels)


def write_png(picture, path):
    """Saves a picture as an 8-bit RGB PNG, widening 5-6-5 channels to full range."""
    def widen(p):
        r, g, b = p
        return bytes(((r << 3) | (r >> 2), (g << 2) | (g >> 4), (b << 3) | (b >> 2)))

    raw = bytearray()
    for y in range(picture.height):
        raw.append(0)
        for x in range(picture.width):
            raw += widen(picture.at(x, y))

    def chunk(kind, body):
        return (struct.pack(">I", len(body)) + kind + body +
                struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF))

    header = struct.pack(">IIBBBBB", picture.width, picture.height, 8, 2, 0, 0, 0)
    with open(path, "wb") as out:
        out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                  chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b""))


def sprite_match(screen, sprite, left, top, background=None, step=1):
    """The share of a sprite's opaque on-screen pixels that the screen shows at (left, top).

    Mask pixels are skipped, or expected to show `background` when one is given.  Returns
    (matching share, compared pixel count); `step` samples every step-th row and column.
    """
    mask = pack565(MASK)
    first, last = max(0, -left), min(sprite.width, screen.width - left)
    compared = matched = 0
    for y in range(0, sprite.height, step):
        row = top + y
        if first >= last or not 0 <= row < screen.height:
            continue
        want = sprite.pixels[y * sprite.width + first:y * sprite.width + last:step]
        start = row * screen.width + left
        got = screen.pixels[start + first:start + last:step]
        if background is not None and mask in want:
            want = [pack565(background) if w == mask else w for w in want]
        if want == got:  # the usual case, compared at C speed
            compared += len(want)
            matched += len(want)
            continue
        for w, g in zip(want, got):
            if w != mask:
                compared += 1
                matched += w == g or close(unpack565(w), unpack565(g))
    return (matched / compared if compared else 0.0), compared


def doubled(picture):
    """A picture twice as big, each pixel a 2 x 2 block: the game's big font from its small one."""
    pixels = []
    for y in range(picture.height * 2):
        row = picture.pixels[(y // 2) * picture.width:(y // 2 + 1) * picture.width]
        pixels += [p for p in row for _ in (0, 1)]
    return Picture(picture.width * 2, picture.height * 2, pixels)


# The characters that the font strip of read_text holds, in order.
PRINTABLE = "".join(chr(c) for c in range(32, 127))


def glyph_masks(strip):
    """Each printable character's 8 x 8 glyph as the set of its lit pixels, from a picture of
    PRINTABLE in the game's small font, keyed by that set."""
    black = pack565(BLACK)
    return {tuple(strip.pixels[y * strip.width + i * 8 + x] != black
                  for y in range(8) for x in range(8)): c for i, c in enumerate(PRINTABLE)}


def read_text(screen, masks, left, top, scale=2):
    """The line of text in the big font (any colour on black) whose first glyph has its top left
    at (left, top), read glyph by glyph up to the first cell that is no glyph."""
    black = pack565(BLACK)
    size = 8 * scale
    text = ""
    for x in range(left, screen.width - size + 1, size):
        if not screen.inside(x, top + size - 1):
            break
        lit = tuple(screen.pixels[(top + y * scale) * screen.width + x + c * scale] != black
                    for y in range(8) for c in range(8))
        if lit not in masks:
            break
        text += masks[lit]
    return text.rstrip()


def text_shown(screen, text, left, top):
    """Whether a rendered text shows at (left, top), every pixel of it."""
    return sprite_match(screen, text, left, top)[0] >= 0.99


def status_line(screen, lines):
    """Which rendered status line, keyed by health, shows at (10, 10), if any."""
    for health, line in lines.items():
        if text_shown(screen, line, 10, 10):
            return health
    return None
