#!/usr/bin/env python3
"""Draws the effect editor's 16x16 tool-bar icons (preview shapes, view switches and script
commands) into editor/resources/effects and writes editor/resources/effects.qrc."""
import math, os, struct, zlib

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = os.path.join(root, 'editor', 'resources', 'effects')

INK = (40, 44, 52, 255)
BLUE = (70, 120, 210, 255)
LIGHT = (150, 185, 240, 255)
PALE = (215, 228, 250, 255)
GREEN = (60, 160, 70, 255)
RED = (200, 60, 50, 255)
YELLOW = (235, 190, 60, 255)
BROWN = (150, 100, 50, 255)
WHITE = (255, 255, 255, 255)


class Icon:
    def __init__(self):
        self.p = [[(0, 0, 0, 0)] * 16 for _ in range(16)]

    def put(self, x, y, c):
        if 0 <= x < 16 and 0 <= y < 16:
            self.p[y][x] = c

    def fill(self, inside, c):
        for y in range(16):
            for x in range(16):
                if inside(x + 0.5, y + 0.5):
                    self.put(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        n = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(n + 1):
            t = i / n
            self.put(int(round(x0 + (x1 - x0) * t)), int(round(y0 + (y1 - y0) * t)), c)

    def poly(self, points, c, edge=INK):
        def inside(x, y):
            hit = False
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay > y) != (by > y) and x < ax + (y - ay) * (bx - ax) / (by - ay):
                    hit = not hit
            return hit
        if c:
            self.fill(inside, c)
        if edge:
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                self.line(ax, ay, bx, by, edge)

    def ellipse(self, cx, cy, rx, ry, c, edge=INK):
        if c:
            self.fill(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1, c)
        if edge:
            for i in range(64):
                a = i * math.pi / 32
                self.put(int(round(cx + rx * math.cos(a) - 0.5)), int(round(cy + ry * math.sin(a) - 0.5)), edge)

    def arc(self, cx, cy, r, start, end, c):
        for i in range(48):
            a = math.radians(start + (end - start) * i / 47)
            self.put(int(round(cx + r * math.cos(a) - 0.5)), int(round(cy - r * math.sin(a) - 0.5)), c)

    def save(self, name):
        raw = b''.join(b'\0' + b''.join(bytes(px) for px in row) for row in self.p)

        def chunk(kind, data):
            return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
        data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', 16, 16, 8, 6, 0, 0, 0))
        data += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
        open(os.path.join(out, name + '.png'), 'wb').write(data)


def sp_plane(i):
    i.poly([(1, 11), (6, 4), (15, 4), (10, 11)], LIGHT)


def sp_cube(i):
    i.poly([(2, 5), (7, 2), (14, 2), (9, 5)], PALE)
    i.poly([(9, 5), (14, 2), (14, 10), (9, 14)], BLUE)
    i.poly([(2, 5), (9, 5), (9, 14), (2, 14)], LIGHT)


def sp_cyl(i):
    i.poly([(3, 4), (13, 4), (13, 12), (3, 12)], LIGHT, None)
    i.ellipse(8, 12.5, 5, 2, LIGHT)
    i.line(3, 4, 3, 12, INK)
    i.line(12, 4, 12, 12, INK)
    i.ellipse(8, 4, 5, 2, PALE)


def sp_sph(i):
    i.ellipse(8, 8, 6.5, 6.5, BLUE)
    i.ellipse(6, 6, 2, 2, PALE, None)


def sp_teap(i):
    i.ellipse(8, 10, 5, 4, BLUE)
    i.poly([(3, 10), (0, 5), (1, 5), (4, 8)], BLUE)
    i.arc(13, 10, 2.5, -90, 90, INK)
    i.ellipse(8, 5.5, 3, 1.5, LIGHT)
    i.put(7, 3, INK)
    i.put(8, 3, INK)


def sp_tris(i):
    i.poly([(1, 1), (15, 1), (15, 15), (1, 15)], None)
    for k in (5, 10):
        i.line(k, 1, k, 15, INK)
        i.line(1, k, 15, k, INK)
    i.line(1, 15, 15, 1, INK)
    i.line(1, 10, 10, 1, INK)
    i.line(5, 15, 15, 5, INK)


