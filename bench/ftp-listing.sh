#!/usr/bin/env bash
# The online library's listing over FTP: 100 models and 100 materials on a
# server on 127.0.0.1, listed with their sizes and thumbnails by
# `orxsim library list`. Goal: at most 2 seconds.
#
#   bench/ftp-listing.sh [ORXSIM]      (default: $ORXSIM, else build/release/src/cli/orxsim)
#
# Starts its own server (python3-pyftpdlib) on a port the system picks,
# times RUNS listings (default 5) after one warm-up, prints each time, the
# median and the best, and exits 1 when the median misses the goal or a list
# comes back incomplete.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
orxsim="${1:-${ORXSIM:-$here/../build/release/src/cli/orxsim}}"
runs="${RUNS:-5}"
goal_ms=2000
[ -x "$orxsim" ] || { echo "ftp-listing: no orxsim at $orxsim (build it, or pass its path)" >&2; exit 1; }

work="$(mktemp -d)"
server=""
cleanup() {
  [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

/usr/bin/python3 "$here/makeLibrary.py" "$work/root" 100 100
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p 0 -d "$work/root" -u 47302615 -P 58190374 >"$work/server.log" 2>&1 &
server=$!
port=""
for _ in $(seq 100); do
  port="$(grep -o 'starting FTP server on 127.0.0.1:[0-9]*' "$work/server.log" | head -1 | cut -d: -f2 || true)"
  [ -n "$port" ] && break
  sleep 0.1
done
[ -n "$port" ] || { echo "ftp-listing: the FTP server did not start" >&2; cat "$work/server.log" >&2; exit 1; }
url="ftp://127.0.0.1:$port"

list() { "$orxsim" library list --library "$url" >"$work/list.txt"; }

list  # warm-up: the server's first listing fills its caches
if [ "$(grep -c ' [1-9][0-9]*x[1-9][0-9]*$' "$work/list.txt")" -ne 200 ] ||
   ! grep -qx 'models: 100' "$work/list.txt" || ! grep -qx 'materials: 100' "$work/list.txt"; then
  echo "ftp-listing: the lists are incomplete" >&2
  head -5 "$work/list.txt" >&2
  exit 1
fi

times=()
for i in $(seq "$runs"); do
  start=$(date +%s%N)
  list
  end=$(date +%s%N)
  ms=$(( (end - start) / 1000000 ))
  times+=("$ms")
  echo "run $i: $ms ms"
done
sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( ${#sorted[@]} / 2 ))]}
best=${sorted[0]}
echo "ftp-listing: 100 models + 100 materials over FTP on 127.0.0.1: median $median ms, best $best ms over $runs runs (goal $goal_ms ms)"
[ "$median" -le "$goal_ms" ]
