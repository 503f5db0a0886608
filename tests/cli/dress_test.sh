#!/usr/bin/env bash
# orxsim dress on the sample library, as a user drives it.
set -euo pipefail
: "${ORXSIM:?ORXSIM must name the orxsim binary}"

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}
status_of() { set +e; "$@" >"$tmp/out.txt" 2>"$tmp/err.txt"; local s=$?; set -e; echo $s; }

"$ORXSIM" sample-library "$tmp/lib" >/dev/null
model=$(ls "$tmp"/lib/*.MDL | grep -v BENCH | head -n 1)
materials=("$tmp"/lib/*.CLO)
mat=${materials[0]}
other=${materials[1]}

# A plain dress, and the same again: the same bytes.
check "dress exits 0" test "$(status_of "$ORXSIM" dress "$model" --material "$mat" -o "$tmp/a.BMP")" = 0
check "the picture is written" test -s "$tmp/a.BMP"
"$ORXSIM" dress "$model" --material "$mat" -o "$tmp/b.BMP"
check "dressing twice gives the same bytes" cmp -s "$tmp/a.BMP" "$tmp/b.BMP"
size=$("$ORXSIM" info "$model" | /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["width"], d["height"])')
got=$("$ORXSIM" info "$tmp/a.BMP" | /usr/bin/python3 -c 'import json,sys; d=json.load(sys.stdin); print(d["width"], d["height"])')
check "the picture has the model's size" test "$size" = "$got"

# Every option changes the picture.
for opts in "--layout horizontal" "--layout vertical" "--soft" "--reflection" "--contrast 2.0"; do
  # shellcheck disable=SC2086
  "$ORXSIM" dress "$model" --material "$mat" $opts -o "$tmp/o.BMP"
  check "$opts changes the picture" bash -c "! cmp -s '$tmp/a.BMP' '$tmp/o.BMP'"
done
"$ORXSIM" dress "$model" --material "$other" -o "$tmp/m.BMP"
check "another material changes the picture" bash -c "! cmp -s '$tmp/a.BMP' '$tmp/m.BMP'"
"$ORXSIM" dress "$model" --material "$mat" --contrast 1.0 --layout normal -o "$tmp/n.BMP"
check "the defaults are contrast 1.0 and the normal layout" cmp -s "$tmp/a.BMP" "$tmp/n.BMP"

# Other output kinds: an RGB comes with its companion, a CLO converts back.
"$ORXSIM" dress "$model" --material "$mat" -o "$tmp/r.RGB"
check "RGB output has its companion" test -s "$tmp/r.IPR"
"$ORXSIM" convert "$tmp/r.RGB" "$tmp/r.BMP"
check "RGB output holds the same picture" cmp -s "$tmp/a.BMP" "$tmp/r.BMP"

# Refusals: nothing written, an existing file untouched.
cp "$tmp/a.BMP" "$tmp/keep.BMP"
check "a missing material fails" test "$(status_of "$ORXSIM" dress "$model" --material "$tmp/none.CLO" -o "$tmp/keep.BMP")" = 1
check "and says why" grep -q "Can not open" "$tmp/err.txt"
check "and leaves the old picture" cmp -s "$tmp/a.BMP" "$tmp/keep.BMP"
check "a contrast out of range is refused" test "$(status_of "$ORXSIM" dress "$model" --material "$mat" --contrast 2.5 -o "$tmp/c.BMP")" = 1
check "no picture for it" test ! -e "$tmp/c.BMP"
check "an unknown layout is a usage error" test "$(status_of "$ORXSIM" dress "$model" --material "$mat" --layout diagonal -o "$tmp/c.BMP")" = 2
check "a missing -o is a usage error" test "$(status_of "$ORXSIM" dress "$model" --material "$mat")" = 2
check "a missing model fails" test "$(status_of "$ORXSIM" dress "$tmp/none.MDL" --material "$mat" -o "$tmp/c.BMP")" = 1

# A model whose ORX file lost its mapping file: the other parts are dressed,
# the picture is written, the status is 3 and the failing lines are named.
stem=${model%.MDL}
cp "$model" "$tmp/part.MDL"
sed -e '0,/\.MSK/s/[^\r]*\.MSK/GONE.MSK/' "$stem.ORX" > "$tmp/part.ORX"
for f in "$tmp"/lib/*.MSK "$tmp"/lib/*.MPR "$tmp"/lib/*.MAP; do cp "$f" "$tmp/"; done
check "a partly mapped model exits 3" test "$(status_of "$ORXSIM" dress "$tmp/part.MDL" --material "$mat" -o "$tmp/p.BMP")" = 3
check "its picture is written" test -s "$tmp/p.BMP"
check "the failing line is named" grep -q "GONE.MSK" "$tmp/err.txt"
check "and it differs from the full dress" bash -c "! cmp -s '$tmp/a.BMP' '$tmp/p.BMP'"

rm "$tmp/part.ORX"
check "a model without its ORX file fails" test "$(status_of "$ORXSIM" dress "$tmp/part.MDL" --material "$mat" -o "$tmp/q.BMP")" = 1
check "and writes nothing" test ! -e "$tmp/q.BMP"

# A script naming more than memory holds: one copy of a file however many
# lines name it, a clear refusal past the image block, and under a memory
# limit the reason instead of an abort.
mkdir "$tmp/big"
cp "$stem".* "$stem"[0-9]* "$mat" "$tmp/big/"
big=$tmp/big/$(basename "$stem")
/usr/bin/python3 -c 'import struct,sys; open(sys.argv[1],"wb").write(struct.pack("<ii",200,200)+bytes(16*201*201))' "$tmp/big/BIG.MAP"
{ head -n 2 "$stem.ORX"; for i in $(seq 1 100); do printf 'BIG.MAP\r\n'; done; } > "$big.ORX"
check "100 lines naming one MAP share its copy" test "$(ORX_BLOCK_BYTES=16000000 status_of "$ORXSIM" dress "$big.MDL" --material "$mat" -o "$tmp/big.BMP")" = 0
{ head -n 2 "$stem.ORX"; for i in $(seq 1 400); do ln "$tmp/big/BIG.MAP" "$tmp/big/B$i.MAP"; printf 'B%d.MAP\r\n' "$i"; done; } > "$big.ORX"
check "files beyond the image block are refused" test "$(ORX_BLOCK_BYTES=16000000 status_of "$ORXSIM" dress "$big.MDL" --material "$mat" -o "$tmp/big.BMP")" = 1
check "with the reason, once" test "$(cat "$tmp/err.txt")" = "The files $big.ORX names need more memory than the image block holds."
# (A sanitizer's runtime does not start under a limit on address space.)
if (ulimit -v 450000; "$ORXSIM" --help >/dev/null 2>&1); then
  check "memory running out ends in a message and status 1" \
    test "$(ulimit -v 450000; ORX_BLOCK_BYTES=300000000 status_of "$ORXSIM" dress "$big.MDL" --material "$mat" -o "$tmp/big.BMP")" = 1
  check "saying so" grep -q "RAM too small" "$tmp/err.txt"
fi

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "dress: all checks passed"
