#!/usr/bin/env python3
"""Writes the small PNG files the skin reader's tests read (run it in this
folder; the files are committed). Every picture is the same 7 x 5 pattern,
stored in another way: the tests expect SkinPixel(i) for pixel i in every
file that decodes. The chunks are written here byte by byte, so that each
file has exactly the form its name says."""
import struct
import zlib

W, H = 7, 5
ALPHAS = [0, 255, 128, 1, 254, 77, 255]


def pixel(i):
    """Pixel i as (r, g, b, a); SkinPixel in SkinReaderTest.cpp is the same."""
    return ((i * 37 + 11) & 255, (i * 59 + 23) & 255, (i * 83 + 5) & 255, ALPHAS[i % 7])


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def png(width, height, depth, colour, rows, interlace=0, extra=b""):
    header = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace)
    data = zlib.compress(b"".join(b"\0" + row for row in rows), 9)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + extra + chunk(b"IDAT", data) +
            chunk(b"IEND", b""))


def rgba_row(y, xs, sample):
    return b"".join(b"".join(sample(c) for c in pixel(y * W + x)) for x in xs)


def eight(c):
    return bytes([c])


def sixteen(c):
    return struct.pack(">H", c * 257)


def adam7_rows():
    """The seven passes' rows one after another (each pass is its own image)."""
    passes = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2),
              (0, 1, 1, 2)]
    rows = []
    for x0, y0, dx, dy in passes:
        xs = range(x0, W, dx)
        if len(xs) == 0:
            continue
        rows += [rgba_row(y, xs, eight) for y in range(y0, H, dy)]
    return rows


def main():
    plain = png(W, H, 8, 6, [rgba_row(y, range(W), eight) for y in range(H)])
    files = {
        "rgba.png": plain,
        "rgba16.png": png(W, H, 16, 6, [rgba_row(y, range(W), sixteen) for y in range(H)]),
        "interlaced.png": png(W, H, 8, 6, adam7_rows(), interlace=1),
        # Cut inside the pixel data.
        "truncated.png": plain[:len(plain) - 30],
        # A valid start of a picture of 100,000 x 100,000 pixels: two rows.
        "huge-header.png": png(100000, 100000, 8, 6, [bytes(400000)] * 2),
    }
    # Palette: entry i is pixel i's colour, its alpha in the transparency chunk.
    colours = [pixel(i) for i in range(W * H)]
    extra = chunk(b"PLTE", b"".join(bytes(c[:3]) for c in colours))
    extra += chunk(b"tRNS", bytes(c[3] for c in colours))
    rows = [bytes(range(y * W, y * W + W)) for y in range(H)]
    files["palette.png"] = png(W, H, 8, 3, rows, extra=extra)
    for name, data in files.items():
        with open(name, "wb") as f:
            f.write(data)


main()
