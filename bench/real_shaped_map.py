#!/usr/bin/env python3
"""real_shaped_map.py BASEOA OUT [--from MAP]: a map shaped like a real capture-the-flag map, and a map pack of
its own beside the game, for the side-by-side load figures (bench/load_figures.sh).

OUT/baseoa/ gets a link to each of BASEOA's PK3s and a map pack made here, "zzz-benchpack.pk3":
its own effect script (a sky with a far box, teleporter and light effects, none named by the
game's shader list) and its own pictures (TGA, generated), as a community map's PK3 brings them.
OUT/realshape.map is a Quake III map of about 2,400 world brushes in rooms (floors, walls with
doorways, ceilings, pillars, stairs, crates), a sky box of the pack's sky, 300 patches of mixed
sizes, 2,300 entities of which 1,900 lights, about 60 MD3 models (the game's own misc_models),
items, weapons, spawn points, the two flags, and brush entities (doors, triggers, teleporters,
jump pads). Faces use about 150 of the game's texture names and the pack's own. OUT is a
temporary folder outside the repository: game files and maps made from their names are never
committed.

With --from MAP (a real map turned back from its BSP, say), OUT/NAME.map is that map with the
lights the compiler stripped put back: 1,900 light entities and 60 misc_models at random spots in
the map's bounds, so a real map's brushes and patches get the entity shape of the real map
measured."""
import glob, io, math, os, random, re, struct, sys, zipfile

base, out = sys.argv[1], sys.argv[2]
source = sys.argv[sys.argv.index('--from') + 1] if '--from' in sys.argv else None
rng = random.Random(58)
game = os.path.join(out, 'baseoa')
os.makedirs(game, exist_ok=True)

# ---- The game's names: textures (from scripts and images) and models --------------------------------
names, scripts, listed, models = set(), {}, None, set()
for pk3 in sorted(glob.glob(os.path.join(base, '*.pk3'))):
    link = os.path.join(game, os.path.basename(pk3))
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.path.abspath(pk3), link)
    with zipfile.ZipFile(pk3) as z:
        for n in z.namelist():
            m = re.match(r'textures/([^/]+/[^/]+)\.(jpg|tga)$', n, re.I)
            if m: names.add(m.group(1).lower())
            if re.match(r'models/mapobjects/.*\.md3$', n, re.I): models.add(n)
            if n.lower() == 'scripts/shaderlist.txt':
                listed = set(z.read(n).decode('latin-1').split())
            if n.lower().startswith('scripts/') and n.lower().endswith('.shader'):
                scripts[os.path.basename(n)[:-7]] = z.read(n).decode('latin-1')
for script, text in scripts.items():
    if listed is None or script in listed:
        names.update(s.lower() for s in re.findall(r'^\s*textures/([\w/\-]+)\s*$', text, re.M))
pool = sorted(n for n in names if not n.startswith(('common/', 'sfx/', 'skies/', 'liquid')))
used = rng.sample(pool, min(150, len(pool)))
models = sorted(models)

# ---- The map pack: pictures and an effect script of its own -----------------------------------------
def tga(w, h, pixel):
    head = struct.pack('<BBBHHBHHHHBB', 0, 0, 2, 0, 0, 0, 0, 0, w, h, 24, 0)
    body = bytearray()
    for y in range(h):
        for x in range(w):
            r, g, b = pixel(x, y)
            body += bytes((b & 255, g & 255, r & 255))
    return head + bytes(body)

