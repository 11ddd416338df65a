#!/usr/bin/env python3
"""Draws one of the program's pictures from its SVG source.

    make_picture.py SOURCE.svg OUTPUT.ico --palette Palette.css [--variant NAME]
    make_picture.py SOURCE.svg OUTPUT.bmp --palette Palette.css [--variant NAME] --size WxH
                    [--mask RRGGBB --matte RRGGBB]

rsvg-convert renders the source with the palette's stylesheet; this program
packs what it rendered into the file the resource scripts name:

- an icon: one 32-bit image with straight alpha for each of 16, 32 and 48
  pixels, and its AND mask (set where the picture is wholly transparent);
- a bitmap without a mask colour: 32 bits with straight alpha (the program
  premultiplies such bitmaps itself after loading them);
- a bitmap with a mask colour: 24 bits, for code that leaves one colour out.
  Every pixel that is mostly transparent becomes the mask colour; the others
  are blended over the matte, the colour the picture is drawn on, so their
  soft edges fit it. An opaque pixel that would equal the mask colour is
  moved one step off it, or it would vanish.

A source may hold several pictures: elements of class "variant" are hidden
except those that also carry the class given with --variant.
"""

import argparse
import os
import struct
import subprocess
import sys
import tempfile
import zlib

# Below this alpha a pixel of a masked bitmap counts as background.
MASK_ALPHA_THRESHOLD = 32
ICON_SIZES = (16, 32, 48)


def fail(text):
    sys.exit("make_picture: " + text)


def parse_colour(text):
    text = text.lstrip("#")
    if len(text) != 6:
        fail("a colour is six hexadecimal digits: " + text)
    value = int(text, 16)
    return (value >> 16) & 255, (value >> 8) & 255, value & 255


def stylesheet(palette, variant):
    """The palette, and the rule that chooses the variant."""
    with open(palette, encoding="utf-8") as f:
        rules = [f.read()]
    if variant:
        rules.append(".variant { display: none; } .variant.%s { display: inline; }" % variant)
    return "\n".join(rules)


def render(source, palette, variant, width, height, folder, master):
    """rsvg-convert's picture as rows of (r, g, b, a) bytes. When master names
    a file, the picture is kept there too, as a 32-bit bitmap with straight
    alpha: what the tests compare the program's drawing with."""
    css = os.path.join(folder, "style.css")
    png = os.path.join(folder, "picture.png")
    with open(css, "w", encoding="utf-8") as f:
        f.write(stylesheet(palette, variant))
    try:
        subprocess.run(["rsvg-convert", "--stylesheet", css, "--width", str(width), "--height", str(height),
                        "--output", png, source], check=True)
    except OSError as error:
        fail("cannot run rsvg-convert (librsvg2-bin): %s" % error)
    except subprocess.CalledProcessError:
        fail("rsvg-convert could not draw " + source)
    with open(png, "rb") as f:
        picture = read_png(f.read())
    if picture[0] != width or picture[1] != height:
        fail("%s rendered at %dx%d, not %dx%d" % (source, picture[0], picture[1], width, height))
    if master:
        write(master, straight_bitmap(picture[2], width, height))
    return picture[2]


