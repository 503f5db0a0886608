#!/usr/bin/env bash
# The online library's listing over FTP, with every size and thumbnail, by
# `orxsim library list` against a server on 127.0.0.1:
#   - 100 models and 100 materials (320x240, 160x160): goal 2 s;
#   - 5,000 models and 5,000 materials (80x60, 64x64): goal 5 s and
#     250 MB of memory (the largest resident size of the run).
#
#   bench/ftp-listing.sh [ORXSIM]      (default: $ORXSIM, else build/release/src/cli/orxsim)
#
# Starts its own server (python3-pyftpdlib) on a port the system picks,
# times RUNS listings of each library (default 5, LARGE_RUNS for the large
# one, default 3) after one warm-up, prints each time, the medians and the
# best, and exits 1 when a median misses its goal or a list comes back
# incomplete.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
orxsim="${1:-${ORXSIM:-$here/../build/release/src/cli/orxsim}}"
runs="${RUNS:-5}"
large_runs="${LARGE_RUNS:-3}"
[ -x "$orxsim" ] || { echo "ftp-listing: no orxsim at $orxsim (build it, or pass its path)" >&2; exit 1; }

work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 "$here/makeLibrary.py" "$work/root" 100 100
/usr/bin/python3 "$here/makeLibrary.py" "$work/root/large" 5000 5000 80x60 64x64
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 0 -d "$work/root" -u 47302615 -P 58190374 >"$work/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port="$(grep -o 'starting FTP server on 127.0.0.1:[0-9]*' "$work/server.log" | head -1 | cut -d: -f2 || true)"
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "ftp-listing: the FTP server did not start" >&2; cat "$work/server.log" >&2; exit 1; }

missed=0
# measure WHAT URL MODELS MATERIALS RUNS GOAL_MS GOAL_MB
measure() {
  local what=$1 url=$2 models=$3 materials=$4 n=$5 goal_ms=$6 goal_mb=$7
  list() { /usr/bin/time -f %M -o "$work/rss.txt" "$orxsim" library list --library "$url" >"$work/list.txt"; }
  list  # warm-up: the server's first listing fills its caches
  if [ "$(grep -c ' [1-9][0-9]*x[1-9][0-9]*$' "$work/list.txt")" -ne $((models + materials)) ] ||
     ! grep -qx "models: $models" "$work/list.txt" || ! grep -qx "materials: $materials" "$work/list.txt"; then
    echo "ftp-listing: the lists of $what are incomplete" >&2
    head -5 "$work/list.txt" >&2
    exit 1
  fi
  local times=() peak=0 i start end ms rss
  for i in $(seq "$n"); do
    start=$(date +%s%N)
    list
    end=$(date +%s%N)
    ms=$(( (end - start) / 1000000 ))
    rss=$(( $(cat "$work/rss.txt") / 1024 ))
    (( rss > peak )) && peak=$rss
    times+=("$ms")
    echo "$what, run $i: $ms ms, $rss MB"
  done
  local sorted median best
  sorted=($(printf '%s\n' "${times[@]}" | sort -n))
  median=${sorted[$(( ${#sorted[@]} / 2 ))]}
  best=${sorted[0]}
  echo "ftp-listing: $what over FTP on 127.0.0.1: median $median ms, best $best ms, at most $peak MB over $n runs (goals $goal_ms ms, $goal_mb MB)"
  if (( median > goal_ms || peak > goal_mb )); then missed=1; fi
}

measure "100 models + 100 materials" "ftp://127.0.0.1:$port" 100 100 "$runs" 2000 250
measure "5,000 models + 5,000 materials" "ftp://127.0.0.1:$port/large" 5000 5000 "$large_runs" 5000 250
exit "$missed"
