#!/usr/bin/env python3
"""Exported maps compile to the same game as their originals, checked with the game's map compiler.

usage: compile_exports.py --mapconv PROGRAM --tools DIR --work DIR MAP...

DIR of --tools holds the compiler's source and scripts (build.sh, compile.sh, bspcmp.py). Each MAP
is compiled as it is and after two routes through the editor: imported and exported (.map to
.map), and imported, saved as a project and exported (.map to .zmf to .map). Every compile of an
export must agree with the original's (bspcmp.py), the export must keep every entity key (the
compiler drops some, as a group's), and exporting the export again by the same route
must give the same bytes. The compiler is built once into the work folder and kept there; the game
folder it reads (a few effects and textures) is made here.

Exit 0 when everything agrees, 1 on a difference, 77 (skipped, with a message) when a tool is
missing.
"""
import argparse
import concurrent.futures
import os
import re
import shutil
import struct
import subprocess
import sys
import time

SKIP = 77

# The effects the fixtures use, with the surface parameters that decide their collision. As in
# games whose scripts leave it solid, common/skip is solid: a hint brush is a hint brush only
# while its first face is common/hint.
SHADERS = """\
textures/common/hint
{
	qer_nocarve
	surfaceparm nodraw
	surfaceparm nonsolid
	surfaceparm structural
	surfaceparm trans
	surfaceparm noimpact
	surfaceparm hint
}

textures/common/skip
{
	surfaceparm nodraw
	surfaceparm skip
}

textures/common/caulk
{
	surfaceparm nodraw
	surfaceparm nomarks
	surfaceparm nolightmap
}

textures/test/glass
{
	surfaceparm trans
	{
		map textures/test/glass.tga
		blendfunc add
	}
}
"""

# name: (width, height); sizes differ so that texture coordinates show a wrong projection.
TEXTURES = {"wall": (64, 128), "floor": (128, 64), "roof": (64, 64), "glass": (32, 32)}


# The editor's own worldspawn keys, which an export adds.
EDITOR_KEYS = {"mapversion", "_generator"}


def entity_keys(path):
    """The key/value pairs of every entity of a .map, in file order (the compiler does not keep
    every key in the BSP: a group's keys go with its brushes into the world)."""
    entities, depth = [], 0
    text = open(path, encoding="latin-1").read()
    for m in re.finditer(r'"([^"\n]*)"[ \t]+"([^"\n]*)"|\{|\}|//[^\n]*', text):
        tok = m.group(0)
        if tok == "{":
            depth += 1
            if depth == 1:
                entities.append([])
        elif tok == "}":
            depth -= 1
        elif depth == 1 and m.group(1) is not None and m.group(1) not in EDITOR_KEYS:
            entities[-1].append((m.group(1), m.group(2)))
    return [sorted(e) for e in entities]


def skip(reason):
    print(f"skipped: {reason}")
    sys.exit(SKIP)


def write_tga(path, width, height):
    header = struct.pack("<BBBHHBHHHHBB", 0, 0, 2, 0, 0, 0, 0, 0, width, height, 24, 0)
    pixels = bytes((x * 37 + y * 11) & 0xFF for y in range(height) for x in range(width * 3))
    with open(path, "wb") as f:
        f.write(header + pixels)


def make_game(root):
    base = os.path.join(root, "baseoa")
    os.makedirs(os.path.join(base, "scripts"), exist_ok=True)
    os.makedirs(os.path.join(base, "textures", "test"), exist_ok=True)
    with open(os.path.join(base, "scripts", "fixtures.shader"), "w") as f:
        f.write(SHADERS)
    with open(os.path.join(base, "scripts", "shaderlist.txt"), "w") as f:
        f.write("fixtures\n")
    for name, (w, h) in TEXTURES.items():
        write_tga(os.path.join(base, "textures", "test", name + ".tga"), w, h)
    return root


def run(args, log=None, **kw):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True, **kw)
    if log:
        with open(log, "w") as f:
            f.write(result.stdout)
    return result


