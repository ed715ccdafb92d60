#!/usr/bin/env python3
"""darkradiant_game.py BASEOA OUT [--all]: lays out a game folder DarkRadiant 3.7 (Debian's
package) loads OpenArena from, textured, for the side-by-side load figures. Its "Quake 3" game type, as its log
shows, searches "<engine path>/base/" for "*.pk4" archives and reads effects as materials from
"materials/*.mtr". So OUT/base gets a link "<name>.pk4" to each of the game's PK3s and
OUT/base/materials a copy of each effect script the game lists in scripts/shaderlist.txt (every
script when it has no list, or with --all every script, as the game itself reads them: a map
pack's own scripts are in no list), later archives over earlier ones as the game reads them. OUT is a
temporary folder outside the repository: game files are never committed. Then pick "Quake 3" with
the engine path OUT/ in DarkRadiant's own Game Setup dialog (its first start asks)."""
import glob, os, sys, zipfile

base, out = sys.argv[1], sys.argv[2]
every = '--all' in sys.argv[3:]
os.makedirs(os.path.join(out, 'base', 'materials'), exist_ok=True)
listed, scripts = None, {}
for pk3 in sorted(glob.glob(os.path.join(base, '*.pk3'))):
    link = os.path.join(out, 'base', os.path.basename(pk3)[:-4] + '.pk4')
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(os.path.abspath(pk3), link)
    with zipfile.ZipFile(pk3) as z:
        for n in z.namelist():
            if n.lower() == 'scripts/shaderlist.txt':
                listed = set(z.read(n).decode('latin-1').split())
            elif n.lower().startswith('scripts/') and n.lower().endswith('.shader'):
                scripts[os.path.basename(n)[:-7]] = z.read(n)
written = 0
for name, text in scripts.items():
    if every or listed is None or name in listed:
        with open(os.path.join(out, 'base', 'materials', name + '.mtr'), 'wb') as f:
            f.write(text)
        written += 1
print('%s: %d archives linked, %d effect scripts' % (out, len(glob.glob(os.path.join(base, '*.pk3'))), written))
