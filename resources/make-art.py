#!/usr/bin/env python3
"""Draws the program's pictures and its chime from nothing but arithmetic.

Run from the repository root: python3 resources/make-art.py
Writes resources/pictures/<id>.png and resources/movies/<id>.wav; the outputs are committed.
"""
import math
import struct
import wave
import zlib
from pathlib import Path

HERE = Path(__file__).resolve().parent
SS = 4  # supersamples per pixel side, for smooth edges


class Image:
    def __init__(self, w, h, rgba=(255, 255, 255, 255)):
        self.w, self.h = w, h
        self.px = [list(map(float, rgba)) for _ in range(w * h)]

    def fill(self, fn):
        """Paints every pixel with fn(x, y) -> (r, g, b)."""
        for y in range(self.h):
            for x in range(self.w):
                self.px[y * self.w + x][:3] = fn(x + 0.5, y + 0.5)

    def shape(self, poly, color, alpha=1.0):
        """Blends `color` (a tuple, or fn(x, y)) into the polygon, weighted by its covered area."""
        xs, ys = [p[0] for p in poly], [p[1] for p in poly]
        x0, x1 = max(0, int(min(xs))), min(self.w, int(math.ceil(max(xs))) + 1)
        y0, y1 = max(0, int(min(ys))), min(self.h, int(math.ceil(max(ys))) + 1)
        edges = list(zip(poly, poly[1:] + poly[:1]))
        for y in range(y0, y1):
            rows = []
            for sy in range(SS):
                py = y + (sy + 0.5) / SS
                cuts = sorted(a[0] + (py - a[1]) * (b[0] - a[0]) / (b[1] - a[1])
                              for a, b in edges if (a[1] <= py) != (b[1] <= py))
                rows.append(list(zip(cuts[0::2], cuts[1::2])))
            for x in range(x0, x1):
                hits = 0
                for spans in rows:
                    for sx in range(SS):
                        px = x + (sx + 0.5) / SS
                        hits += any(a <= px < b for a, b in spans)
                if hits:
                    cover = alpha * hits / (SS * SS)
                    c = color(x + 0.5, y + 0.5) if callable(color) else color
                    p = self.px[y * self.w + x]
                    for i in range(3):
                        p[i] += (c[i] - p[i]) * cover
                    p[3] += (255 - p[3]) * cover

    def save(self, path):
        raw = b"".join(b"\0" + bytes(max(0, min(255, round(v))) for p in self.px[y * self.w:(y + 1) * self.w] for v in p)
                       for y in range(self.h))
        def chunk(kind, data):
            return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
        png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", self.w, self.h, 8, 6, 0, 0, 0))
        png += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
        path.write_bytes(png)


def ellipse(cx, cy, rx, ry, n=96):
    return [(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n)) for i in range(n)]


def ring(cx, cy, r_out, r_in, n=96):
    outer = ellipse(cx, cy, r_out, r_out, n)
    inner = ellipse(cx, cy, r_in, r_in, n)[::-1]
    return outer + [outer[0]] + [inner[-1]] + inner  # even-odd: the hole stays clear


def band(p, q, width):
    (ax, ay), (bx, by) = p, q
    length = math.hypot(bx - ax, by - ay)
    nx, ny = -(by - ay) / length * width / 2, (bx - ax) / length * width / 2
    return [(ax + nx, ay + ny), (bx + nx, by + ny), (bx - nx, by - ny), (ax - nx, ay - ny)]