pack_images = {
    'textures/benchpack/wall': lambda x, y: (90 + (x ^ y) % 40, 80, 70 + (x * y) % 30),
    'textures/benchpack/floor': lambda x, y: ((x // 16 + y // 16) % 2 * 60 + 60, 70, 60),
    'textures/benchpack/trim': lambda x, y: (140, 120 + y % 32, 40),
    'textures/benchpack/light': lambda x, y: (250, 240, 200 - (x % 16) * 4),
    'textures/benchpack/tele': lambda x, y: (20, 60 + (x + y) % 128, 200),
    'textures/benchpack/tele_swirl': lambda x, y: (40, 40 + int(100 * (1 + math.sin(x / 9.0 + y / 7.0))), 220),
    'textures/benchpack/sky_clouds': lambda x, y: (120 + (x * 7 + y * 3) % 60, 150 + (x * y) % 50, 230),
}
for face, tint in (('rt', 0), ('lf', 10), ('bk', 20), ('ft', 30), ('up', 40), ('dn', 50)):
    pack_images['env/benchpack/sky_' + face] = (lambda t: lambda x, y: (70 + t, 110 + (y // 2) % 64, 200))(tint)
script = '''// The bench map pack's own effects: no shader list names this script.
textures/benchpack/sky
{
	qer_editorimage textures/benchpack/sky_clouds.tga
	surfaceparm noimpact
	surfaceparm nolightmap
	surfaceparm sky
	q3map_sun 1 0.9 0.8 120 45 60
	skyparms env/benchpack/sky - -
	{
		map textures/benchpack/sky_clouds.tga
		tcMod scroll 0.02 0.01
		blendFunc GL_ONE GL_ONE
	}
}

textures/benchpack/tele_fx
{
	qer_editorimage textures/benchpack/tele.tga
	surfaceparm nolightmap
	surfaceparm trans
	cull none
	{
		map textures/benchpack/tele.tga
		tcMod rotate 40
	}
	{
		map textures/benchpack/tele_swirl.tga
		blendFunc GL_ONE GL_ONE
		tcMod scroll 0.3 0.1
		rgbGen wave sin 0.5 0.5 0 1
	}
}

textures/benchpack/light_fx
{
	qer_editorimage textures/benchpack/light.tga
	q3map_surfacelight 2000
	{
		map $lightmap
		rgbGen identity
	}
	{
		map textures/benchpack/light.tga
		blendFunc GL_DST_COLOR GL_ZERO
	}
	{
		map textures/benchpack/light.tga
		blendFunc GL_ONE GL_ONE
		rgbGen wave sin 0.8 0.2 0 0.5
	}
}

textures/benchpack/wall_fx
{
	qer_editorimage textures/benchpack/wall.tga
	{
		map $lightmap
	}
	{
		map textures/benchpack/wall.tga
		blendFunc filter
	}
}
'''
with zipfile.ZipFile(os.path.join(game, 'zzz-benchpack.pk3'), 'w', zipfile.ZIP_DEFLATED) as z:
    z.writestr('scripts/benchpack.shader', script)
    for name, pixel in sorted(pack_images.items()):
        z.writestr(name + '.tga', tga(128, 128, pixel))
    z.writestr('levelshots/realshape.txt', 'generated for load figures\n')
pack = ['benchpack/wall', 'benchpack/floor', 'benchpack/trim', 'benchpack/wall_fx', 'benchpack/light_fx']

# ---- The map ----------------------------------------------------------------------------------------
def pick():
    return rng.choice(pack) if rng.random() < 0.12 else rng.choice(used)

def box(x0, y0, z0, x1, y1, z1, tex):
    f = lambda *p: '( %d %d %d )' % p
    planes = [
        (f(x0, y0, z0), f(x0, y1, z0), f(x0, y0, z1)), (f(x1, y0, z0), f(x1, y0, z1), f(x1, y1, z0)),
        (f(x0, y0, z0), f(x0, y0, z1), f(x1, y0, z0)), (f(x0, y1, z0), f(x1, y1, z0), f(x0, y1, z1)),
        (f(x0, y0, z0), f(x1, y0, z0), f(x0, y1, z0)), (f(x0, y0, z1), f(x0, y1, z1), f(x1, y0, z1))]
    return '{\n' + ''.join('%s %s %s %s 0 0 0 0.5 0.5 0 0 0\n' % (a, b, c, tex) for a, b, c in planes) + '}\n'

def patch(tex, columns, rows, surface):
    lines = ['{\npatchDef2\n{\n%s\n( %d %d 0 0 0 )\n(\n' % (tex, columns, rows)]
    for c in range(columns):
        u = c / (columns - 1)
        pts = []
        for r in range(rows):
            v = r / (rows - 1)
            x, y, z = surface(u, v)
            pts.append('( %.2f %.2f %.2f %.3f %.3f )' % (x, y, z, u * (columns - 1) / 4, v * (rows - 1) / 4))
        lines.append('( ' + ' '.join(pts) + ' )\n')
    lines.append(')\n}\n}\n')
    return ''.join(lines)

if source:
    text = open(source, encoding='latin-1').read()
    coords = [float(v) for v in re.findall(r'\( (-?[\d.]+) (-?[\d.]+) (-?[\d.]+) \)', text)[:200000] for v in v]
    lo = [min(coords[k::3]) for k in range(3)]
    hi = [max(coords[k::3]) for k in range(3)]
    extra = []
    for n in range(1900):
        o = tuple(rng.uniform(lo[k] + 32, hi[k] - 32) for k in range(3))
        extra.append('{\n"classname" "light"\n"origin" "%d %d %d"\n"light" "%d"\n}\n' % (o + (rng.choice((100, 200, 300)),)))
    for n in range(60):
        o = tuple(rng.uniform(lo[k] + 32, hi[k] - 32) for k in range(3))
        extra.append('{\n"classname" "misc_model"\n"origin" "%d %d %d"\n"model" "%s"\n}\n' % (o + (models[n % len(models)],)))
    name = os.path.splitext(os.path.basename(source))[0]
    with open(os.path.join(out, name + '.map'), 'w', encoding='latin-1') as m:
        m.write(text)
        m.writelines(extra)
    print('%s: %s with 1,900 lights and 60 models added' % (os.path.join(out, name + '.map'), source))
    sys.exit(0)

CELL, HEIGHT, GRID = 768, 256, 6 # 6 x 6 rooms
world, entities = [], []
floors = {}
for i in range(GRID):
    for j in range(GRID):
        ox, oy, f = i * CELL, j * CELL, ((i + 2 * j) % 3) * 32
        floors[i, j] = f
        wall, flo, ceil = pick(), pick(), pick()
        world.append(box(ox, oy, f - 16, ox + CELL, oy + CELL, f, flo))
        world.append(box(ox, oy, f + HEIGHT, ox + CELL, oy + CELL, f + HEIGHT + 16, ceil))
        for w in range(2): # south and west walls, a doorway in the middle
            for a, b in ((0, CELL // 2 - 64), (CELL // 2 + 64, CELL)):
                if w == 0: world.append(box(ox + a, oy, f, ox + b, oy + 16, f + HEIGHT, wall))
                else: world.append(box(ox, oy + a, f, ox + 16, oy + b, f + HEIGHT, wall))
            if w == 0: world.append(box(ox + CELL // 2 - 64, oy, f + 128, ox + CELL // 2 + 64, oy + 16, f + HEIGHT, pick()))
            else: world.append(box(ox, oy + CELL // 2 - 64, f + 128, ox + 16, oy + CELL // 2 + 64, f + HEIGHT, pick()))
per_room = (2400 - len(world)) // (GRID * GRID)
for (i, j), f in sorted(floors.items()):
    ox, oy = i * CELL, j * CELL
    k = 0
    while k < per_room:
        x, y = ox + rng.randrange(48, CELL - 160, 8), oy + rng.randrange(48, CELL - 160, 8)
        kind = k % 5
        if kind == 0: # pillar
            world.append(box(x, y, f, x + 32, y + 32, f + HEIGHT, pick())); k += 1
        elif kind == 1: # stairs
            for s in range(min(6, per_room - k)):
                world.append(box(x + s * 16, y, f, x + s * 16 + 16, y + 64, f + (s + 1) * 16, pick())); k += 1
        elif kind == 2: # trim along the south wall
            world.append(box(x, oy + 16, f, x + rng.randrange(64, 256, 8), oy + 24, f + 16, pick())); k += 1
        else: # crate
            s = rng.choice((32, 48, 64))
            world.append(box(x, y, f, x + s, y + s, f + s, pick())); k += 1
# Sky box of the pack's sky around it all.
lo, hi, t, bottom, top = -64, GRID * CELL + 64, 16, -128, 512
for s in ((lo - t, lo - t, bottom - t, hi + t, hi + t, bottom), (lo - t, lo - t, top, hi + t, hi + t, top + t),
          (lo - t, lo - t, bottom, lo, hi + t, top), (hi, lo - t, bottom, hi + t, hi + t, top),
          (lo, lo - t, bottom, hi, lo, top), (lo, hi, bottom, hi, hi + t, top)):
    world.append(box(*s, 'benchpack/sky'))
# Patches: bevels, arches, pipes, columns and bumps in the mix real maps have.
sizes = [(3, 3)] * 28 + [(5, 3)] * 8 + [(3, 5)] * 4 + [(9, 3)] * 4 + [(3, 9), (9, 9), (5, 5)] + [(7, 3)] * 2
patches = []
for p in range(300):
    i, j = p % GRID, (p // GRID) % GRID
    ox, oy, f = i * CELL, j * CELL, floors[i, j]
    cols, rows = sizes[p % len(sizes)]
    x, y = ox + rng.randrange(64, CELL - 320), oy + rng.randrange(64, CELL - 320)
    tex = 'benchpack/tele_fx' if p < 8 else pick()
    if cols == rows and cols > 3:
        s = lambda u, v: (x + u * 192, y + v * 192, f + 1 + 32 * math.sin(u * math.pi) * math.sin(v * math.pi))
    elif cols == 3 and rows == 3:
        s = lambda u, v: (x + v * 64, oy + 48 - 32 * math.cos(u * math.pi / 2), f + 32 - 32 * math.sin(u * math.pi / 2))
    elif cols > rows and p % 4 == 0:
        s = lambda u, v: (ox + CELL / 2 - 64 * math.cos(u * math.pi), oy + v * 16, f + 96 + 32 * math.sin(u * math.pi))
    elif cols > rows:
        s = lambda u, v: (x + u * 256, oy + 40 - 24 * math.cos(v * math.pi), f + 48 + 24 * math.sin(v * math.pi) + (p % 4) * 24)
    else:
        s = lambda u, v: (x + 24 * math.cos(u * math.pi), y + 24 * math.sin(u * math.pi), f + v * HEIGHT)
    patches.append(patch(tex, cols, rows, s))

def spot(i, j, z=24):
    return (i * CELL + rng.randrange(48, CELL - 48), j * CELL + rng.randrange(48, CELL - 48), floors[i, j] + z)

def point(classname, origin, **keys):
    keys = ''.join('"%s" "%s"\n' % kv for kv in keys.items())
    return '{\n"classname" "%s"\n"origin" "%d %d %d"\n%s}\n' % ((classname,) + origin + (keys,))

entities.append(point('info_player_deathmatch', (CELL // 2, CELL // 2, floors[0, 0] + 40), angle='0'))
for n in range(1900): # lights: ceiling lamps and wall lights
    i, j = rng.randrange(GRID), rng.randrange(GRID)
    entities.append(point('light', spot(i, j, rng.randrange(40, HEIGHT - 24)), light=str(rng.choice((100, 150, 200, 300))),
                          _color='%.2f %.2f %.2f' % (rng.uniform(0.7, 1), rng.uniform(0.7, 1), rng.uniform(0.6, 1))))
for n in range(60): # the game's models
    i, j = rng.randrange(GRID), rng.randrange(GRID)
    entities.append(point('misc_model', spot(i, j, 0), model=models[n % len(models)], angle=str(rng.randrange(0, 360, 15))))
items = ['item_health', 'item_health_large', 'item_armor_shard', 'item_armor_combat', 'ammo_rockets', 'ammo_bullets',
         'ammo_shells', 'ammo_cells', 'item_quad', 'holdable_medkit']
weapons = ['weapon_rocketlauncher', 'weapon_railgun', 'weapon_shotgun', 'weapon_plasmagun', 'weapon_lightning',
           'weapon_grenadelauncher']
for n in range(150):
    i, j = rng.randrange(GRID), rng.randrange(GRID)
    entities.append(point(items[n % len(items)] if n % 4 else weapons[n % len(weapons)], spot(i, j)))
for n in range(32):
    i, j = rng.randrange(GRID), rng.randrange(GRID)
    entities.append(point(('team_CTF_redspawn', 'team_CTF_bluespawn', 'info_player_deathmatch')[n % 3], spot(i, j), angle=str(rng.randrange(0, 360, 45))))
entities.append(point('team_CTF_redflag', spot(0, 0)))
entities.append(point('team_CTF_blueflag', spot(GRID - 1, GRID - 1)))
for n in range(60):
    i, j = rng.randrange(GRID), rng.randrange(GRID)
    entities.append(point(('target_position', 'target_speaker', 'info_notnull', 'misc_teleporter_dest')[n % 4], spot(i, j), targetname='t%d' % n))
brush_entities = []
for n in range(70): # doors, teleporter triggers, jump pads, static groups
    i, j = n % GRID, (n // GRID) % GRID
    x, y, f = spot(i, j, 0)
    kind = n % 4
    if kind == 0:
        ox, oy = i * CELL, j * CELL
        body = box(ox + CELL // 2 - 64, oy + 4, f, ox + CELL // 2 + 64, oy + 12, f + 128, pick())
        brush_entities.append('{\n"classname" "func_door"\n"angle" "90"\n' + body + '}\n')
    elif kind == 1:
        body = box(x, y, f, x + 64, y + 64, f + 96, 'common/trigger')
        brush_entities.append('{\n"classname" "trigger_teleport"\n"target" "t%d"\n' % (n % 60) + body + '}\n')
    elif kind == 2:
        body = box(x, y, f, x + 64, y + 64, f + 16, 'common/trigger')
        brush_entities.append('{\n"classname" "trigger_push"\n"target" "t%d"\n' % (n % 60) + body + '}\n')
    else:
        body = box(x, y, f, x + 96, y + 32, f + 48, pick()) + box(x, y + 32, f, x + 32, y + 96, f + 48, pick())
        brush_entities.append('{\n"classname" "func_static"\n' + body + '}\n')
with open(os.path.join(out, 'realshape.map'), 'w') as m:
    m.write('{\n"classname" "worldspawn"\n"message" "real-shaped, generated for load figures"\n')
    m.writelines(world)
    m.writelines(patches)
    m.write('}\n')
    m.writelines(entities)
    m.writelines(brush_entities)
print('%s: %d world brushes, %d patches, %d entities (1,900 lights), %d brush entities, %d game textures, '
      '%d models; pack %s' % (os.path.join(out, 'realshape.map'), len(world), len(patches), len(entities) + len(brush_entities) + 1,
                              len(brush_entities), len(used), len(models), os.path.join(game, 'zzz-benchpack.pk3')))
