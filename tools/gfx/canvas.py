"""A tiny software rasteriser for the game's tiles and sprites.

Pixels are RGB tuples, or None where the sprite is transparent.  Shapes are
filled at pixel centres with hard edges: the game masks with pure magenta,
so there is no alpha to antialias against.
"""
import math
import struct
import zlib

MAGENTA = (255, 0, 255)
LIGHT = (-0.45, -0.6, 0.66)  # light from the upper left, towards the viewer


def clamp(value):
    return max(0, min(255, int(round(value))))


def shade(color, factor):
    """Scale a colour's brightness; factor > 1 lightens towards white."""
    if factor <= 1:
        return tuple(clamp(c * factor) for c in color)
    lift = min(factor - 1, 1)
    return tuple(clamp(c + (255 - c) * lift) for c in color)


def mix(a, b, t):
    return tuple(clamp(x + (y - x) * t) for x, y in zip(a, b))


def opaque_safe(color):
    """Keep opaque colours away from anything RGB565 rounds to magenta."""
    r, g, b = color
    if r >= 248 and g <= 3 and b >= 248:
        return (r, 8, b)
    return color


def dome_light(nx, ny):
    """Brightness factor of a hemisphere point seen from above."""
    nz = math.sqrt(max(0.0, 1.0 - nx * nx - ny * ny))
    lit = nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]
    return 0.62 + 0.5 * lit


class Canvas:
    def __init__(self, width, height, fill=None, wrap=False):
        self.width, self.height, self.wrap = width, height, wrap
        self.pixels = [[fill] * width for _ in range(height)]

    def put(self, x, y, color):
        if self.wrap:
            x, y = x % self.width, y % self.height
        elif not (0 <= x < self.width and 0 <= y < self.height):
            return
        self.pixels[y][x] = color

    def get(self, x, y):
        if self.wrap:
            return self.pixels[y % self.height][x % self.width]
        if 0 <= x < self.width and 0 <= y < self.height:
            return self.pixels[y][x]
        return None

    def _span(self, lo, hi):
        return range(int(math.floor(lo)), int(math.ceil(hi)) + 1)

    def ellipse(self, cx, cy, rx, ry, color, lit=True, rim=None):
        """Filled ellipse, dome-shaded when lit, with an optional dark rim."""
        rim_width = 1.3 / max(1.0, min(rx, ry))
        for y in self._span(cy - ry, cy + ry):
            for x in self._span(cx - rx, cx + rx):
                nx, ny = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                d = math.hypot(nx, ny)
                if d > 1:
                    continue
                if rim and d > 1 - rim_width:
                    self.put(x, y, rim)
                else:
                    self.put(x, y, shade(color, dome_light(nx, ny)) if lit else color)

    def polygon(self, points, color, rim=None):
        """Even-odd filled polygon; rim darkens pixels touching the outside."""
        xs, ys = [p[0] for p in points], [p[1] for p in points]
        inside = set()
        for y in self._span(min(ys), max(ys)):
            for x in self._span(min(xs), max(xs)):
                if _point_in_polygon(x + 0.5, y + 0.5, points):
                    inside.add((x, y))
        for x, y in inside:
            edge = any((x + dx, y + dy) not in inside
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))
            self.put(x, y, rim if rim and edge else color)

    def capsule(self, x0, y0, x1, y1, radius, color, rim=None):
        """Thick rounded line, shaded across its width like a cylinder."""
        dx, dy = x1 - x0, y1 - y0
        length2 = dx * dx + dy * dy or 1e-9
        for y in self._span(min(y0, y1) - radius, max(y0, y1) + radius):
            for x in self._span(min(x0, x1) - radius, max(x0, x1) + radius):
                px, py = x + 0.5 - x0, y + 0.5 - y0
                t = max(0.0, min(1.0, (px * dx + py * dy) / length2))
                ox, oy = px - t * dx, py - t * dy
                d = math.hypot(ox, oy) / radius
                if d > 1:
                    continue
                if rim and d > 1 - 1.1 / radius:
                    self.put(x, y, rim)
                else:
                    self.put(x, y, shade(color, dome_light(ox / radius, oy / radius)))

    def outline(self, color):
        """Paint transparent pixels that touch the figure, making it pop."""
        edge = [(x, y) for y in range(self.height) for x in range(self.width)
                if self.pixels[y][x] is None and any(
                    self.get(x + dx, y + dy) is not None
                    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
        for x, y in edge:
            self.put(x, y, color)

    def mirrored(self):
        flipped = Canvas(self.width, self.height, wrap=self.wrap)
        flipped.pixels = [row[::-1] for row in self.pixels]
        return flipped

    def save_bmp(self, path):
        """Write an uncompressed 24-bit BMP, bottom row first."""
        pad = (4 - self.width * 3 % 4) % 4
        rows = []
        for row in reversed(self.pixels):
            line = bytearray()
            for color in row:
                r, g, b = MAGENTA if color is None else opaque_safe(color)
                line += bytes((b, g, r))
            rows.append(bytes(line) + b"\0" * pad)
        image = b"".join(rows)
        header = struct.pack("<2sIHHI", b"BM", 54 + len(image), 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24,
                           0, len(image), 2835, 2835, 0, 0)
        with open(path, "wb") as out:
            out.write(header + info + image)


def read_bmp(path):
    """The rows of an uncompressed 24-bit BMP, top row first, as RGB tuples."""
    with open(path, "rb") as source:
        data = source.read()
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError(f"{path}: not a BMP file")
    offset = struct.unpack("<I", data[10:14])[0]
    width, height, _, bits, compression = struct.unpack("<iiHHI", data[18:34])
    if bits != 24 or compression != 0 or width <= 0 or height <= 0:
        raise ValueError(f"{path}: not an uncompressed bottom-up 24-bit BMP")
    stride = (width * 3 + 3) // 4 * 4
    if offset + stride * height > len(data):
        raise ValueError(f"{path}: the pixel rows are cut short")
    rows = []
    for y in reversed(range(height)):
        line = data[offset + y * stride:offset + y * stride + width * 3]
        rows.append(list(zip(line[2::3], line[1::3], line[0::3])))
    return rows


def _png_chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(rows):
    """An 8-bit RGBA PNG of rows of (r, g, b), or None for transparent."""
    raw = b"".join(b"\0" + b"".join(bytes((*c, 255)) if c else b"\0\0\0\0" for c in row)
                   for row in rows)
    header = struct.pack(">IIBBBBB", len(rows[0]), len(rows), 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header) +
            _png_chunk(b"IDAT", zlib.compress(raw, 9)) + _png_chunk(b"IEND", b""))


def _point_in_polygon(x, y, points):
    inside = False
    j = len(points) - 1
    for i, (xi, yi) in enumerate(points):
        xj, yj = points[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            inside = not inside
        j = i
    return inside
