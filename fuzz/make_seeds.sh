#!/usr/bin/env bash
# Writes the seed corpora in fuzz/corpus/ from the project's own files and from files that
# terravel-cli and ImageMagick make. Run it again when a format grows a feature worth seeding.
#
#   fuzz/make_seeds.sh [TERRAVEL_CLI]
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
CLI="${1:-$ROOT/build/src/cli/terravel-cli}"
C="$ROOT/fuzz/corpus"
mkdir -p "$C/projectfile" "$C/t3dimport" "$C/xyzimport" "$C/background"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

# Projects: the shipped examples and the New commands.
cp "$ROOT"/resources/examples/*.tvp "$C/projectfile/"
"$CLI" new "$C/projectfile/triangle.tvp" --triangle
"$CLI" new "$C/projectfile/blank.tvp" --blank
"$CLI" new "$C/projectfile/mesh2.tvp" --mesh 2
# The older forms the reader takes: a version-1 trailer, the legacy position block, no trailer,
# and a signature of another text.
python3 - "$C/projectfile" <<'PY'
import struct, sys
d = sys.argv[1]
sig = b"TVP Terravel Project File".ljust(76) + b"\r\n\r\n"
def s(t): return struct.pack("<H", len(t)) + t
body = struct.pack("<i", 3)
for x, y, z, name in ((0, 0, 0, b""), (64, 0, 32, b"Peak"), (0, 64, -16, b"Node3")):
    body += struct.pack("<fff", x, y, z) + s(b"hill") + s(name) + b"\x01"
body += struct.pack("<i", 1) + struct.pack("<iii", 0, 1, 2) + s(b"GenEarth.Grass") + s(b"") + s(b"Top") \
    + struct.pack("<i", 0x00336699) + b"\x00"
v1 = struct.pack("<iiii", 1, -100, 900, 50) + b"\x01" + struct.pack("<ff", 12, -7) + struct.pack("<fii", 1.5, 32, 32)
legacy = struct.pack("<i", 2) + bytes.fromhex("000000000000 8b0000000000 870000000000") + b"\x00" \
    + struct.pack("<ii", 1, 2) + struct.pack("<ff", 3, 4) + struct.pack("<ii", 5, 6) + struct.pack("<fii", 0.25, 16, 16)
open(d + "/trailer-v1.tvp", "wb").write(sig + body + v1)
open(d + "/legacy-pan.tvp", "wb").write(sig + body + legacy)
open(d + "/no-trailer.tvp", "wb").write(sig + body)
open(d + "/other-signature.tvp", "wb").write(b"\0" * 80 + body + v1)
PY

# Unreal text: the exports of those projects, then maps as UnrealEd and later versions write them.
for p in triangle mesh2; do "$CLI" export "$C/projectfile/$p.tvp" "$C/t3dimport/$p.t3d"; done
python3 - "$C/t3dimport" <<'PY'
import sys
d = sys.argv[1]
brush = """Begin Actor Class=Brush Name=Brush1
     Location=(X=16.000000,Y=-32.000000)
     Begin Brush Name=Model1
       Begin PolyList
          Begin Polygon Item=Sheet Texture=Rock Flags=264 Link=3
             Origin   -00128.000000,-00128.000000,-00120.000000
             Normal   +00000.000000,+00000.000000,+00001.000000
             Pan      U=12 V=-4
             TextureU +00001.000000,+00000.000000,+00000.000000
             TextureV +00000.000000,+00001.000000,+00000.000000
             Vertex   -00128.000000,-00128.000000,-00120.000000
             Vertex   +00128.000000,-00128.000000,+00130.000000
             Vertex   +00128.000000,+00128.000000,+00000.500000
             Vertex   -00128.000000,+00128.000000,-00000.000000
          End Polygon
       End PolyList
     End Brush
     Brush=Model'MyLevel.Model1'
End Actor
"""
mover = brush.replace("Class=Brush Name=Brush1", "Class=Mover Name=Mover0").replace("Model1", "Model2")
light = "Begin Actor Class=Light Name=Light0\n     LightBrightness=200\nEnd Actor\n"
classic = "Begin Map\n" + light + brush + mover + "End Map\n"
later = ("Begin Map\nBegin Level NAME=PersistentLevel\n" + brush + "Begin ActorGroup\n Begin Group Name=Cave\n"
         "  Actor=Brush1\n End Group\nEnd ActorGroup\nEnd Level\nBegin Surface\nTEXTURE=Rock\nEnd Surface\nEnd Map\n")
open(d + "/classic-crlf.t3d", "wb").write(classic.replace("\n", "\r\n").encode())
open(d + "/classic-lf-blank-lines.t3d", "wb").write(classic.replace("End Actor\n", "End Actor\n\n").encode())
open(d + "/later-engine.t3d", "wb").write(later.replace("\n", "\r\n").encode())
open(d + "/utf16le.t3d", "wb").write(b"\xff\xfe" + classic.replace("\n", "\r\n").encode("utf-16-le"))
open(d + "/utf16be.t3d", "wb").write(b"\xfe\xff" + classic.encode("utf-16-be"))
PY

# X/Y/Z text: the first byte chooses the decimal separator (bit 2) and the scale (bits 0-1).
for p in triangle Valley; do
  "$CLI" export "$C/projectfile/$p.tvp" "$work/$p.txt"
  { printf '\000'; cat "$work/$p.txt"; } >"$C/xyzimport/$p.txt"
done
printf '\004; comma user\n1,5\t-2,25\t3e2\n\n  7\t8\t9\t10\r\r\n4\t5\t6\032ignored' >"$C/xyzimport/comma-lf.txt"
printf '\002 ; scaled\r\n-1.5\t2\r\nx\ty\tz\r\n' >"$C/xyzimport/scaled-crlf.txt"

# Pictures: the PNG that the render command draws, and small BMP, PPM and XPM pictures.
"$CLI" render "$C/projectfile/triangle.tvp" "$C/background/picture.png" --size 12x8 --fit
python3 - "$C/background" <<'PY'
import struct, sys
d = sys.argv[1]
w, h = 5, 3
pixels = [(x * 60, y * 100, 200) for y in range(h) for x in range(w)]
row = lambda y: b"".join(bytes((b, g, r)) for (r, g, b) in pixels[y * w:(y + 1) * w]) + b"\0" * ((4 - w * 3 % 4) % 4)
data = b"".join(row(y) for y in reversed(range(h)))
bmp = b"BM" + struct.pack("<IHHI", 54 + len(data), 0, 0, 54) + struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0) + data
open(d + "/picture.bmp", "wb").write(bmp)
open(d + "/picture.ppm", "wb").write(b"P6\n%d %d\n255\n" % (w, h) + b"".join(bytes(p) for p in pixels))
open(d + "/picture.xpm", "w").write('/* XPM */\nstatic char *p[] = {\n"4 2 2 1",\n". c #FF0000",\n"# c None",\n".#.#",\n"#.#."};\n')
PY

