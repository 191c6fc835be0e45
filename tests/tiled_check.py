"""Checks tools/map/to-tiled.py and from-tiled.py.

Usage: tiled_check.py round-trip|inputs|hostile|tiled WORK
  round-trip  the shipped map through a TMX and back is the same file
  inputs      Tiled maps as other hands save them convert to their codes, or are refused
  hostile     broken, oversized and bomb files end in a valid result or one line, in 1 GB
  tiled       Tiled itself opens and saves the exported map, and draws its land tile for tile
"""
import base64
import gzip
import os
import struct
import subprocess
import sys
import zlib
from functools import partial
from pathlib import Path

REPO = Path(__file__).resolve().parents[1]
SHIPPED = REPO / "data" / "orvalle.map"
sys.path.insert(0, str(REPO / "tools" / "gfx"))
sys.path.insert(0, str(REPO / "tools" / "map"))
from canvas import read_bmp  # noqa: E402
from mapfile import LAND, map_text, read_map  # noqa: E402


def tool(name, *args, stdout=subprocess.PIPE, **options):
    return subprocess.run([sys.executable, str(REPO / "tools" / "map" / name), *map(str, args)],
                          stdout=stdout, stderr=subprocess.PIPE, **options)


def round_trip(work):
    assert tool("to-tiled.py", SHIPPED, work / "valley.tmx").returncode == 0
    back = tool("from-tiled.py", work / "valley.tmx")
    assert back.returncode == 0 and back.stdout == SHIPPED.read_bytes(), back.stderr
    with open("/dev/full", "wb") as full:
        failed = tool("from-tiled.py", work / "valley.tmx", stdout=full)
    assert failed.returncode == 1 and b"No space left" in failed.stderr, failed.stderr
    # A code beyond 32 bits is refused by the value the game reads for it.
    for code, read in (("99999999999", b"2147483647"), ("-99999999999", b"-2147483648")):
        (work / "huge.map").write_text(EXPECTED.replace("[300]", f"[{code}]", 1))
        refused = tool("to-tiled.py", work / "huge.map", work / "huge.tmx")
        assert refused.returncode == 1 and b"code " + read + b" is no land" in refused.stderr, \
            refused.stderr


# A 3 x 2 map painted with a tileset of its own at tile number 10: tile 0 is water, 1 lawn,
# 2 a cyclope, 3 has no code and 4 a code no kind has.
TILESET = """<tileset {first}name="painted" tilewidth="50" tileheight="50" tilecount="5"
 columns="5">
 <image source="painted.png" width="250" height="50"/>
 <tile id="0"><properties><property name="code" type="int" value="300"/></properties></tile>
 <tile id="1"><properties><property name="code" type="int" value="104"/></properties></tile>
 <tile id="2"><properties><property name="note" value="a cyclope"/>
  <property name="code" type="int" value="2"/></properties></tile>
 <tile id="3"><properties><property name="note" value="no code"/></properties></tile>
 <tile id="4"><properties><property name="code" type="int" value="7"/></properties></tile>
</tileset>"""
# A second tileset after it, at tile number 15: its tile 0 is a cyclope.
CREATURES = """<tileset firstgid="15" name="creatures" tilewidth="50" tileheight="50"
 tilecount="1" columns="1">
 <image source="creatures.png" width="50" height="50"/>
 <tile id="0"><properties><property name="code" type="int" value="2"/></properties></tile>
</tileset>"""
LAND_TILES, ELEMENT_TILES = [10, 11, 0, 11, 11, 10], [0, 12, 0, 0, 0, 0]
EXPECTED = "<world>\n{[3][2]}\n<land>\n{\n[300][104][0]\n[104][104][300]\n}\n" \
           "<element>\n{\n[0][2][0]\n[0][0][0]\n}\n"


def csv(tiles):
    return '<data encoding="csv">\n' + ",".join(map(str, tiles)) + "\n</data>"


def packed(tiles, compression=None, squeeze=lambda raw: raw):
    text = base64.b64encode(squeeze(struct.pack(f"<{len(tiles)}I", *tiles))).decode()
    attribute = f' compression="{compression}"' if compression else ""
    return f'<data encoding="base64"{attribute}>{text}</data>'


