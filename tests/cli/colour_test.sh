#!/usr/bin/env bash
# orxsim's colour tools as a user drives them: automask, recolour and
# colourways on small bitmaps made here, their output read back pixel by
# pixel, and the refusals (exit 2 for a command line, 1 for a file, no
# output left either way).
set -euo pipefail

source "$(dirname "$0")/orxsimChecks.sh"

# A refusal: the status, something on stderr, nothing on stdout, no OUT.
expect_refused() {  # expect_refused WHAT STATUS OUT ARGS...
    local what=$1 want=$2 out=$3
    shift 3
    run "$@"
    expect_eq "$what: exit status" "$status" "$want"
    checks=$((checks + 1))
    if [[ ! -s err.txt || -s out.txt ]]; then fail "$what: stdout '$(cat out.txt)', stderr '$(cat err.txt)'"; fi
    checks=$((checks + 1))
    if compgen -G "${out%.*}*" >/dev/null; then fail "$what: $out was written"; fi
}

# bmp.py write NAME W H PIXELS... (RRGGBB each, rows top first) and
# bmp.py read NAME (prints RRGGBB per pixel, rows top first).
cat >bmp.py <<'EOF'
import struct, sys
def write(name, w, h, pixels):
    stride = (3 * w + 3) // 4 * 4
    rows = b""
    for y in range(h - 1, -1, -1):
        row = b"".join(bytes.fromhex(p)[::-1] for p in pixels[y * w:(y + 1) * w])
        rows += row + b"\0" * (stride - len(row))
    head = b"BM" + struct.pack("<IIIIiiHHIIiiII", 54 + len(rows), 0, 54, 40, w, h, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
    open(name, "wb").write(head + rows)
def read(name):
    d = open(name, "rb").read()
    w, h = struct.unpack_from("<ii", d, 18)
    stride = (3 * w + 3) // 4 * 4
    out = []
    for y in range(h):
        at = 54 + (h - 1 - y) * stride
        out += [d[at + 3 * x:at + 3 * x + 3][::-1].hex() for x in range(w)]
    print(" ".join(out))
if sys.argv[1] == "write":
    write(sys.argv[2], int(sys.argv[3]), int(sys.argv[4]), sys.argv[5:])
else:
    read(sys.argv[2])
EOF
pixels() { "$PY" bmp.py read "$1"; }

# 4 x 2: light and dark colours and greys.
"$PY" bmp.py write pic.bmp 4 2 ff0000 c8c8c8 102030 00ff80 404040 e0e0ff 000000 ffffff

# ---- automask: V 200 and above, whatever the hue and saturation
run automask pic.bmp --hue 0-255 --saturation 0-255 --value 200-255 -o light.bmp
expect_eq "automask status" "$status" 0
expect_eq "automask count" "$(cat out.txt)" '{"selected": 5}'
expect_eq "automask picture" "$(pixels light.bmp)" \
    "ffffff ffffff 000000 ffffff 000000 ffffff 000000 ffffff"
# Grey only (H 0, S 0), in the right half: a list of a level and a range.
run automask pic.bmp --hue 0 --saturation=0,0-0 --value 0-255 --area 2,0,3,1 -o grey.bmp
expect_eq "automask grey in an area" "$(pixels grey.bmp)" \
    "000000 000000 000000 000000 000000 000000 ffffff ffffff"
run automask pic.bmp --hue 0-255 --saturation 0-255 --value 0-255 --area 10,10,20,20 -o none.MSK
expect_eq "automask off the picture" "$status/$(cat out.txt)" '0/{"selected": 0}'
expect_eq "automask mask companion" "$(test -s none.MPR && echo yes)" yes
expect_refused "level above 255" 2 bad.bmp automask pic.bmp --hue 0-256 --saturation 0-255 --value 0-255 -o bad.bmp
expect_refused "range backwards" 2 bad.bmp automask pic.bmp --hue 0-255 --saturation 9-3 --value 0-255 -o bad.bmp
expect_refused "no value levels" 2 bad.bmp automask pic.bmp --hue 0-255 --saturation 0-255 -o bad.bmp
expect_refused "missing picture" 1 bad.bmp automask nothere.bmp --hue 0 --saturation 0 --value 0 -o bad.bmp

# ---- recolour: a curves file with R inverted, the rest identity
"$PY" - <<'EOF'
ident = bytes(range(256))
open("invert-red.lut", "wb").write(bytes(range(255, -1, -1)) + ident * 5 + bytes(256 * 6) + b"\x01")
open("identity.lut", "wb").write(ident * 6 + bytes(256 * 6) + b"\x04")
open("short.lut", "wb").write(ident * 6 + bytes(256 * 6))
EOF
run recolour pic.bmp --curves invert-red.lut -o red.bmp
expect_eq "recolour status" "$status" 0
expect_eq "recolour R curve" "$(pixels red.bmp)" \
    "000000 37c8c8 ef2030 ffff80 bf4040 1fe0ff ff0000 00ffff"
run recolour pic.bmp --curves identity.lut --hsv -o same.bmp
expect_eq "identity HSV keeps every byte" "$(pixels same.bmp)" "$(pixels pic.bmp)"
# A mask protects its set pixels: the light ones, masked by automask first.
run automask pic.bmp --hue 0-255 --saturation 0-255 --value 200-255 -o light.MSK
run recolour pic.bmp --curves invert-red.lut --mask light.MSK --area 0,0,2,1 -o masked.bmp
expect_eq "recolour under a mask and in an area" "$(pixels masked.bmp)" \
    "ff0000 c8c8c8 ef2030 00ff80 bf4040 e0e0ff ff0000 ffffff"
"$PY" bmp.py write big.bmp 5 2 000000 000000 000000 000000 000000 000000 000000 000000 000000 000000
run automask big.bmp --hue 0 --saturation 0 --value 0 -o big.MSK
expect_refused "mask of another size" 1 rout.bmp recolour pic.bmp --curves identity.lut --mask big.MSK -o rout.bmp
expect_refused "curves file too short" 1 rout.bmp recolour pic.bmp --curves short.lut -o rout.bmp
expect_refused "no curves" 2 rout.bmp recolour pic.bmp -o rout.bmp

# ---- colourways: red and green exchanged, blue kept
"$PY" bmp.py write design.bmp 3 1 aa0000 00bb00 0000cc
run colourways design.bmp --colours AA0000,00bb00 -o way.bmp
expect_eq "colourways status" "$status" 0
expect_eq "colourways lines" "$(cat out.txt)" \
    '{"way": 0, "row": [1, 2], "file": "way-000.bmp"}
{"way": 1, "row": [2, 1], "file": "way-001.bmp"}'
expect_eq "way 0" "$(pixels way-000.bmp)" "aa0000 00bb00 0000cc"
expect_eq "way 1" "$(pixels way-001.bmp)" "00bb00 aa0000 0000cc"
run colourways design.bmp --colours aa0000,00bb00,0000cc --way 3 -o one.bmp
expect_eq "one way of three" "$status/$(pixels one.bmp)" "0/00bb00 0000cc aa0000"
expect_refused "one colour" 2 cw.bmp colourways design.bmp --colours aa0000 -o cw.bmp
expect_refused "six colours" 2 cw.bmp colourways design.bmp --colours 000001,000002,000003,000004,000005,000006 -o cw.bmp
expect_refused "way past n!" 2 cw.bmp colourways design.bmp --colours aa0000,00bb00 --way 2 -o cw.bmp
expect_refused "malformed colour" 2 cw.bmp colourways design.bmp --colours aa0000,00bg00 -o cw.bmp

echo "$checks checks, $failures failures"
[[ $failures -eq 0 ]]
