#!/usr/bin/env python3
"""openarena_map.py BASEOA OUT.map [BRUSHES]: writes a Quake III map of BRUSHES (default 2,400) box
brushes laid out as rooms, textured with names the game folder's own archives hold (effects of its
scripts and images of its textures/ folders), about 300 of them. For load-time figures on a real
game's data; the map holds names only, never game files."""
import random, re, sys, zipfile, glob, os

base, out = sys.argv[1], sys.argv[2]
count = int(sys.argv[3]) if len(sys.argv) > 3 else 2400
names, scripts, listed = set(), {}, None
for pk3 in sorted(glob.glob(os.path.join(base, '*.pk3'))):
    with zipfile.ZipFile(pk3) as z:
        for n in z.namelist():
            m = re.match(r'textures/([^/]+/[^/]+)\.(jpg|tga)$', n, re.I)
            if m: names.add(m.group(1).lower())
            if n.lower() == 'scripts/shaderlist.txt':
                listed = set(z.read(n).decode('latin-1').split())
            if n.lower().startswith('scripts/') and n.lower().endswith('.shader'):
                scripts[os.path.basename(n)[:-7]] = z.read(n).decode('latin-1')
# Effects of the scripts the game lists (all of them without a list), as the editor loads them.
for script, text in scripts.items():
    if listed is None or script in listed:
        names.update(s.lower() for s in re.findall(r'^\s*textures/([\w/\-]+)\s*$', text, re.M))
rng = random.Random(46)
pool = sorted(n for n in names if not n.startswith(('common/', 'sfx/', 'skies/')))
used = rng.sample(pool, min(300, len(pool)))

def box(x0, y0, z0, x1, y1, z1, tex):
    f = lambda *p: '( %d %d %d )' % p
    planes = [
        (f(x0, y0, z0), f(x0, y1, z0), f(x0, y0, z1)), (f(x1, y0, z0), f(x1, y0, z1), f(x1, y1, z0)),
        (f(x0, y0, z0), f(x0, y0, z1), f(x1, y0, z0)), (f(x0, y1, z0), f(x1, y1, z0), f(x0, y1, z1)),
        (f(x0, y0, z0), f(x1, y0, z0), f(x0, y1, z0)), (f(x0, y0, z1), f(x0, y1, z1), f(x1, y0, z1))]
    return '{\n' + ''.join('%s %s %s %s 0 0 0 0.5 0.5 0 0 0\n' % (a, b, c, tex) for a, b, c in planes) + '}\n'

lines = ['{\n"classname" "worldspawn"\n"message" "generated for load figures"\n']
side = int((count / 8) ** 0.5) + 1
made = 0
for i in range(side):
    for j in range(side):
        if made >= count: break
        ox, oy = i * 512, j * 512
        wall, floor = rng.choice(used), rng.choice(used)
        parts = [(ox, oy, -16, ox + 512, oy + 512, 0, floor), (ox, oy, 256, ox + 512, oy + 512, 272, rng.choice(used)),
                 (ox, oy, 0, ox + 16, oy + 512, 256, wall), (ox, oy, 0, ox + 512, oy + 16, 256, wall)]
        for k in range(4):
            x, y = ox + rng.randrange(48, 400, 8), oy + rng.randrange(48, 400, 8)
            parts.append((x, y, 0, x + rng.randrange(16, 96, 8), y + rng.randrange(16, 96, 8), rng.randrange(32, 240, 8), rng.choice(used)))
        for p in parts[:count - made]:
            lines.append(box(*p))
            made += 1
lines.append('}\n')
lines.append('{\n"classname" "info_player_deathmatch"\n"origin" "256 256 64"\n"angle" "45"\n}\n')
open(out, 'w').write(''.join(lines))
print('%d brushes, %d textures -> %s' % (made, len(used), out))
