#!/usr/bin/env bash
# Makes docs/screenshot.png, the picture at the top of the README: the start
# of `make run` (scripts/run.sh) in English on a virtual X server, taken
# once the dressed model and the material strip are on screen. Run by hand
# when the look changes; installs Xvfb and ImageMagick when they are missing.
#
#   scripts/screenshot.sh [BUILD] [OUT]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "${1:-$root/build/release}" && pwd)
out=${2:-$root/docs/screenshot.png}
size=1280x800

missing=()
command -v xvfb-run >/dev/null || missing+=(xvfb xauth)
command -v import >/dev/null || missing+=(imagemagick)
command -v xdotool >/dev/null || missing+=(xdotool)
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
[ -x "$build/src/app/orxweb" ] || { echo "screenshot: build orxweb first (make build)" >&2; exit 1; }

work=$(mktemp -d)
mkdir -m 0700 "$work/runtime"
# The language kept by the program wins over the run folder's: set it
# aside so that the picture is in English, and put it back afterwards.
kept="$build/src/app/ORX10.CFG"
[ -e "$kept" ] && mv "$kept" "$work/kept.cfg"
restore() {
  [ -e "$work/kept.cfg" ] && mv "$work/kept.cfg" "$kept"
  rm -rf "$work"
}
trap restore EXIT

cat > "$work/shoot.sh" <<'INNER'
set -u
RUN_FOLDER="$WORK/run" LC_ALL=C.UTF-8 "$SCRIPTS/run.sh" "$BUILD" > "$WORK/orxweb.log" 2>&1 &
pid=$!
# The picture is dressed and the strip is open: a photograph's thousands
# of colours and a second window.
for _ in $(seq 1 60); do
  sleep 0.5
  import -window root "$WORK/shot.png" 2>/dev/null || continue
  colours=$(convert "$WORK/shot.png" -format '%k' info:)
  windows=$(xdotool search --onlyvisible --name 'Select Material' 2>/dev/null | wc -l)
  [ "$colours" -gt 1000 ] && [ "$windows" -gt 0 ] && break
done
sleep 1
import -window root "$WORK/shot.png"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
INNER

WORK="$work" SCRIPTS="$here" BUILD="$build" XDG_RUNTIME_DIR="$work/runtime" \
  xvfb-run -a -s "-screen 0 ${size}x24" bash "$work/shoot.sh"
[ -f "$work/shot.png" ] || { echo "screenshot: none taken" >&2; cat "$work/orxweb.log" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
convert "$work/shot.png" -strip "$out"
echo "screenshot: $out ($(convert "$out" -format '%wx%h, %k colours' info:))"