# Heightmaps: 4 bytes of settings (reader and border, budget, error bound), then the file: 8 and
# 16-bit PNG, a raw picture, and a PNG whose text chunk claims 2 GB.
mkdir -p "$C/heightmap"
python3 - "$C/heightmap" <<'PY'
import math, struct, sys, zlib
d = sys.argv[1]
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff)
def png(w, h, depth, level):
    raw = b""
    for y in range(h):
        raw += b"\0"
        for x in range(w):
            v = level(x, y)
            raw += struct.pack(">H", v) if depth == 16 else bytes((v >> 8,))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, depth, 0, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
hill = lambda x, y: int(32767 + 30000 * math.sin(x * 0.4) * math.cos(y * 0.3))
open(d + "/png16-budget.bin", "wb").write(bytes((0, 200, 0, 0)) + png(24, 17, 16, hill))
open(d + "/png8-seamless-bound.bin", "wb").write(bytes((2, 255, 1, 20)) + png(16, 16, 8, hill))
open(d + "/raw-budget.bin", "wb").write(bytes((1, 60, 0, 0)) + b"".join(struct.pack("<H", hill(i % 12, i // 12)) for i in range(144)))
open(d + "/raw-2x2-seamless.bin", "wb").write(bytes((3, 9, 0, 0)) + b"".join(struct.pack("<H", (i * 7919) % 65536) for i in range(4)))
claims = png(2, 2, 8, lambda x, y: 7)[:33] + struct.pack(">I", 0x7ffffff0) + b"tEXt" + b"a" * 40
open(d + "/png-chunk-claims-2gb.bin", "wb").write(bytes((0, 10, 0, 0)) + claims)
PY

# Shaping: the command after the triangulation (byte 0: 0 simplify, 1 smooth, 2 triangulate again;
# bit 3 a triangle budget), its amount, then two bytes a node (X and Y on a grid of 8, Z from the
# high bits). Exports: the scale and axes, the node count, 12 bytes of floats a node, then 4 bytes
# a polygon (corners and texts).
mkdir -p "$C/shaping" "$C/exports"
python3 - "$C/shaping" "$C/exports" <<'PY'
import struct, sys
shaping, exports = sys.argv[1], sys.argv[2]
square = bytes([0, 0, 31, 0, 31, 31, 0, 31, 0x4f, 0x6f])        # a square and a raised middle
grid = bytes(b for y in range(4) for x in range(4) for b in (x * 10 | (x << 5), y * 10 | (y << 5)))
open(shaping + "/simplify-budget.bin", "wb").write(bytes([8, 5]) + grid)
open(shaping + "/simplify-error.bin", "wb").write(bytes([0, 3]) + grid)
open(shaping + "/smooth.bin", "wb").write(bytes([1, 7]) + square + grid[:12])
open(shaping + "/triangulate-again.bin", "wb").write(bytes([2, 0]) + square)
open(shaping + "/collinear.bin", "wb").write(bytes([0, 0]) + bytes(b for i in range(8) for b in (i * 3, i * 3)))
def nodes(*xyz): return b"".join(struct.pack("<fff", *p) for p in xyz)
tri = nodes((0, 0, 0), (256, 0, 64), (0, 256, 128)) + bytes([0, 1, 2, 0x1b])
open(exports + "/triangle.bin", "wb").write(bytes([0, 2]) + tri)
open(exports + "/triangle-zup-scaled.bin", "wb").write(bytes([6, 2]) + tri)
open(exports + "/minus-infinity.bin", "wb").write(
    bytes([0, 2]) + nodes((0, 0, 0), (float("-inf"), 0, 0), (0, 256, 0)) + bytes([0, 1, 2, 0]))
open(exports + "/nan-and-huge.bin", "wb").write(
    bytes([2, 3]) + nodes((float("nan"), 0, 0), (3.4e38, -3.4e38, 1e-45), (0, 1, 2), (5, 5, 5))
    + bytes([0, 1, 2, 0x3f, 3, 2, 1, 0x04]))
PY
