#!/usr/bin/env bash
# orxsim batch on the sample library: shards, resuming, output names, exit codes.
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
# The same file names in two folders, and the same bytes in each.
same_folders() {
  [ "$(cd "$1" && ls | grep -v '^\.' | sort)" = "$(cd "$2" && ls | grep -v '^\.' | sort)" ] || return 1
  for f in "$1"/*; do cmp -s "$f" "$2/$(basename "$f")" || return 1; done
}

lib=$tmp/lib
if [ -n "${SAMPLE_LIBRARY:-}" ] && [ -d "$SAMPLE_LIBRARY" ]; then cp -r "$SAMPLE_LIBRARY" "$lib"; else "$ORXSIM" sample-library "$lib" >/dev/null; fi

# Names relative to the manifest's folder; two lines of DRESS in CHECK, so
# the second is named -2; two lines that cannot be dressed.
cat > "$lib/good.csv" <<'EOF'
# model,material[,layout[,contrast[,shading]]]
SOFA.MDL,CHECK.CLO
DRESS.MDL,STRIPE.CLO,horizontal,1.5,reflection+soft

DRESS.MDL, CHECK.CLO ,vertical
DRAPE.MDL,DENIM.CLO,,,soft
DRESS.MDL,CHECK.CLO,normal,0.5,reflection
SOFA.MDL,TARTAN.CLO,vertical,,reflection+sharp
EOF
{ cat "$lib/good.csv"; printf 'SOFA.MDL,NONE.CLO\r\nDRAPE.MDL,KNIT.CLO,diagonal\n'; } > "$lib/all.csv"

check "a batch with bad lines exits 3" test "$(status_of "$ORXSIM" batch "$lib/all.csv" -o "$tmp/all" --jobs 2)" = 3
check "the missing material's line is named" grep -q "all.csv line 9: .*NONE.CLO" "$tmp/err.txt"
check "the bad layout's line is named" grep -q "all.csv line 10: the layout is normal, horizontal or vertical, not diagonal" "$tmp/err.txt"
check "the summary counts them" grep -q "shard 0/1: 8 lines, 6 dressed, 0 already there, 2 failed" "$tmp/err.txt"
check "outputs are named MODEL-MATERIAL[-n]" test "$(cd "$tmp/all" && ls | tr '\n' ' ')" = \
  "DRAPE-DENIM.BMP DRESS-CHECK-2.BMP DRESS-CHECK.BMP DRESS-STRIPE.BMP SOFA-CHECK.BMP SOFA-TARTAN.BMP "

# Each output is what orxsim dress makes of its line, though one worker
# dressed DRESS three times over without loading it again.
"$ORXSIM" dress "$lib/DRESS.MDL" --material "$lib/STRIPE.CLO" --layout horizontal --contrast 1.5 --reflection --soft -o "$tmp/d1.BMP" 2>/dev/null
"$ORXSIM" dress "$lib/DRESS.MDL" --material "$lib/CHECK.CLO" --contrast 0.5 --reflection -o "$tmp/d2.BMP" 2>/dev/null
"$ORXSIM" dress "$lib/SOFA.MDL" --material "$lib/TARTAN.CLO" --layout vertical --reflection -o "$tmp/d3.BMP" 2>/dev/null
check "a line's output equals orxsim dress (1)" cmp -s "$tmp/d1.BMP" "$tmp/all/DRESS-STRIPE.BMP"
check "a line's output equals orxsim dress (2)" cmp -s "$tmp/d2.BMP" "$tmp/all/DRESS-CHECK-2.BMP"
check "a line's output equals orxsim dress (3)" cmp -s "$tmp/d3.BMP" "$tmp/all/SOFA-TARTAN.BMP"

# Two shards over one folder make the unsharded run's files, byte for byte.
s0=$(status_of "$ORXSIM" batch "$lib/all.csv" -o "$tmp/sharded" --shard 0/2 --jobs 1)
s1=$(status_of "$ORXSIM" batch "$lib/all.csv" -o "$tmp/sharded" --shard 1/2 --jobs 2)
check "shard 1/2 plays lines 1, 3, 5, 7 and fails the bad layout" test "$s1" = 3
check "shard 0/2 plays lines 0, 2, 4, 6 and fails the missing material" test "$s0" = 3
check "two shards equal one unsharded run" same_folders "$tmp/all" "$tmp/sharded"

# A batch killed in the middle resumes and ends with the same files.
cp "$lib/good.csv" "$lib/resume.csv"
"$ORXSIM" batch "$lib/resume.csv" -o "$tmp/resumed" --jobs 1 >/dev/null 2>&1 &
pid=$!
for _ in $(seq 1 600); do
  [ "$(ls "$tmp/resumed" 2>/dev/null | grep -c "\.BMP$")" -ge 2 ] && break
  sleep 0.05
done
kill -KILL "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
before=$(ls "$tmp/resumed" | grep -c "\.BMP$")
check "the killed batch had written some files, not all" test "$before" -ge 2 -a "$before" -lt 6
# What a kill leaves of a file being written, and another batch's file in the making.
echo partial > "$tmp/resumed/DRAPE-DENIM.BMP.orxtmp-AbC123"
echo other > "$tmp/resumed/ELSE-CHECK.BMP.orxtmp-XyZ789"
check "started again it exits 0" test "$(status_of "$ORXSIM" batch "$lib/resume.csv" -o "$tmp/resumed")" = 0
check "passing over what was there" grep -q "6 lines, $((6 - before)) dressed, $before already there, 0 failed" "$tmp/err.txt"
check "another batch's file in the making is left alone" test -e "$tmp/resumed/ELSE-CHECK.BMP.orxtmp-XyZ789"
rm "$tmp/resumed/ELSE-CHECK.BMP.orxtmp-XyZ789"
check "and ends with the same files, no leftovers of the killed one" same_folders "$tmp/all" "$tmp/resumed"
check "a third run dresses nothing" test "$(status_of "$ORXSIM" batch "$lib/resume.csv" -o "$tmp/resumed")" = 0
check "all six already there" grep -q "6 lines, 0 dressed, 6 already there" "$tmp/err.txt"

# RGB outputs come with their companions and hold the same pictures.
check "--format rgb exits 0" test "$(status_of "$ORXSIM" batch "$lib/good.csv" -o "$tmp/rgb" --format rgb --shard 0/3)" = 0
check "an RGB and its companion" test -s "$tmp/rgb/SOFA-CHECK.RGB" -a -s "$tmp/rgb/SOFA-CHECK.IPR"
"$ORXSIM" convert "$tmp/rgb/SOFA-CHECK.RGB" "$tmp/r.BMP"
check "holding the BMP's picture" cmp -s "$tmp/r.BMP" "$tmp/all/SOFA-CHECK.BMP"

# Refusals.
check "a manifest that cannot be read exits 1" test "$(status_of "$ORXSIM" batch "$tmp/none.csv" -o "$tmp/x")" = 1
check "saying so" grep -q "none.csv: the manifest can not be read" "$tmp/err.txt"
for bad in "--shard 2/2" "--shard 1" "--shard -1/2" "--jobs 0" "--jobs many" "--format png"; do
  # shellcheck disable=SC2086
  check "$bad is a usage error" test "$(status_of "$ORXSIM" batch "$lib/good.csv" -o "$tmp/x" $bad)" = 2
done
check "a missing -o is a usage error" test "$(status_of "$ORXSIM" batch "$lib/good.csv")" = 2
check "no output folder was made for them" test ! -e "$tmp/x"

if [ "$failures" -ne 0 ]; then echo "$failures check(s) failed"; exit 1; fi
echo "batch: all checks passed"