def drop(cx, base, height, halfwidth, lean=0.0, n=80):
    """A flame tongue: round at the bottom, pointed at the top, its tip leaning sideways."""
    pts = []
    for i in range(n):
        t = 2 * math.pi * i / n
        u = (1 - math.cos(t)) / 2  # 0 at the tip, 1 at the bottom
        x = math.sin(t) * halfwidth * math.sin(math.pi * u / 2) ** 1.5
        pts.append((cx + x + lean * (1 - u) ** 2, base - height * (1 - u ** 1.2)))
    return pts


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# 5 x 7 letters for the word mark.
GLYPHS = {
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "I": ["111", "010", "010", "010", "010", "010", "111"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
}


def word(img, text, x, y, color):
    for letter in text:
        rows = GLYPHS[letter]
        for j, row in enumerate(rows):
            for i, bit in enumerate(row):
                if bit == "1":
                    img.shape([(x + i, y + j), (x + i + 1, y + j), (x + i + 1, y + j + 1), (x + i, y + j + 1)], color)
        x += len(rows[0]) + 1


# The flame's tongues, back to front: centre x, height, half width, lean (base at y = 118 of 128), colours.
FLAME = ((64, 108, 40, 10, (200, 40, 20), (240, 110, 30)),
         (58, 80, 28, -9, (235, 100, 25), (250, 170, 40)),
         (66, 52, 17, 5, (250, 200, 60), (255, 240, 170)))


def flame(img, scale=1.0, ox=0.0, oy=0.0, solid=None):
    for cx, height, hw, lean, top, bottom in FLAME:
        poly = drop(ox + cx * scale, oy + 118 * scale, height * scale, hw * scale, lean * scale)
        img.shape(poly, solid or (lambda x, y, a=top, b=bottom: mix(a, b, (y - oy) / (128 * scale))))


def logo(img, ink, solid=None):
    flame(img, 0.15, 1, 0.5, solid)
    word(img, "QUILLFEN", 25, 7, ink)


def quill(img):
    # The feather's spine runs from the nib (lower left) to the tip (upper right), curving slightly.
    spine = [(22 + 86 * t, 112 - 100 * t - 14 * math.sin(math.pi * t)) for t in (i / 60 for i in range(61))]
    left, right = [], []
    for i, (x, y) in enumerate(spine):
        t = i / 60
        (ax, ay), (bx, by) = spine[max(0, i - 1)], spine[min(60, i + 1)]
        length = math.hypot(bx - ax, by - ay)
        nx, ny = -(by - ay) / length, (bx - ax) / length
        w = 0 if t < 0.22 else 19 * math.sin(math.pi * (t - 0.22) / 0.78) ** 0.8
        left.append((x + nx * w * 1.1, y + ny * w * 1.1))
        right.append((x - nx * w * 0.8, y - ny * w * 0.8))
    vane = left + right[::-1]
    img.shape(vane, lambda x, y: mix((30, 70, 110), (70, 150, 170), (128 - y) / 110))
    for i in range(16, 58, 3):  # barbs: light strokes sweeping back from the shaft
        x, y = spine[i]
        img.shape(band((x, y), (x - 13, y - 4), 0.9), (225, 240, 245), 0.55)
        img.shape(band((x, y), (x + 4, y + 13), 0.9), (225, 240, 245), 0.45)
    img.shape([pt for i in range(60) for pt in band(spine[i], spine[i + 1], 2.2)[:2]] +
              [pt for i in range(59, -1, -1) for pt in band(spine[i], spine[i + 1], 2.2)[2:]], (245, 238, 220))
    img.shape([(14, 122), (22, 108), (28, 114)], (40, 40, 45))  # the nib
    img.shape(band((18, 117), (23, 111), 0.8), (200, 200, 205))


def soft_circles(img, circles):
    for cx, cy, r, color, alpha in circles:
        img.shape(ellipse(cx, cy, r, r, 160), color, alpha)


def chime(path, rate=22050, seconds=1.1):
    # A struck glass: a few inharmonic partials, the higher ones dying away faster.
    partials = [(1046.5, 1.0, 3.0), (2428.0, 0.45, 5.5), (4447.0, 0.2, 9.0), (6935.0, 0.08, 14.0)]
    samples = []
    for n in range(int(rate * seconds)):
        t = n / rate
        attack = min(1.0, t / 0.004)
        v = sum(a * math.exp(-d * t) * math.sin(2 * math.pi * f * t) for f, a, d in partials)
        samples.append(attack * v)
    peak = max(abs(v) for v in samples)
    with wave.open(str(path), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(b"".join(struct.pack("<h", round(v / peak * 0.6 * 32767)) for v in samples))


def main():
    pics, movies = HERE / "pictures", HERE / "movies"
    pics.mkdir(exist_ok=True)
    movies.mkdir(exist_ok=True)

    img = Image(527, 216)  # 168: behind the delete confirmation
    img.fill(lambda x, y: mix((252, 246, 238), (246, 222, 210), y / 216))
    soft_circles(img, [(470, 40, 90, (230, 120, 100), 0.18), (520, 170, 70, (210, 80, 70), 0.16),
                       (400, 200, 50, (240, 160, 110), 0.14)])
    img.shape(band((-10, 206), (537, 150), 10), (255, 255, 255), 0.35)
    img.save(pics / "168.png")

    img = Image(128, 128)  # 170: the flame
    flame(img)
    img.save(pics / "170.png")
    img = Image(128, 128)  # 175: where the flame shows
    flame(img, solid=(0, 0, 0))
    img.save(pics / "175.png")

    img = Image(75, 20, (255, 255, 255, 0))  # 172: word mark on a see-through ground
    logo(img, (40, 60, 90))
    img.save(pics / "172.png")
    img = Image(75, 20)  # 181: word mark for the metal look, shown through 180
    logo(img, (30, 30, 35))
    img.save(pics / "181.png")
    img = Image(75, 20)
    logo(img, (0, 0, 0), solid=(0, 0, 0))
    img.save(pics / "180.png")

    img = Image(400, 260)  # 173: behind the changes-applied window; white is see-through
    soft_circles(img, [(380, 250, 110, (120, 190, 170), 0.25), (330, 270, 60, (80, 160, 150), 0.25),
                       (0, 0, 70, (150, 200, 215), 0.2)])
    img.save(pics / "173.png")

    img = Image(20, 20)  # 174: magnifier
    img.shape(band((12.5, 12.5), (18.5, 18.5), 3.2), (70, 70, 75))
    img.shape(ellipse(8, 8, 5.2, 5.2), (210, 230, 245))
    img.shape(ring(8, 8, 6.8, 5.2), (70, 70, 75))
    img.save(pics / "174.png")

    img = Image(128, 128)  # 176: the quill; white is see-through
    quill(img)
    img.save(pics / "176.png")

    chime(movies / "168.wav")


if __name__ == "__main__":
    main()