def read_png(data):
    """(width, height, rows) of an 8-bit RGBA PNG as rsvg-convert writes it."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        fail("not a PNG")
    at, header, compressed = 8, None, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        at += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
    if header is None:
        fail("a PNG without a header")
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type != 6 or interlace:
        fail("expected an 8-bit RGBA PNG without interlacing")
    raw = zlib.decompress(compressed)
    stride, step = width * 4, 4
    rows, prior = [], bytearray(stride)
    for y in range(height):
        at = y * (stride + 1)
        kind, row = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        if kind == 1:
            for i in range(step, stride):
                row[i] = (row[i] + row[i - step]) & 255
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + prior[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = row[i - step] if i >= step else 0
                row[i] = (row[i] + ((left + prior[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = row[i - step] if i >= step else 0
                b = prior[i]
                c = prior[i - step] if i >= step else 0
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        elif kind != 0:
            fail("a PNG row with unknown filter %d" % kind)
        rows.append(bytes(row))
        prior = row
    return width, height, rows


def write(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    # Written under another name first, so a failed run leaves no half file
    # that make would take as up to date.
    partial = path + ".part"
    with open(partial, "wb") as f:
        f.write(data)
    os.replace(partial, path)


def pixels(row):
    for x in range(0, len(row), 4):
        yield row[x], row[x + 1], row[x + 2], row[x + 3]


def padded(line):
    return line + b"\0" * (-len(line) % 4)


def info_header(width, height, bits, image_size, pixels_per_metre):
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, image_size, pixels_per_metre,
                       pixels_per_metre, 0, 0)


def bitmap_file(width, height, bits, lines):
    """A BMP file of bottom-up lines (each already padded)."""
    image = b"".join(reversed(lines))
    offset = 14 + 40
    return struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset) + \
        info_header(width, height, bits, len(image), 2835) + image


def bgra_lines(rows):
    return [bytes(b for r, g, bl, a in pixels(row) for b in (bl, g, r, a)) for row in rows]


def straight_bitmap(rows, width, height):
    return bitmap_file(width, height, 32, bgra_lines(rows))


def masked_colour(pixel, mask, matte):
    r, g, b, a = pixel
    if a < MASK_ALPHA_THRESHOLD:
        return mask
    blended = tuple((c * a + m * (255 - a) + 127) // 255 for c, m in zip((r, g, b), matte))
    if blended == mask:
        blue = blended[2]
        blended = (blended[0], blended[1], blue - 1 if blue > 0 else blue + 1)
    return blended


def masked_bitmap(rows, width, height, mask, matte):
    lines = []
    for row in rows:
        line = bytearray()
        for pixel in pixels(row):
            r, g, b = masked_colour(pixel, mask, matte)
            line += bytes((b, g, r))
        lines.append(padded(bytes(line)))
    return bitmap_file(width, height, 24, lines)


def icon_image(rows, size):
    """One icon image: header, bottom-up BGRA colour lines, bottom-up AND mask."""
    mask = []
    for row in rows:
        bits = bytearray((size + 7) // 8)
        for x, (_, _, _, a) in enumerate(pixels(row)):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask.append(padded(bytes(bits)))
    body = b"".join(reversed(bgra_lines(rows))) + b"".join(reversed(mask))
    return info_header(size, size * 2, 32, 0, 0) + body


def icon_file(images):
    """An .ico file of (size, image) pairs."""
    directory = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    entries, bodies = b"", b""
    for size, image in images:
        side = size if size < 256 else 0
        entries += struct.pack("<BBBBHHII", side, side, 0, 0, 1, 32, len(image), offset + len(bodies))
        bodies += image
    return directory + entries + bodies


def main():
    parser = argparse.ArgumentParser(description="Draws one picture of the program from its SVG source.")
    parser.add_argument("source")
    parser.add_argument("output")
    parser.add_argument("--palette", required=True)
    parser.add_argument("--variant")
    parser.add_argument("--size")
    parser.add_argument("--mask")
    parser.add_argument("--matte")
    parser.add_argument("--masters", help="a folder that keeps each rendering, for the tests")
    args = parser.parse_args()
    stem = os.path.splitext(os.path.basename(args.output))[0]

    def master(suffix=""):
        return os.path.join(args.masters, stem + suffix + ".bmp") if args.masters else None

    with tempfile.TemporaryDirectory(prefix="picture-") as folder:
        if args.output.lower().endswith(".ico"):
            data = icon_file([(size, icon_image(render(args.source, args.palette, args.variant, size, size, folder,
                                                       master("-%d" % size)), size))
                              for size in ICON_SIZES])
        elif args.output.lower().endswith(".bmp"):
            try:
                width, height = (int(n) for n in (args.size or "").lower().split("x"))
            except ValueError:
                fail("a bitmap needs --size WxH")
            rows = render(args.source, args.palette, args.variant, width, height, folder, master())
            if args.mask:
                if not args.matte:
                    fail("a masked bitmap needs --matte, the colour it is drawn on")
                data = masked_bitmap(rows, width, height, parse_colour(args.mask), parse_colour(args.matte))
            else:
                data = straight_bitmap(rows, width, height)
        else:
            fail("the output is an .ico or a .bmp file: " + args.output)
    write(args.output, data)


if __name__ == "__main__":
    main()
