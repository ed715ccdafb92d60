#!/usr/bin/env python3
"""Writes sample.map: three rooms of the sample game joined by doorways, with pillars, stairs,
crates, a slime pool, a glass window, a patch arch, a door and a trigger, a player start, lights
and items. Run from this folder to regenerate the committed map."""

WALL = "gothic_block/blocks11b"
FLOOR = "gothic_floor/largerblock3b3dim"
CEIL = "gothic_ceiling/woodceiling1a"
METAL = "sample/metal"
CAULK = "common/caulk"


def box(lo, hi, tex, top=None):
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    top = top or tex
    faces = [
        ((x0, y0, z1), (x0, y0, z0), (x0, y1, z0), tex),
        ((x1, y1, z0), (x1, y0, z0), (x1, y0, z1), tex),
        ((x1, y0, z0), (x0, y0, z0), (x0, y0, z1), tex),
        ((x0, y1, z1), (x0, y1, z0), (x1, y1, z0), tex),
        ((x0, y1, z0), (x0, y0, z0), (x1, y0, z0), tex),
        ((x1, y0, z1), (x0, y0, z1), (x0, y1, z1), top),
    ]
    lines = ["{"]
    for a, b, c, t in faces:
        pts = " ".join("( %d %d %d )" % p for p in (a, b, c))
        lines.append("%s %s 0 0 0 0.5 0.5 0 0 0" % (pts, t))
    lines.append("}")
    return "\n".join(lines)


def arch(x, y0, y1, z0, z1):
    """A 3 x 3 patch arching over a doorway in the plane x."""
    ym = (y0 + y1) / 2
    rows = []
    for i, xx in enumerate((x - 8, x, x + 8)):
        pts = [(xx, y0, z0, i / 2, 0), (xx, ym, z1 + (z1 - z0), i / 2, 0.5), (xx, y1, z0, i / 2, 1)]
        rows.append("( " + " ".join("( %g %g %g %g %g )" % p for p in pts) + " )")
    return "patchDef2\n{\n%s\n( 3 3 0 0 0 )\n(\n%s\n)\n}" % (METAL, "\n".join(rows))


def entity(classname, brushes=(), **keys):
    lines = ["{", '"classname" "%s"' % classname]
    lines += ['"%s" "%s"' % (k, v) for k, v in keys.items()]
    for i, b in enumerate(brushes):
        lines.append("// brush %d" % i)
        lines.append("{\n" + b + "\n}" if b.startswith("patchDef2") else b)
    lines.append("}")
    return "\n".join(lines)


