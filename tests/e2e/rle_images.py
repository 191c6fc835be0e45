"""The rle-images check: run-length (RLE8 and RLE4) copies of a tile, as picture editors save
them, show in the window exactly as the uncompressed copy does."""
import time

from paletted_bmp import RLE4, RLE8, UNCOMPRESSED, bmp_file, reduce_colours
from pictures import Picture, pack565, quantise, sprite_match
from session import CheckFailed, poll
from worldmap import CELL

TILE = "water0"  # the tile copied, reduced to the 16 colours RLE4 can hold
COPIES = {"ground0": (UNCOMPRESSED, 8), "lawn0": (RLE8, 8), "rocks0": (RLE4, 4)}
SHOWN = 0.95  # share of the tile's pixels that must show, for the tile to count as shown


def write_images(checks, folder):
    """images/ holds the avatar's frames and the three copies; every other image is missing.
    Returns the tile as the palette makes it."""
    images = folder.path / "images"
    images.mkdir()
    for frame in (checks.data / "images").glob("avatar*.bmp"):
        (images / frame.name).symlink_to(frame)
    tile = checks.sprite(TILE)
    palette, indices = reduce_colours(tile, 16)
    for name, (compression, bits) in COPIES.items():
        (images / f"{name}.bmp").write_bytes(
            bmp_file(tile.width, tile.height, palette, indices, compression, bits))
    return Picture(tile.width, tile.height, [pack565(quantise(*palette[i])) for i in indices])


def cell_pixels(shot, column, row):
    return [shot.pixels[(row * CELL + y) * shot.width + column * CELL + x]
            for y in range(CELL) for x in range(CELL)]


def rle_images(checks, screen, root, maps, free_cells):
    folder, world = checks.folder(root, maps / "rle-images.txt", images=False)
    tile = write_images(checks, folder)
    cells = free_cells(world, (0, 0))
    bands = {name: [c for c in cells if f"{world.land_name(*c)}0" == name] for name in COPIES}
    with checks.start(screen, folder) as game:
        checks.wait_avatar(game, world)
        faults = []

        def shown():
            shot = game.screenshot()
            reference = cell_pixels(shot, *bands["ground0"][0])
            faults[:] = [f"{name} at {cell}" for name, band in bands.items() for cell in band
                         if cell_pixels(shot, *cell) != reference]
            share = sprite_match(shot, tile, *(c * CELL for c in bands["ground0"][0]))[0]
            if share < SHOWN:
                faults.append(f"the uncompressed copy shows {share:.0%} of the tile")
            return not faults

        if not poll(shown, 3.0):
            raise CheckFailed(f"cells differ from the uncompressed tile: {', '.join(faults[:5])}")
        time.sleep(0.3)  # a few more passes: the frames of every tile stay the same
        if not shown():
            raise CheckFailed(f"after a few passes: {', '.join(faults[:5])}")
        counts = ", ".join(f"{len(band)} {name}" for name, band in bands.items())
        return f"RLE8 and RLE4 copies of {TILE} show pixel-identical to it ({counts} cells)"
