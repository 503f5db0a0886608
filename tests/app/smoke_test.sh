#!/usr/bin/env bash
# One real window: orxweb under Xvfb opens a sample model from the command
# line, and a screenshot of the screen must show the dressed picture (not
# a blank screen). Skipped (77) where xvfb-run or import is missing.
set -euo pipefail
: "${ORXWEB:?ORXWEB names the program}" "${SAMPLE_LIBRARY:?SAMPLE_LIBRARY names the sample library}"

for tool in xvfb-run import convert; do
  if ! command -v "$tool" >/dev/null; then
    echo "smoke test skipped: $tool is missing"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo ENGLISH > "$work/ORX10.CFG"
mkdir -m 0700 "$work/runtime"

cat > "$work/run.sh" <<'INNER'
set -u
"$ORXWEB" "$SAMPLE_LIBRARY/DRESS.MDL" > "$WORK/orxweb.log" 2>&1 &
pid=$!
# Wait until the window has painted the model, at most 20 s.
for _ in $(seq 1 40); do
  sleep 0.5
  import -window root "$WORK/shot.png" 2>/dev/null || continue
  colours=$(convert "$WORK/shot.png" -format '%k' info:)
  [ "$colours" -gt 1000 ] && break
done
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER

cd "$work"
WORK="$work" ORX_LIBRARY_URL="$SAMPLE_LIBRARY" XDG_RUNTIME_DIR="$work/runtime" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/run.sh"

[ -f "$work/shot.png" ] || { echo "no screenshot taken"; cat "$work/orxweb.log"; exit 1; }
size=$(convert "$work/shot.png" -format '%wx%h' info:)
colours=$(convert "$work/shot.png" -format '%k' info:)
echo "screenshot $size with $colours colours"
[ "$size" = "1280x1024" ] || { echo "unexpected screen size $size"; exit 1; }
# A photograph has thousands of colours; an empty view and a menu bar a handful.
[ "$colours" -gt 1000 ] || { echo "the model was not shown"; cat "$work/orxweb.log"; exit 1; }
# The menu bar is at the top and the picture in the middle: the centre is not the black background.
centre=$(convert "$work/shot.png" -crop 1x1+640+500 -format '%[fx:int(255*(r+g+b)/3)]' info:)
[ "$centre" -gt 20 ] || { echo "the centre of the screen is dark ($centre)"; exit 1; }
if [ -n "${SMOKE_SHOT:-}" ]; then cp "$work/shot.png" "$SMOKE_SHOT"; fi
echo "smoke test passed"