ROOM = 512   # inside size
HIGH = 256
T = 16       # wall thickness
DOOR_W, DOOR_H = 128, 160
world = []
entities = []
rooms = 3
for r in range(rooms):
    x0 = r * (ROOM + T)
    x1 = x0 + ROOM
    sky = r == rooms - 1
    world.append(box((x0 - T, -T, -T), (x1 + T, ROOM + T, 0), CAULK, FLOOR))
    world.append(box((x0 - T, -T, HIGH), (x1 + T, ROOM + T, HIGH + T), "sample/sky" if sky else CEIL))
    world.append(box((x0 - T, -T, 0), (x1 + T, 0, HIGH), WALL))
    world.append(box((x0 - T, ROOM, 0), (x1 + T, ROOM + T, HIGH), WALL))
    # The west wall of the first room is solid; every other room's west wall is the doorway shared
    # with the room before.
    dy0, dy1 = (ROOM - DOOR_W) // 2, (ROOM + DOOR_W) // 2
    if r == 0:
        world.append(box((x0 - T, 0, 0), (x0, ROOM, HIGH), WALL))
    else:
        world.append(box((x0 - T, 0, 0), (x0, dy0, HIGH), WALL))
        world.append(box((x0 - T, dy1, 0), (x0, ROOM, HIGH), WALL))
        world.append(box((x0 - T, dy0, DOOR_H), (x0, dy1, HIGH), WALL))
    if r == rooms - 1:
        # A glass window in the east wall.
        world.append(box((x1, 0, 0), (x1 + T, ROOM, 64), WALL))
        world.append(box((x1, 0, 192), (x1 + T, ROOM, HIGH), WALL))
        world.append(box((x1, 0, 64), (x1 + T, 160, 192), WALL))
        world.append(box((x1, 352, 64), (x1 + T, ROOM, 192), WALL))
        world.append(box((x1, 160, 64), (x1 + T, 352, 192), "sample/glass"))
    # Four pillars with bases and caps.
    for px, py in ((96, 96), (96, ROOM - 96), (ROOM - 96, 96), (ROOM - 96, ROOM - 96)):
        cx = x0 + px
        world.append(box((cx - 24, py - 24, 0), (cx + 24, py + 24, 16), METAL))
        world.append(box((cx - 16, py - 16, 16), (cx + 16, py + 16, HIGH - 16), WALL))
        world.append(box((cx - 24, py - 24, HIGH - 16), (cx + 24, py + 24, HIGH), METAL))
    # Crates along the south wall.
    for i in range(4):
        cx = x0 + 160 + i * 56
        world.append(box((cx, 16, 0), (cx + 48, 64, 48), CEIL))
    world.append(box((x0 + 188, 16, 48), (x0 + 236, 64, 96), CEIL))
    # Lights and the room's item.
    for lx, ly in ((ROOM // 4, ROOM // 2), (3 * ROOM // 4, ROOM // 2), (ROOM // 2, ROOM // 4)):
        entities.append(entity("light", origin="%d %d %d" % (x0 + lx, ly, HIGH - 32), light="300"))

# Room 0: a slime pool; room 1: stairs to a ledge; room 2: a raised platform.
x = 0
world.append(box((x + 192, 320, 0), (x + 320, 448, 4), "sample/slime"))
x = ROOM + T
for i in range(8):
    world.append(box((x + 320 + i * 16, 400, 0), (x + 336 + i * 16, ROOM, 16 + i * 16), METAL))
world.append(box((x + 448, 400, 0), (x + ROOM, ROOM, 128), METAL))
x = 2 * (ROOM + T)
world.append(box((x + 160, 192, 0), (x + 352, 320, 24), METAL))
world.append(box((x + 176, 208, 24), (x + 336, 304, 40), METAL))

dy0, dy1 = (ROOM - DOOR_W) // 2, (ROOM + DOOR_W) // 2
entities.append(entity("info_player_deathmatch", origin="128 256 24", angle="0"))
entities.append(entity("item_armor_shard", origin="%d 256 16" % (ROOM // 2)))
entities.append(entity("weapon_shotgun", origin="%d 256 56" % (2 * (ROOM + T) + 256)))
entities.append(entity("ammo_rockets", origin="%d 456 144" % (ROOM + T + 480)))
# A door in the second doorway and a trigger in front of it.
door_x = 2 * (ROOM + T)
entities.append(entity("func_door", [box((door_x - T + 4, dy0, 0), (door_x - 4, dy1, DOOR_H), METAL)],
                       angle="-2", speed="200", targetname="door1"))
entities.append(entity("trigger_multiple", [box((door_x - 96, dy0, 0), (door_x - T - 8, dy1, 96), "common/trigger")],
                       target="door1", wait="1"))

# The patch arch frames the first doorway.
patch = arch(ROOM + T // 2, dy0, dy1, DOOR_H - 32, DOOR_H)

text = ["// The sample game's map: three rooms, generated by make_sample_map.py."]
text.append("{")
text.append('"classname" "worldspawn"')
text.append('"message" "Z.A.R.V. sample"')
for i, b in enumerate(world):
    text.append("// brush %d" % i)
    text.append(b)
text.append("// brush %d" % len(world))
text.append("{\n" + patch + "\n}")
text.append("}")
text += entities
open("sample.map", "w").write("\n".join(text) + "\n")
print("%d world brushes, %d entities" % (len(world), len(entities) + 1))
