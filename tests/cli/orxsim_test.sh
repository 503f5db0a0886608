#!/usr/bin/env bash
# orxsim driven as a user drives it: conversions between every picture
# kind, the JSON of `orxsim info`, and the refusals, which must say why in
# one line, exit non-zero and leave the disk as it was.
#
# ORXSIM names the executable. Every file is made here by code, in a
# temporary folder removed on exit.
set -euo pipefail

source "$(dirname "$0")/orxsimChecks.sh"

# The command must succeed quietly.
run_ok() {  # run_ok ARGS...
    run "$@"
    expect_eq "orxsim $* exit status" "$status" 0
    checks=$((checks + 1))
    if [[ -s err.txt ]]; then fail "orxsim $* wrote to stderr: $(head -c 300 err.txt)"; fi
}

# A refused job: exit status 1, one line on stderr, none of the files.
expect_refused() {  # expect_refused WHAT "ARGS" FILES...
    local what=$1 args=$2
    shift 2
    # shellcheck disable=SC2086
    run $args
    expect_eq "$what: exit status" "$status" 1
    expect_eq "$what: lines on stderr" "$(wc -l <err.txt)" 1
    checks=$((checks + 1))
    if [[ ! -s err.txt || -s out.txt ]]; then fail "$what: stdout '$(cat out.txt)', stderr '$(cat err.txt)'"; fi
    expect_absent "$what" "$@"
}

# A field of the JSON object orxsim printed, itself as compact JSON.
json_field() {  # json_field KEY
    "$PY" -c 'import json,sys; d=json.load(open("out.txt")); print(json.dumps(d[sys.argv[1]], separators=(",", ":")))' "$1"
}

expect_info() {  # expect_info FILE KEY=VALUE...
    local file=$1
    shift
    run_ok info "$file"
    checks=$((checks + 1))
    if ! "$PY" -c 'import json; json.load(open("out.txt"))' 2>/dev/null; then
        fail "info $file: not JSON: $(cat out.txt)"
        return
    fi
    expect_eq "info $file: lines on stdout" "$(wc -l <out.txt)" 1
    for pair in "$@"; do
        expect_eq "info $file: ${pair%%=*}" "$(json_field "${pair%%=*}")" "${pair#*=}"
    done
}

# No half-written file may be left beside a target.
expect_no_temp_files() {
    checks=$((checks + 1))
    local left
    left=$(find . -name '*.orxtmp-*' | head -5)
    if [[ -n "$left" ]]; then fail "temporary files left: $left"; fi
}

# ---- fixtures

W=7
H=5

# The test picture: a 24-bit bottom-up bitmap in the form orxsim writes,
# 7 x 5 (rows padded from 21 to 24 bytes), with greys on both sides of 127.
"$PY" - "$W" "$H" <<'EOF'
import struct, sys
w, h = int(sys.argv[1]), int(sys.argv[2])
stride = (3 * w + 3) // 4 * 4
def pixel(x, y):
    if y == 0:
        g = [0, 100, 126, 127, 128, 129, 255][x]
        return (g, g, g)
    return ((x * 37 + y * 11) % 256, (x * 5 + y * 71) % 256, (x * y * 29 + 3) % 256)
rows = b""
for y in range(h - 1, -1, -1):
    row = b"".join(bytes((b, g, r)) for r, g, b in (pixel(x, y) for x in range(w)))
    rows += row + b"\0" * (stride - len(row))
head = b"BM" + struct.pack("<IIIIiiHHIIiiII", 54 + len(rows), 0, 54, 40, w, h, 1, 24, 0, len(rows), 3780, 3780, 0, 0)
open("pic.bmp", "wb").write(head + rows)
# The same pixels as R, G, B rows, top row first.
open("pic.pixels", "wb").write(b"".join(bytes(pixel(x, y)) for y in range(h) for x in range(w)))
EOF

# ---- conversions

