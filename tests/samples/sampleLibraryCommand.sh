#!/usr/bin/env bash
# orxsim sample-library DIR, as the build and a user run it.
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

check "no folder is a usage error" test "$(status_of "$ORXSIM" sample-library)" = 2
check "two folders are a usage error" test "$(status_of "$ORXSIM" sample-library "$tmp/a" "$tmp/b")" = 2
check "a usage error writes nothing" test ! -e "$tmp/a"

check "a missing folder is made, with its parents" test "$(status_of "$ORXSIM" sample-library "$tmp/x/y/lib")" = 0
check "models are written" test -s "$tmp/x/y/lib/DRESS.MDL"
check "materials are written" test -s "$tmp/x/y/lib/CHECK.CLO"
check "every model has its ORX file" bash -c "for m in '$tmp'/x/y/lib/*.MDL; do test -s \"\${m%.MDL}.ORX\" || exit 1; done"
"$ORXSIM" sample-library "$tmp/x/y/lib" >/dev/null 2>&1
check "running again over the library exits 0" test "$(status_of "$ORXSIM" sample-library "$tmp/x/y/lib")" = 0

: > "$tmp/plain"
check "a file where the folder should be fails" test "$(status_of "$ORXSIM" sample-library "$tmp/plain")" = 1
check "and says which folder" grep -q "plain" "$tmp/err.txt"

if [ "$failures" -ne 0 ]; then echo "$failures failed"; exit 1; fi