class Check:
    def __init__(self, opts, q3map2, game):
        self.opts, self.q3map2, self.game = opts, q3map2, game
        self.failures = []
        self.rows = []

    def fail(self, case, text):
        self.failures.append(f"{case}: {text}")

    def mapconv(self, case, src, dst):
        r = run([self.opts.mapconv, src, dst])
        # 4: written, with errors logged (a brush the editor cannot build is still written).
        if r.returncode not in (0, 4) or not os.path.exists(dst):
            self.fail(case, f"mapconv {os.path.basename(src)} -> {os.path.basename(dst)} exited "
                            f"{r.returncode}:\n{r.stdout}")
            return False
        return True

    def compile(self, case, folder, name):
        env = dict(os.environ, THREADS="1")
        r = run(["bash", os.path.join(self.opts.tools, "compile.sh"), self.q3map2, self.game, folder, name],
                env=env)
        if r.returncode != 0 or not os.path.exists(os.path.join(folder, name + ".bsp")):
            log = ""
            for stage in ("bsp.log", "vis.log"):
                p = os.path.join(folder, stage)
                if os.path.exists(p):
                    log += open(p, errors="replace").read()[-1500:]
            self.fail(case, f"the compiler failed on {folder}/{name}.map:\n{log}")
            return False
        return True

    def route(self, name, orig_dir, label, steps):
        """steps: the file names to convert through, ending in the exported .map; the route is run
        twice, the second time from the first export."""
        case = f"{name} ({label})"
        work = os.path.join(self.opts.work, name, label)
        again = os.path.join(work, "again")
        shutil.rmtree(work, ignore_errors=True)
        os.makedirs(again)
        exports = []
        src = os.path.join(orig_dir, name + ".map")
        for folder in (work, again):
            for step in steps:
                dst = os.path.join(folder, step.format(name=name))
                if not self.mapconv(case, src, dst):
                    self.rows.append((case, "mapconv failed"))
                    return
                src = dst
            exports.append(src)
        if not self.compile(case, work, name):
            self.rows.append((case, "compile failed"))
            return
        r = run([sys.executable, os.path.join(self.opts.tools, "bspcmp.py"), orig_dir, work, name],
                log=os.path.join(work, "bspcmp.log"))
        same_compile = r.returncode == 0
        if not same_compile:
            self.fail(case, f"compiles differently from the original (bspcmp.py):\n{r.stdout[-3000:]}")
        before, after = entity_keys(os.path.join(orig_dir, name + ".map")), entity_keys(exports[0])
        keys = before == after
        if not keys:
            diff = next(((i, b, a) for i, (b, a) in enumerate(zip(before, after)) if b != a),
                        (min(len(before), len(after)), len(before), len(after)))
            self.fail(case, f"the export's entity keys differ from the original's: entity {diff[0]}: "
                            f"{diff[1]} -> {diff[2]}")
        first, second = (open(p, "rb").read() for p in exports)
        stable = first == second
        if not stable:
            self.fail(case, f"a second export differs from the first: {exports[0]} {exports[1]}")
        self.rows.append((case, f"compile {'agrees' if same_compile else 'DIFFERS'}, keys "
                                f"{'kept' if keys else 'DIFFER'}, second export "
                                f"{'identical' if stable else 'DIFFERS'}"))

    def map(self, path):
        name = os.path.splitext(os.path.basename(path))[0]
        orig = os.path.join(self.opts.work, name, "original")
        shutil.rmtree(orig, ignore_errors=True)
        os.makedirs(orig)
        shutil.copyfile(path, os.path.join(orig, name + ".map"))
        if not self.compile(f"{name} (original)", orig, name):
            self.rows.append((f"{name} (original)", "compile failed"))
            return
        self.route(name, orig, "map", ["{name}.map"])
        self.route(name, orig, "zmf", ["{name}.zmf", "{name}.map"])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--mapconv", required=True)
    ap.add_argument("--tools", required=True)
    ap.add_argument("--work", required=True)
    ap.add_argument("maps", nargs="+")
    opts = ap.parse_args()
    # The compile script works in the map's folder: every path absolute.
    opts.mapconv, opts.tools, opts.work = (os.path.abspath(p) for p in (opts.mapconv, opts.tools, opts.work))
    opts.maps = [os.path.abspath(p) for p in opts.maps]

    for script in ("build.sh", "compile.sh", "bspcmp.py"):
        if not os.path.exists(os.path.join(opts.tools, script)):
            skip(f"the map compiler's folder {opts.tools} (with {script}) is missing")
    for tool in ("cmake", "ninja", "patch", "bash"):
        if not shutil.which(tool):
            skip(f"{tool} is missing, needed to build the map compiler")
    if not any(shutil.which(cc) for cc in ("cc", "gcc", "clang")):
        skip("no C compiler, needed to build the map compiler")

    os.makedirs(opts.work, exist_ok=True)
    start = time.time()
    # build.sh keeps a finished build and rebuilds only when the source or patch is newer.
    r = run(["bash", os.path.join(opts.tools, "build.sh"), os.path.join(opts.work, "q3map2")])
    q3map2 = r.stdout.strip().splitlines()[-1] if r.stdout.strip() else ""
    if r.returncode != 0 or not os.access(q3map2, os.X_OK):
        print(f"building the map compiler failed:\n{r.stdout}")
        return 1
    print(f"map compiler: {q3map2} ({time.time() - start:.0f} s)")
    game = make_game(os.path.join(opts.work, "game"))

    check = Check(opts, q3map2, game)
    # Two maps at a time: the converter and the compiler each use one core.
    with concurrent.futures.ThreadPoolExecutor(max_workers=2) as pool:
        for future in [pool.submit(check.map, path) for path in opts.maps]:
            future.result()
    for case, text in sorted(check.rows):
        print(f"{case:32} {text}")
    for text in sorted(check.failures):
        print(f"\nFAIL {text}")
    print(f"\n{len(check.failures)} failures, {time.time() - start:.0f} s")
    return 1 if check.failures else 0


if __name__ == "__main__":
    sys.exit(main())
