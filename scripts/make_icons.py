#!/usr/bin/env python3
"""Writes the placeholder icons of the command and tool tables into editor/resources/icons and
the resource file editor/resources/icons.qrc: each icon a framed square in a colour of its own
(from its name), 16x16 for commands and 40x32 for the tool bar. Run again after adding names."""
import hashlib, os, re, struct, zlib

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
out = os.path.join(root, 'editor', 'resources', 'icons')
table = open(os.path.join(root, 'editor', 'mainwindow', 'ActionTable.cpp')).read()

def png(path, w, h, pixel):
    raw = b''.join(b'\0' + b''.join(bytes(pixel(x, y)) for x in range(w)) for y in range(h))
    def chunk(kind, data):
        return struct.pack('>I', len(data)) + kind + data + struct.pack('>I', zlib.crc32(kind + data))
    data = b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0))
    data += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(data)

def icon(name, w, h):
    d = hashlib.md5(name.encode()).digest()
    fill = (64 + d[0] % 160, 64 + d[1] % 160, 64 + d[2] % 160, 255)
    mark = d[3] % 4  # a simple mark so neighbours differ in shape too
    def pixel(x, y):
        if x in (0, w - 1) or y in (0, h - 1):
            return (40, 40, 40, 255)
        cx, cy = x - w // 2, y - h // 2
        inner = [abs(cx) < w // 5, abs(cy) < h // 5, abs(cx) == abs(cy), abs(cx) + abs(cy) < h // 3][mark]
        return (255, 255, 255, 255) if inner else fill
    png(os.path.join(out, name + '.png'), w, h, pixel)

# The icon column is the fifth field of a row; tool rows use the tool-bar size. Rows may span lines.
names = {}
for body in re.findall(r'\{([^{}]*)\}', re.sub(r'//[^\n]*', '', table)):
    fields = re.findall(r'nullptr|"(?:[^"\\]|\\.)*"|[^,\s][^,]*', body.replace('\n', ' '))
    if len(fields) >= 13 and fields[4].startswith('"'):
        name = fields[4][1:-1]
        names[name] = (40, 32) if fields[2].startswith('"Tool') and name.startswith('tool') else (16, 16)
    if len(fields) == 3 and fields[1].startswith('"'):  # web links: caption, icon, address
        names[fields[1][1:-1]] = (16, 16)
os.makedirs(out, exist_ok=True)
for name, (w, h) in sorted(names.items()):
    icon(name, w, h)
with open(os.path.join(root, 'editor', 'resources', 'icons.qrc'), 'w') as f:
    f.write('<RCC>\n  <qresource prefix="/qrc">\n')
    for name in sorted(names):
        f.write('    <file alias="%s.png">icons/%s.png</file>\n' % (name, name))
    f.write('  </qresource>\n</RCC>\n')
print(len(names), 'icons')
