#!/usr/bin/env python3
# Writes the checked-in test pictures: 96 x 64 pixels in four quadrants, red, green, blue and
# white (top left, top right, bottom left, bottom right), as GIF and JPEG. Not part of the build;
# needs Debian's python3-pil. The JPEG keeps full colour resolution, so each quadrant stays
# within a few steps of its colour.
from pathlib import Path

from PIL import Image

WIDTH, HEIGHT = 96, 64
COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255)]

image = Image.new("RGB", (WIDTH, HEIGHT))
pixels = image.load()
for y in range(HEIGHT):
    for x in range(WIDTH):
        pixels[x, y] = COLOURS[(x >= WIDTH // 2) + 2 * (y >= HEIGHT // 2)]

folder = Path(__file__).parent
image.save(folder / "quadrants.jpg", quality=90, subsampling=0, optimize=True)
image.convert("P", palette=Image.ADAPTIVE, colors=4).save(folder / "quadrants.gif")