def tmx(tileset=TILESET.format(first='firstgid="10" '), infinite="0", land=csv(LAND_TILES),
        element=csv(ELEMENT_TILES), element_name="element", element_width=3):
    return (f'<?xml version="1.0" encoding="UTF-8"?>\n<map version="1.8" orientation="orthogonal" '
            f'width="3" height="2" tilewidth="50" tileheight="50" infinite="{infinite}">\n'
            f'{tileset}\n<layer id="1" name="land" width="3" height="2">{land}</layer>\n'
            f'<layer id="2" name="{element_name}" width="{element_width}" height="2">{element}'
            "</layer>\n</map>\n")


FLAGS = [0x80000000, 0x40000000, 0, 0x20000000, 0x10000000, 0xF0000000]
CASES = [  # what differs from the painted map, and what from-tiled.py must say
    ({}, EXPECTED),
    ({"land": csv([t | f for t, f in zip(LAND_TILES, FLAGS)])}, EXPECTED),
    ({"land": packed(LAND_TILES), "element": packed(ELEMENT_TILES, "gzip", gzip.compress)},
     EXPECTED),
    ({"land": packed(LAND_TILES, "zlib", zlib.compress)}, EXPECTED),
    ({"land": packed(LAND_TILES, "zlib", lambda raw: zlib.compress(raw)[:-4])},
     "layer 'land': the zlib data is cut short"),
    ({"tileset": '<tileset firstgid="10" source="painted.tsx"/>'}, EXPECTED),
    ({"element": "<data>" + '<tile/><tile gid="12"/>' + "<tile/>" * 4 + "</data>"}, EXPECTED),
    ({"tileset": TILESET.format(first='firstgid="10" ') + CREATURES,
      "element": csv([0, 15, 0, 0, 0, 0])}, EXPECTED),
    ({"element_name": "elements"}, "no tile layer named 'element'"),
    ({"element": csv([0, 0, 0, 0, 13, 0])},
     "layer 'element', cell x=1 y=1: tile 3 of tileset 'painted' has no 'code'"),
    ({"land": csv([10, 11, 0, 11, 14, 10])}, "layer 'land', cell x=1 y=1: code 7 is no kind's"),
    ({"element": csv([0, 12, 0, 0]), "element_width": 2}, "the layers differ in size"),
    ({"infinite": "1"}, "an infinite map"),
    ({"land": ""}, "layer 'land': no tile data"),
    ({"land": packed(LAND_TILES, "zstd")}, "layer 'land': data encoded as 'base64' with "
                                           "compression 'zstd' is not supported"),
]


def inputs(work):
    (work / "painted.tsx").write_text('<?xml version="1.0"?>\n' + TILESET.format(first=""))
    failures = []
    for number, (changes, expected) in enumerate(CASES):
        path = work / f"case{number}.tmx"
        path.write_text(tmx(**changes))
        result = tool("from-tiled.py", path, text=True)
        want = (0, EXPECTED, "") if expected == EXPECTED else (1, "", f"{path}: {expected}")
        if (result.returncode, result.stdout) != want[:2] or want[2] not in result.stderr:
            failures.append(f"{path} {changes}: status {result.returncode}\n{result.stderr}")
    assert not failures, "\n".join(failures)


def converted(work, name, data, *out):
    """Runs a converter on data in 1 GB: it ends with status 0, or 1 with one line and no output."""
    (work / "input").write_bytes(data)
    for path in out:  # left by an earlier run
        path.unlink(missing_ok=True)
    result = subprocess.run(["sh", "-c", 'ulimit -v 1000000; exec "$@"', "sh", sys.executable,
                             REPO / "tools" / "map" / name, work / "input", *out],
                            capture_output=True)
    said = result.stderr.decode(errors="replace")
    refused = result.returncode == 1 and said.count("\n") == 1 and not result.stdout \
        and not any(path.exists() for path in out)
    assert "Traceback" not in said and (result.returncode == 0 or refused), (data[:300], said)
    return result