def sp_n(i):
    i.line(1, 13, 14, 13, INK)
    i.line(1, 14, 14, 14, INK)
    for x in (3, 8, 13):
        i.line(x, 12, x, 3, BLUE)
        i.line(x - 2, 5, x, 3, BLUE)
        i.line(x + 2, 5, x, 3, BLUE)


def sp_ar(i):
    i.arc(8, 8, 6, 30, 330, BLUE)
    i.arc(8, 8, 5, 30, 330, BLUE)
    i.poly([(12, 1), (15, 6), (10, 6)], BLUE, BLUE)


def folder(i):
    i.poly([(0, 4), (5, 4), (6, 6), (15, 6), (15, 14), (0, 14)], YELLOW)


def openi(i):
    folder(i)
    i.poly([(6, 8), (13, 8), (13, 13), (6, 13)], WHITE)
    i.poly([(7, 12), (9, 9), (11, 12)], GREEN, GREEN)


def disk(i):
    i.poly([(1, 1), (13, 1), (15, 3), (15, 15), (1, 15)], BLUE)
    i.poly([(4, 1), (11, 1), (11, 6), (4, 6)], WHITE)
    i.poly([(3, 9), (13, 9), (13, 15), (3, 15)], PALE)


def save_new(i):
    disk(i)
    i.poly([(10, 8), (15, 8), (15, 15), (10, 15)], YELLOW)
    i.line(12, 9, 12, 14, INK)
    i.line(10, 11, 14, 11, INK)


def compile(i):
    i.poly([(2, 1), (11, 1), (14, 4), (14, 15), (2, 15)], WHITE)
    for y in (4, 7):
        i.line(4, y, 11, y, LIGHT)
    i.line(4, 11, 7, 14, GREEN)
    i.line(7, 14, 14, 7, GREEN)
    i.line(4, 10, 7, 13, GREEN)
    i.line(7, 13, 13, 7, GREEN)


def build(i):
    i.line(2, 14, 10, 6, BROWN)
    i.line(3, 14, 11, 6, BROWN)
    i.poly([(7, 4), (11, 0), (15, 4), (11, 8)], (120, 120, 130, 255))


def indent(i):
    for y, x in ((2, 1), (5, 5), (8, 5), (11, 5), (14, 1)):
        i.line(x, y, 15, y, INK)
    i.poly([(0, 6), (3, 8), (0, 10)], BLUE, BLUE)


def autocomp(i):
    i.line(1, 3, 9, 3, INK)
    i.poly([(3, 5), (15, 5), (15, 15), (3, 15)], WHITE)
    i.poly([(4, 6), (14, 6), (14, 8), (4, 8)], LIGHT, None)
    for y in (10, 13):
        i.line(5, y, 13, y, INK)


def fmt(i):
    for y, a, b in ((2, 1, 12), (5, 4, 15), (8, 4, 13), (11, 4, 15), (14, 1, 9)):
        i.line(a, y, b, y, INK)
    i.line(1, 4, 1, 12, BLUE)


def newi(i):
    i.poly([(2, 1), (10, 1), (13, 4), (13, 15), (2, 15)], WHITE)
    i.poly([(4, 9), (11, 9), (11, 13), (4, 13)], LIGHT)
    i.line(12, 0, 12, 6, GREEN)
    i.line(9, 3, 15, 3, GREEN)


icons = [sp_plane, sp_cube, sp_cyl, sp_sph, sp_teap, sp_tris, sp_n, sp_ar, openi, save_new, compile, build,
         indent, autocomp, fmt, newi]
os.makedirs(out, exist_ok=True)
for draw in icons:
    icon = Icon()
    draw(icon)
    icon.save(draw.__name__)
with open(os.path.join(root, 'editor', 'resources', 'effects.qrc'), 'w') as f:
    f.write('<RCC>\n  <qresource prefix="/qrc">\n')
    for draw in icons:
        f.write('    <file alias="%s.png">effects/%s.png</file>\n' % (draw.__name__, draw.__name__))
    f.write('  </qresource>\n</RCC>\n')
print(len(icons), 'icons')