# picture -> RGB -> CLO -> PRT -> NIT -> EMB -> MDL -> BMP: every kind
# passes the pixels on untouched, whatever the case of the extension.
chain=(pic.bmp step1.rgb STEP2.CLO step3.prt Step4.Nit step5.EMB STEP6.mdl final.Bmp)
for ((i = 1; i < ${#chain[@]}; ++i)); do
    run_ok convert "${chain[i - 1]}" "${chain[i]}"
done
expect_same_file "the picture after every kind" pic.bmp final.Bmp
expect_same_file "RGB pixels" step1.rgb pic.pixels
check "RGB companion holds the size" "$PY" -c '
import sys
ipr = open("step1.IPR", "rb").read()
sys.exit(not (len(ipr) == 30 + 12600 and ipr[:8] == b"7 5 0 0\0"))'
check "container pixels sit behind the header" "$PY" -c '
import sys
px = open("pic.pixels", "rb").read()
for name in ["STEP2.CLO", "step3.prt", "Step4.Nit", "step5.EMB", "STEP6.mdl"]:
    f = open(name, "rb").read()
    if len(f) != 256 + len(px) + 12600 or f[256:256 + len(px)] != px:
        sys.exit(name)'

# picture -> MSK -> BMP: a pixel is masked when its grey, 0.3 R + 0.6 G +
# 0.1 B in real numbers, is above 127 (worked out here in tenths, exactly:
# the first row's greys 126, 127, 128 sit on the edge).
run_ok convert pic.bmp mask.Msk
run_ok convert mask.Msk mask.bmp
check "mask follows the grey rule" "$PY" - <<'EOF'
import sys
w, h = 7, 5
px = open("pic.pixels", "rb").read()
bmp = open("mask.bmp", "rb").read()
stride = (3 * w + 3) // 4 * 4
bad = []
for y in range(h):
    for x in range(w):
        r, g, b = px[3 * (y * w + x):3 * (y * w + x) + 3]
        want = 255 if 3 * r + 6 * g + b > 1270 else 0
        at = 54 + (h - 1 - y) * stride + 3 * x
        if bmp[at:at + 3] != bytes([want] * 3):
            bad.append("pixel %d,%d grey %.1f: %d, want %d" % (x, y, (3 * r + 6 * g + b) / 10, bmp[at], want))
sys.exit("; ".join(bad) if bad else 0)
EOF
check "mask companion holds the size" "$PY" -c '
import sys
mpr = open("mask.MPR", "rb").read()
sys.exit(not (len(mpr) == 30 + 4200 and mpr[:4] == b"7 5\0"))'

# A model keeps the area it is given in header bytes 41..48, the whole
# image in 49..56; without --area the area is the whole image, and a model
# converted to a model keeps its area.
area_of() {  # area_of FILE OFFSET
    "$PY" -c 'import struct,sys; print(*struct.unpack_from("<4h", open(sys.argv[1], "rb").read(), int(sys.argv[2])))' "$1" "$2"
}
run_ok convert pic.bmp area.mdl --area 1,2,5,3
expect_eq "MDL --area in bytes 41..48" "$(area_of area.mdl 41)" "1 2 5 3"
expect_eq "MDL whole image in bytes 49..56" "$(area_of area.mdl 49)" "0 0 6 4"
run_ok convert pic.bmp area2.MDL --area=0,0,6,4
expect_eq "MDL --area= form" "$(area_of area2.MDL 41)" "0 0 6 4"
run_ok convert pic.bmp whole.mdl
expect_eq "MDL without --area" "$(area_of whole.mdl 41)" "0 0 6 4"
run_ok convert area.mdl again.mdl
expect_eq "MDL to MDL keeps the area" "$(area_of again.mdl 41)" "1 2 5 3"

# The same input converted twice gives the same bytes, companions included.
for ext in rgb msk mdl clo prt nit emb bmp; do
    run_ok convert pic.bmp "twice1.$ext"
    run_ok convert pic.bmp "twice2.$ext"
    expect_same_file "converting to $ext twice" "twice1.$ext" "twice2.$ext"
done
expect_same_file "IPR twice" twice1.IPR twice2.IPR
expect_same_file "MPR twice" twice1.MPR twice2.MPR

# A container kept thumbnail first (as the online library keeps them) reads
# the same picture: its header says where the pixels are.
"$PY" - <<'EOF'
import struct
f = open("STEP2.CLO", "rb").read()
n = 7 * 5 * 3
head = bytearray(f[:256])
struct.pack_into("<I", head, 74, 256 + 12600)
struct.pack_into("<I", head, 90, 256)
open("library.clo", "wb").write(bytes(head) + f[256 + n:] + f[256:256 + n])
EOF
run_ok convert library.clo library.bmp
expect_same_file "thumbnail-first container" library.bmp pic.bmp

# A mesh pair: 2 x 1 cells; the object mesh reaches x 40, the material
# mesh y 33.
"$PY" - <<'EOF'
import struct
C, R = 2, 1
obj = [(20 * c, 10 * r) for r in range(R + 1) for c in range(C + 1)]
mat = [(5 + c, 3 + 30 * r) for r in range(R + 1) for c in range(C + 1)]
open("sleeve.map", "wb").write(struct.pack("<2i", C, R) + b"".join(struct.pack("<2i", *p) for p in obj + mat))
EOF

# ---- info

expect_info step1.rgb kind='"RGB"' width=$W height=$H
expect_info mask.Msk kind='"MSK"' width=$W height=$H
expect_info area.mdl kind='"MDL"' width=$W height=$H area='[1,2,5,3]' pixelOffset=256
expect_info STEP2.CLO kind='"CLO"' width=$W height=$H pixelOffset=256
expect_info step3.prt kind='"PRT"' width=$W height=$H pixelOffset=256
expect_info Step4.Nit kind='"NIT"' width=$W height=$H pixelOffset=256
expect_info step5.EMB kind='"EMB"' width=$W height=$H pixelOffset=256
expect_info library.clo kind='"CLO"' width=$W height=$H pixelOffset=12856
expect_info final.Bmp kind='"BMP"' width=$W height=$H
expect_info sleeve.map kind='"MAP"' columns=2 rows=1 width=41 height=34

# ---- refusals

printf 'not a picture at all' >garbage.bmp
mkdir folder.CLO
printf '7 5 0 0' >short.IPR
head -c 20 pic.pixels >short.rgb

expect_refused "missing input" "convert nothere.bmp out1.rgb" out1.rgb out1.IPR
expect_refused "damaged bitmap" "convert garbage.bmp out2.rgb" out2.rgb out2.IPR
expect_refused "a folder for an input" "convert folder.CLO out3.bmp" out3.bmp
expect_refused "truncated RGB" "convert short.rgb out4.bmp" out4.bmp
expect_refused "output in a missing folder" "convert pic.bmp nofolder/out5.rgb" nofolder
expect_refused "--area beyond the image" "convert pic.bmp out6.mdl --area 0,0,7,4" out6.mdl
expect_refused "--area the wrong way round" "convert pic.bmp out7.mdl --area 5,0,1,4" out7.mdl
expect_refused "--area negative" "convert pic.bmp out8.mdl --area -1,0,1,1" out8.mdl
expect_refused "unknown output kind" "convert pic.bmp out9.xyz" out9.xyz
expect_refused "unknown input kind" "convert pic.xyz out10.rgb" out10.rgb out10.IPR
expect_refused "info of an unknown kind" "info pic.xyz"
expect_refused "info of a missing file" "info nothere.CLO"
expect_refused "info of a damaged bitmap" "info garbage.bmp"
# One message per failure, and the message says why.
printf 'plain text, not a picture of ours at all. %.0s' {1..20} >junk.clo
cp step1.rgb lonely.rgb
"$PY" -c 'import struct; open("big.map", "wb").write(struct.pack("<2i", 300, 300) + bytes(16 * 301 * 301))'
says=(
    "an RGB without its companion|convert lonely.rgb out12.bmp|Can not open lonely.IPR file."
    "a file of another kind named CLO|convert junk.clo out13.bmp|junk.clo file has a damaged header."
    "info of a file of another kind|info junk.clo|junk.clo file has a damaged header."
    "a mesh too large|info big.map|big.map holds a mesh larger than 201 x 201 points."
)
for row in "${says[@]}"; do
    IFS='|' read -r what args line <<<"$row"
    expect_refused "$what" "$args" out12.bmp out13.bmp
    expect_eq "$what: the message" "$(cat err.txt)" "$line"
done

# A node that is no regular file is never replaced by one.
mkfifo pipe.rgb
expect_refused "a FIFO for an output" "convert pic.bmp pipe.rgb" pipe.IPR
check "the FIFO is left a FIFO" test -p pipe.rgb

# Command lines that cannot be understood exit 2 and say why first.
usage_error() {  # usage_error WHAT WORD "ARGS" FILES...
    local what=$1 word=$2 args=$3
    shift 3
    # shellcheck disable=SC2086
    run $args
    expect_eq "$what: exit status" "$status" 2
    checks=$((checks + 1))
    if [[ "$(head -n 1 err.txt)" != "orxsim: "*"$word"* ]]; then fail "$what: first line '$(head -n 1 err.txt)'"; fi
    expect_absent "$what" "$@"
}
usage_error "unknown command" frobnicate "frobnicate pic.bmp"
usage_error "--area not four numbers" --area "convert pic.bmp out11.mdl --area 1,2" out11.mdl
usage_error "convert with one file" convert "convert pic.bmp"
for bad in abc -1 64MB; do
    ORX_BLOCK_BYTES=$bad usage_error "ORX_BLOCK_BYTES=$bad" "ORX_BLOCK_BYTES=$bad" "convert pic.bmp out14.rgb" out14.rgb
done

# A failed conversion leaves an existing output as it was.
cp step1.rgb keep.rgb
cp step1.IPR keep.IPR
cp area.mdl keep.mdl
cp keep.rgb keep.rgb.before
cp keep.IPR keep.IPR.before
cp keep.mdl keep.mdl.before
run convert garbage.bmp keep.rgb
expect_eq "failed convert over keep.rgb: exit status" "$status" 1
expect_same_file "keep.rgb after a failed convert" keep.rgb keep.rgb.before
expect_same_file "keep.IPR after a failed convert" keep.IPR keep.IPR.before
run convert pic.bmp keep.mdl --area 0,0,99,99
expect_eq "failed convert over keep.mdl: exit status" "$status" 1
expect_same_file "keep.mdl after a failed convert" keep.mdl keep.mdl.before
expect_no_temp_files

# ---- pictures of other programs: TIF, JPG, PCX and PNG in, JPG, PNG and TIF out
convert pic.bmp pic.tif
convert pic.bmp pic.png
convert pic.bmp pic.pcx
cjpeg -quality 95 -sample 1x1 pic.bmp >pic.jpg
convert pic.bmp -depth 8 rgb:pic.pixels
for in in pic.tif pic.png pic.pcx pic.jpg; do
    for out in rgb msk mdl clo prt nit emb bmp; do
        run_ok convert "$in" "from-${in#pic.}.$out"
    done
    expect_info "$in" width=7 height=5 orientation=1 "format=\"$(tr a-z A-Z <<<"${in#pic.}")\""
done
# Back out from a native kind; the lossless ones read back exactly.
for out in back.png back.tif back.jpg back.jpeg back.TIFF; do
    run_ok convert from-tif.clo "$out"
done
for out in back.png back.tif back.TIFF; do
    convert "$out" -depth 8 rgb:back.pixels
    expect_same_file "$out read back" back.pixels pic.pixels
done
expect_info back.jpeg kind='"JPG"' width=7 height=5
run_ok convert pic.bmp q20.jpg --quality 20
run_ok convert pic.bmp q95.jpg --quality 95
checks=$((checks + 1))
if [[ $(stat -c %s q20.jpg) -ge $(stat -c %s q95.jpg) ]]; then fail "--quality 20 is not smaller than 95"; fi
usage_error "quality for PNG" quality "convert pic.bmp q.png --quality 50" q.png
usage_error "quality out of range" quality "convert pic.bmp q.jpg --quality 0" q.jpg
# Chosen by the bytes, not the name: a PNG named .PCX opens, PostScript named .TIF does not.
cp pic.png named.pcx
run_ok convert named.pcx named.bmp
printf '%%!PS-Adobe-3.0\nshowpage\n' >fake.tif
expect_refused "PostScript named .tif" "convert fake.tif fake.bmp" fake.bmp
expect_no_temp_files

echo "$checks checks, $failures failed"
[[ $failures -eq 0 ]]
