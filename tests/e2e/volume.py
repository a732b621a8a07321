"""A small volume for the end-to-end scenarios, made the way a publisher makes one: page scans
(drawn here, each page in its own colour with its number printed large) and a manifest, packed
with cartavox-pack."""

import json
import subprocess
from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

# (label, kind, side, first number, page numbers printed on the pages)
BOOKS = [
    ("01 Lib.01 Antiporta", 1, "D", 1, [1, 2]),
    ("02 Lib.02 Primo libro", 1, "D", 1, [1, 2, 3, 4]),
    ("03 Lib.03 Secondo libro", 1, "D", 5, [5, 6, 7]),
]
WORK_FOLDER = "CVXE2E01"
PAGE_SIZE = (1800, 2600)  # wider than the screen: the magnifier fills its width
COLOURS = [(233, 214, 170), (190, 220, 200), (200, 205, 235), (240, 190, 180), (225, 225, 160),
           (180, 215, 235), (235, 200, 230), (210, 190, 160), (170, 200, 170)]


def _font(size):
    for path in ("/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
                 "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"):
        if Path(path).exists():
            return ImageFont.truetype(path, size)
    return ImageFont.load_default()


def page_colour(book, page):
    """Background colour of page `page` (0-based) of book `book` (0-based)."""
    index = sum(len(b[4]) for b in BOOKS[:book]) + page
    return COLOURS[index % len(COLOURS)]


def _draw(path, colour, number, book, texture):
    # Paper whose grain is one pixel wide, of the page's own colour on average: the grain is lost
    # when the page is shown reduced.
    grain = 20 if texture else 0
    image = Image.new("RGB", PAGE_SIZE, tuple(c - grain for c in colour))
    draw = ImageDraw.Draw(image)
    for x in range(0, PAGE_SIZE[0], 2) if texture else ():
        draw.line([(x, 0), (x, PAGE_SIZE[1])], fill=tuple(min(255, c + grain) for c in colour))
    for row in range(12):  # lines of "text"
        y = 280 + row * 120
        draw.rectangle([180, y, PAGE_SIZE[0] - 180, y + 36], fill=(70, 50, 30))
    draw.text((PAGE_SIZE[0] // 2, 2100), str(number), fill=(20, 20, 20), font=_font(360),
              anchor="mm")
    draw.text((PAGE_SIZE[0] // 2, 120), f"LIBRO {book + 1}", fill=(20, 20, 20), font=_font(80),
              anchor="mm")
    image.save(path, quality=90)


def build(folder, pack, texture=False):
    """Writes the scans and the manifest under `folder`/scans and packs them into
    `folder`/volume with the packing tool `pack`; returns the volume folder. With `texture` the
    paper has a grain one pixel wide."""
    folder = Path(folder)
    scans = folder / "scans"
    scans.mkdir(parents=True)
    books = []
    for b, (label, kind, side, first, numbers) in enumerate(BOOKS):
        pages = []
        for p, number in enumerate(numbers):
            name = f"b{b + 1}p{p + 1}.jpg"
            _draw(scans / name, page_colour(b, p), number, b, texture)
            pages.append(name)
        books.append({"label": label, "kind": kind, "side": side, "firstNumber": first,
                      "pages": pages})
    manifest = {"title": "Historia Naturalis", "secondLine": "C. Plinius Secundus",
                "publisher": "Nicolaus Jenson", "place": "Venezia", "year": "1472",
                "workFolder": WORK_FOLDER, "cover": {"book": 1, "page": 1}, "books": books}
    (scans / "manifest.json").write_text(json.dumps(manifest, indent=1))
    volume = folder / "volume"
    subprocess.run([str(pack), "build", str(scans / "manifest.json"), str(volume)], check=True,
                   capture_output=True)
    return volume