def hostile(work):
    from hypothesis import given, settings, strategies as st  # only this check needs it

    def sized(text, width, height):  # both layers
        return text.replace('width="3" height="2">', f'width="{width}" height="{height}">')
    bomb = zlib.compressobj()  # 16,000 x 16,000 empty cells in a megabyte
    bomb = packed([], "zlib", lambda _: b"".join(
        [*(bomb.compress(bytes(1024000)) for _ in range(1000)), bomb.flush()]))
    cases = [("from-tiled.py", sized(tmx(land=bomb), *side), said) for side, said in (
        ((16000, 16000), "16000x16000 is more than the largest"),
        ((10, 10), "the zlib data inflates past the 400 bytes"))]
    for side, said in ((4096, ""), (4097, "more than the largest map")):  # "" where it converts
        cases += [("from-tiled.py", sized(tmx(land=csv([0] * side), element=csv([0] * side)),
                                          side, 1), said),
                  ("to-tiled.py", f"<world>{{[{side}][1]}}<land>{{{'[0]' * side}}}"
                                  f"<element>{{{'[0]' * side}}}", said)]
    for name, text, said in cases:
        out = [work / "out.tmx"] * (name == "to-tiled.py")
        result = converted(work, name, text.encode(), *out)
        assert result.returncode == int(bool(said)) and said in result.stderr.decode(), name

    def broken(text, flips, cut):  # both counted from the end, where the layers are
        data = bytearray(text.encode())
        for at, byte in flips:
            data[-1 - at % len(data)] = byte
        return bytes(data[:max(0, len(data) - cut)])
    layer = st.sampled_from([csv, lambda t: "<data>" + "".join(f'<tile gid="{n}"/>' for n in t)
                             + "</data>", *(partial(packed, compression=c, squeeze=s) for c, s in (
        (None, bytes), ("zlib", zlib.compress), ("gzip", gzip.compress), ("zstd", zlib.compress))),
        lambda _: bomb])
    side = st.sampled_from([-1, 0, 1, 2, 3, 4096, 4097, 2**64])
    damage = st.tuples(st.just([]), st.just(0) | st.integers(1, 400)) | st.tuples(st.lists(
        st.tuples(st.integers(0, 2**20), st.integers(0, 255)), min_size=1, max_size=3), st.just(0))

    @settings(max_examples=200, deadline=None, derandomize=True, database=None)
    @given(st.sampled_from(["from-tiled.py"] * 4 + ["to-tiled.py"]), layer, layer,
           st.just((3, 2)) | st.tuples(side, side), damage)
    def converts(name, land, element, size, damage):
        out = [work / "out.tmx"] * (name == "to-tiled.py")
        text = sized(tmx(land=land(LAND_TILES), element=element(ELEMENT_TILES)), *size)
        result = converted(work, name, broken(EXPECTED if out else text, *damage), *out)
        if result.returncode == 0:  # a map the game reads: the one written, or the TMX's
            written = tool("from-tiled.py", *out).stdout if out else result.stdout
            (work / "out.map").write_bytes(written)
            assert map_text(read_map(work / ("input" if out else "out.map"))).encode() == written
    converts()


def tiled(work):
    qt = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    assert tool("to-tiled.py", SHIPPED, work / "valley.tmx").returncode == 0
    subprocess.run(["tiled", "--export-map", work / "valley.tmx", work / "saved.tmx"], env=qt,
                   check=True, capture_output=True)
    assert tool("from-tiled.py", work / "saved.tmx").stdout == SHIPPED.read_bytes()
    subprocess.run(["tmxrasterizer", "--no-smoothing", "--hide-layer", "element",
                    work / "valley.tmx", work / "land.bmp"], env=qt, check=True,
                   capture_output=True)
    drawn, grid = read_bmp(work / "land.bmp"), read_map(SHIPPED)
    tiles = {code: read_bmp(REPO / "data" / "images" / f"{name}0.bmp")
             for name, code in LAND.items()}
    for y, row in enumerate(grid.layers["land"]):
        for x, code in enumerate(row):
            cell = [line[x * 50:x * 50 + 50] for line in drawn[y * 50:y * 50 + 50]]
            assert cell == tiles[code], f"cell x={x} y={y} is not drawn as land code {code}"


if __name__ == "__main__":
    folder = Path(sys.argv[2])
    folder.mkdir(parents=True, exist_ok=True)
    {"round-trip": round_trip, "inputs": inputs, "hostile": hostile,
     "tiled": tiled}[sys.argv[1]](folder)
