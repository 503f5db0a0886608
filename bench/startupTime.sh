#!/usr/bin/env bash
# Start to first paint of orxweb with the sample library, under Xvfb.
# Goal: at most 1.5 s. Prints, for RUNS starts, the milliseconds from main()
# to the end of the view's first paint (reported by the program) and the
# wall time of the whole process (exec to exit right after that paint).
#
#   bench/startupTime.sh BUILD_DIR [RUNS]
set -euo pipefail
build=$(cd "${1:?usage: startupTime.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-10}
orxweb="$build/src/app/orxweb"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -m 0700 "$work/runtime"
echo ENGLISH > "$work/ORX10.CFG"

cat > "$work/runs.sh" <<INNER
for i in \$(seq 1 $runs); do
  start=\$(date +%s%N)
  line=\$("$orxweb" --first-paint-time 2>/dev/null)
  end=\$(date +%s%N)
  echo "\${line##* after } \$(( (end - start) / 1000000 ))"
done
INNER

cd "$work"
XDG_RUNTIME_DIR="$work/runtime" ORX_LIBRARY_URL="$build/sample-library" \
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$work/runs.sh" > "$work/times.txt"
if ! grep -q . "$work/times.txt" || grep -q '^ ' "$work/times.txt"; then
  echo "startupTime: orxweb did not report its first paint" >&2
  exit 1
fi
median() { sort -n | awk '{ v[NR] = $1 } END { printf "%d ms (min %d, max %d)", v[int((NR + 1) / 2)], v[1], v[NR] }'; }
echo "runs $runs: first paint median $(cut -d' ' -f1 "$work/times.txt" | median);" \
     "process wall time median $(cut -d' ' -f3 "$work/times.txt" | median)"
